#include "TestSupport.h"

#include "Game.h"
#include "core/WindowSystem.h"

// The fixture wires the systems as the game does before each test.
using GameTest = test::ScratchTest;

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
