#include "Probes.h"
#include "scene/SceneTestSupport.h"

#include "core/FatalError.h"
#include "core/MainLoop.h"
#include "core/MessageSystem.h"
#include "data/GroupSystem.h"
#include "data/TypeRegistry.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace
{
// A level component that asks for the scene named by its label once it has run for
// "speed" seconds, so the fixture's data drives the switch through the real frame loop.
class TestSceneSwitcher : public ComponentBase<TestSceneSwitcher, ProbeBehavior>
{
public:
    void Update(float dt) override
    {
        _elapsed += dt;
        if (!_fired && _elapsed >= _speed)
            SceneSystem::Instance().ChangeScene(_label, _on);
        _fired = _elapsed >= _speed;
    }

private:
    float _elapsed = 0.0f;
    bool _fired = false;
};

const bool s_switcherRegistered = []
{
    ComponentRegistry::Register<TestSceneSwitcher>(ctype::Behavior, "TestSceneSwitcher");
    return true;
}();

int RunGame(const std::string& arguments)
{
    const std::string command = std::string(GLOAMER_GAME_BINARY) + " " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
} // namespace

using SceneEndToEndTest = test::SceneFixture;

TEST_F(SceneEndToEndTest, ALevelLoadsWithGroupsAndSubScenesAndSwitchesBehindTheCover)
{
    (void)s_switcherRegistered;
    SceneSystem::Instance().ChangeScene("crossing", false);
    struct Frame
    {
        float cover = 0.0f;
        std::string level;
        std::size_t groupMembers = 0;
    };
    std::vector<Frame> frames;
    Engine::LoopOptions options;
    options.frames = 14;
    options.fixedDt = 0.125f;
    options.endOfFrame = [&frames](long long)
    {
        const Scene* level = SceneSystem::Instance().GetScenes().back().get();
        Frame f{SceneSystem::Instance().GetTransitionPanel()->GetTransform().GetTranslation().y, level->GetName()};
        for (const char* name : {"posts", "rats"})
            if (const Group* group = GroupSystem::Instance().Find(name, level))
                f.groupMembers += group->_members.size();
        frames.push_back(f);
    };
    ASSERT_EQ(Engine::RunMainLoop({&SceneSystem::Instance(), &MessageSystem::Instance()}, options), 0);

    // The first frame runs with dt 0, so the switcher fires in frame 3 (0.25 s) and the
    // level changes behind the cover in frame 8; groups follow their level.
    ASSERT_EQ(frames.size(), 14u);
    EXPECT_FLOAT_EQ(frames[2].cover, -1.1f * 1080.0f);
    EXPECT_EQ(frames[6].level, "crossing");
    EXPECT_EQ(frames[6].groupMembers, 2u);
    EXPECT_FLOAT_EQ(frames[6].cover, 0.0f);
    EXPECT_EQ(frames[7].level, "cellar");
    EXPECT_EQ(frames[7].groupMembers, 1u);

    EXPECT_TRUE(test::InOrder(
        test::TraceLines(),
        {"Systems: SceneSystem, MessageSystem", "Scene hud_icons Init", "Scene hud Init", "Scene crossing Init",
         "Scene 'hud_icons' Exit", "Scene 'hud' Exit", "Scene 'crossing' Exit", "Scene 'hud_icons' Unload",
         "Scene 'hud' Unload", "Scene 'crossing' Unload", "Scene hud_icons Init", "Scene hud Init", "Scene cellar Init",
         "deleting scenes", "Scene 'cellar' Exit", "Scene 'cellar' Unload", "scene deleted", "Shut down"}));
}

TEST_F(SceneEndToEndTest, AFatalErrorDuringAFrameEndsTheScenesKeepsTheLogAndGivesStatusOne)
{
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0)
    {
        // A level with groups and sub-scenes, ended by a fatal error at the end of its second
        // frame; exit() then runs the static destructors, which must find nothing left to do.
        SceneSystem::Instance().ChangeScene("hub", false);
        Engine::LoopOptions options;
        options.frames = 5;
        options.fixedDt = 0.125f;
        options.endOfFrame = [](long long frame)
        {
            if (frame == 1)
                throw FatalError("the second frame cannot go on");
        };
        int status = 3;
        try
        {
            status = Engine::RunMainLoop({&SceneSystem::Instance(), &MessageSystem::Instance()}, options);
        }
        catch (...)
        {
        }
        std::exit(status);
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

TEST_F(SceneEndToEndTest, TheGameStartsTheLevelItIsGivenAndRefusesAMissingOne)
{
    // The game does not start without its sound table.
    std::filesystem::create_directories(_scratch / "Data/Sound");
    std::filesystem::copy_file(std::filesystem::path(GLOAMER_CONTENT) / "Data/Sound/sounds.json",
                               _scratch / "Data/Sound/sounds.json");
    const std::string data = "--data " + _scratch.string() + " --headless --fixed-dt 0.125 --frames 3";
    ASSERT_EQ(RunGame(data + " --scene hub"), 0);
    EXPECT_TRUE(test::InOrder(
        test::TraceLines(),
        {"Systems: WindowSystem, ShaderSystem, SoundSystem, SceneSystem, OptionSystem, InputSystem, MessageSystem",
         "Scene hud_icons Init", "Scene hud Init", "Scene pause_menu Init", "Scene hub Init", "deleting scenes",
         "Shut down"}));

    EXPECT_EQ(RunGame(data + " --scene nowhere"), 1);
    EXPECT_TRUE(test::InOrder(test::TraceLines(), {"could not start first scene: Data/Level/nowhere.json"}));
}
