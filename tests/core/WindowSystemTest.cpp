#include "TestSupport.h"

#include "core/WindowSystem.h"

#include <vector>

class WindowSystemTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        test::ScratchTest::SetUp();
        // The window alone: none of the game's wiring.
        window().Listeners() = {};
    }

    static WindowSystem& window() { return WindowSystem::Instance(); }
};

TEST_F(WindowSystemTest, AHeadlessWindowTellsEveryListenerEachFrameOnFocusAndOnceAtExit)
{
    EXPECT_EQ(window().GetWindowSize(), glm::ivec2(0, 0)) << "no window yet";
    EXPECT_EQ(window().ScreenToCentred({10, 20}), glm::vec2(10.0f, -20.0f));
    std::vector<long long> polled;
    int closings = 0;
    window().Listeners().afterPoll.emplace_back([&](long long frame) { polled.push_back(frame); });
    window().Listeners().closing.emplace_back([&] { ++closings; });
    WindowOptions options;
    options.headless = true;
    window().Configure(options);

    ASSERT_TRUE(window().Init());
    EXPECT_EQ(window().GetWindowSize(), glm::ivec2(1920, 1080));
    EXPECT_EQ(window().ScreenToCentred({0, 0}), glm::vec2(-960.0f, 540.0f));
    EXPECT_EQ(window().ScreenToCentred({1920, 1080}), glm::vec2(960.0f, -540.0f));

    window().Update(0.0f);
    window().Update(0.0f);
    EXPECT_EQ(polled, (std::vector<long long>{0, 1}));
    EXPECT_EQ(window().GetFrame(), 2);

    window().Exit();
    EXPECT_EQ(closings, 1);

    std::vector<bool> first;
    std::vector<bool> second;
    window().Listeners().focusChanged.emplace_back([&](bool focused) { first.push_back(focused); });
    window().Listeners().focusChanged.emplace_back([&](bool focused) { second.push_back(focused); });
    WindowSystem::SetFocused(false);
    WindowSystem::SetFocused(true);
    EXPECT_EQ(first, (std::vector<bool>{false, true}));
    EXPECT_EQ(second, first);
}
