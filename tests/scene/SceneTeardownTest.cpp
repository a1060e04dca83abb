#include "scene/SceneTestSupport.h"

#include "core/FatalError.h"
#include "core/MainLoop.h"
#include "core/MessageSystem.h"
#include "scene/SceneSystem.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

class SceneTeardownTest : public test::SceneFixture
{
};

// Run in a child process so that exit() runs the static destructors afterwards, as it
// does for the game: they must find nothing left to end and must not touch the log.
TEST_F(SceneTeardownTest, AFatalErrorDuringAFrameEndsTheScenesKeepsTheLogAndGivesStatusOne)
{
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0)
    {
        // The hub level holds a group and sub-scenes.
        SceneSystem::Instance().ChangeScene("hub", false);
        Engine::LoopOptions options;
        options.frames = 5;
        options.fixedDt = 0.125f;
        options.endOfFrame = [](long long frame)
        {
            if (frame == 1)
                throw FatalError("the second frame cannot go on");
        };
        std::exit(Engine::RunMainLoop({&SceneSystem::Instance(), &MessageSystem::Instance()}, options));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    const auto lines = test::TraceLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Systems: SceneSystem, MessageSystem");
    EXPECT_TRUE(
        test::InOrder(lines, {"Scene hub Init", "Fatal: the second frame cannot go on", "deleting scenes",
                              "Scene 'hud_icons' Exit", "Scene 'hub' Exit", "Scene 'hub' Unload", "Shut down"}));
    EXPECT_EQ(lines.back(), "Shut down");
}
