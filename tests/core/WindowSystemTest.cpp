#include "TestSupport.h"

#include "core/WindowSystem.h"
#include "input/InputSystem.h"

class WindowSystemTest : public test::ScratchTest
{
protected:
    void TearDown() override
    {
        WindowSystem::Instance().Configure({});
        test::ScratchTest::TearDown();
    }
};

TEST_F(WindowSystemTest, WithoutAWindowTheSizeIsZero)
{
    EXPECT_EQ(WindowSystem::Instance().GetWindowSize(), glm::ivec2(0, 0));
    EXPECT_EQ(WindowSystem::Instance().ScreenToCentred({10, 20}), glm::vec2(10.0f, -20.0f));
}

TEST_F(WindowSystemTest, HeadlessRunsOnAVirtualScreenAndSavesVsyncAtExit)
{
    std::filesystem::create_directories("Data/Data");
    test::WriteFile("input.json", R"([{"frame": 1, "press": [300]}])");
    WindowOptions options;
    options.headless = true;
    options.inputFile = "input.json";
    WindowSystem& window = WindowSystem::Instance();
    window.Configure(options);
    InputSystem::Instance().LoadBindings(nlohmann::json::parse(R"({"keys": {"fullscreen": [300]}})"), "x");

    ASSERT_TRUE(window.Init());
    EXPECT_EQ(window.GetWindowSize(), glm::ivec2(1920, 1080));
    EXPECT_EQ(window.ScreenToCentred({0, 0}), glm::vec2(-960.0f, 540.0f));
    EXPECT_EQ(window.ScreenToCentred({1920, 1080}), glm::vec2(960.0f, -540.0f));

    window.Update(0.0f);
    EXPECT_FALSE(InputSystem::Instance().IsDown("fullscreen"));
    window.Update(0.0f);
    EXPECT_TRUE(InputSystem::Instance().IsTriggered("fullscreen")) << "scripted input plays at its frame";
    EXPECT_FALSE(window.IsFullscreen()) << "a virtual screen has no mode to switch";
    EXPECT_EQ(window.GetFrame(), 2);

    window.Exit();
    EXPECT_EQ(test::ReadFile("Data/Data/dat_vsync.json"), "{\n  \"vsync\": 1\n}\n");
}

TEST_F(WindowSystemTest, AnUnwritableVsyncFileIsIgnored)
{
    WindowOptions options;
    options.headless = true;
    WindowSystem::Instance().Configure(options);
    ASSERT_TRUE(WindowSystem::Instance().Init());
    WindowSystem::Instance().Exit();
    EXPECT_FALSE(std::filesystem::exists("Data/Data/dat_vsync.json"));
}
