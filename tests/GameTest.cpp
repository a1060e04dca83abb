#include "TestSupport.h"

#include "Game.h"
#include "core/WindowSystem.h"
#include "input/InputSystem.h"

#include <nlohmann/json.hpp>

// The fixture wires the systems as the game does before each test.
class GameTest : public test::ScratchTest
{
protected:
    static void StartHeadless()
    {
        WindowOptions options;
        options.headless = true;
        WindowSystem::Instance().Configure(options);
        ASSERT_TRUE(WindowSystem::Instance().Init());
    }
};

TEST_F(GameTest, TheWindowPlaysTheInputScriptAtItsFrameAndSavesVsyncAtExit)
{
    std::filesystem::create_directories("Data/Data");
    test::WriteFile("input.json", R"([{"frame": 1, "press": [300]}])");
    InputSystem& input = InputSystem::Instance();
    input.SetScriptFile("input.json");
    ASSERT_TRUE(input.Init());
    input.LoadBindings(nlohmann::json::parse(R"({"keys": {"fullscreen": [300]}})"), "x");
    StartHeadless();
    WindowSystem& window = WindowSystem::Instance();

    window.Update(0.0f);
    EXPECT_FALSE(input.IsDown("fullscreen"));
    window.Update(0.0f);
    EXPECT_TRUE(input.IsTriggered("fullscreen")) << "scripted input plays at its frame";
    EXPECT_FALSE(window.IsFullscreen()) << "a virtual screen has no mode to switch";

    window.Exit();
    EXPECT_EQ(test::ReadFile("Data/Data/dat_vsync.json"), "{\n  \"vsync\": 1\n}\n");
}

TEST_F(GameTest, WiringAgainLeavesOneListenerPerEvent)
{
    // A second fullscreen listener would undo the first one's toggle.
    const WindowListeners& listeners = WindowSystem::Instance().Listeners();
    const std::size_t polls = listeners.afterPoll.size();
    const std::size_t focus = listeners.focusChanged.size();
    ASSERT_GT(polls, 0u);
    Game::Wire();
    EXPECT_EQ(listeners.afterPoll.size(), polls);
    EXPECT_EQ(listeners.focusChanged.size(), focus);
}
