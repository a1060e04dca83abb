#include "scene/SceneTestSupport.h"

#include "core/FatalError.h"
#include "core/MainLoop.h"
#include "core/MessageSystem.h"
#include "data/Component.h"
#include "data/Entity.h"
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
// A level component that asks for another scene once it has run for a while, so the
// fixture's data drives the switch through the real frame loop.
class TestSceneSwitcher : public ComponentBase<TestSceneSwitcher>
{
public:
    TestSceneSwitcher() : ComponentBase<TestSceneSwitcher>(ctype::Behavior) {}

    void Read(const json& j) override { Descriptor().Read(*this, j); }
    void Write(json& j) const override { Descriptor().Write(*this, j); }
    void Update(float dt) override
    {
        _elapsed += dt;
        if (_fired || _elapsed < _after)
            return;
        _fired = true;
        SceneSystem::Instance().ChangeScene(_to, _transition);
    }

    static const FieldDescriptor<TestSceneSwitcher>& Descriptor()
    {
        static const FieldDescriptor<TestSceneSwitcher> d("TestSceneSwitcher",
                                                          {
                                                              GLOAMER_FIELD(TestSceneSwitcher, _after),
                                                              GLOAMER_FIELD(TestSceneSwitcher, _to),
                                                              GLOAMER_FIELD(TestSceneSwitcher, _transition),
                                                          });
        return d;
    }

private:
    float _after = 0.0f;
    std::string _to;
    bool _transition = false;
    float _elapsed = 0.0f;
    bool _fired = false;
};

const bool s_switcherRegistered = []
{
    ComponentRegistry::Register<TestSceneSwitcher>(ctype::Behavior, "TestSceneSwitcher");
    return true;
}();

// Sits after the scene system in the loop and notes what each frame left behind.
class FrameProbe : public System
{
public:
    struct Frame
    {
        float cover = 0.0f;
        std::string level;
        std::size_t groupMembers = 0;
    };

    FrameProbe() : System("FrameProbe") {}

    void Update(float) override
    {
        SceneSystem& scenes = SceneSystem::Instance();
        Frame f;
        f.cover = scenes.GetTransitionPanel()->GetTransform().GetTranslation().y;
        const Scene* level = scenes.GetScenes().back().get();
        f.level = level->GetName();
        for (const char* name : {"posts", "rats"})
            if (const Group* group = GroupSystem::Instance().Find(name, level))
                f.groupMembers += group->_members.size();
        _frames.push_back(f);
    }

    std::vector<Frame> _frames;
};

// Stops the game in the middle of its second frame, as a fatal data error would.
class FailingSystem : public System
{
public:
    FailingSystem() : System("FailingSystem") {}

    void Update(float) override
    {
        if (++_frames == 2)
            throw FatalError("the second frame cannot go on");
    }

private:
    int _frames = 0;
};

int RunGame(const std::string& arguments)
{
    const std::string command = std::string(GLOAMER_GAME_BINARY) + " " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
} // namespace

class SceneEndToEndTest : public test::SceneFixture
{
};

TEST_F(SceneEndToEndTest, ALevelLoadsWithGroupsAndSubScenesAndSwitchesBehindTheCover)
{
    (void)s_switcherRegistered;
    SceneSystem::Instance().ChangeScene("crossing", false);
    FrameProbe probe;
    Engine::LoopOptions options;
    options.frames = 14;
    options.fixedDt = 0.125f;
    ASSERT_EQ(Engine::RunMainLoop({&SceneSystem::Instance(), &probe, &MessageSystem::Instance()}, options), 0);

    // The first frame runs with dt 0, so the switcher fires in frame 3 (0.25 s) and the
    // level changes behind the cover in frame 8; groups follow their level.
    const auto& frames = probe._frames;
    ASSERT_EQ(frames.size(), 14u);
    EXPECT_FLOAT_EQ(frames[2].cover, -1.1f * 1080.0f);
    EXPECT_EQ(frames[6].level, "crossing");
    EXPECT_EQ(frames[6].groupMembers, 2u);
    EXPECT_FLOAT_EQ(frames[6].cover, 0.0f);
    EXPECT_EQ(frames[7].level, "cellar");
    EXPECT_EQ(frames[7].groupMembers, 1u);

    EXPECT_TRUE(test::InOrder(test::TraceLines(), {
                                                      "Systems: SceneSystem, FrameProbe, MessageSystem",
                                                      "Scene hud_icons Init",
                                                      "Scene hud Init",
                                                      "Scene crossing Init",
                                                      "Scene 'hud_icons' Exit",
                                                      "Scene 'hud' Exit",
                                                      "Scene 'crossing' Exit",
                                                      "Scene 'hud_icons' Unload",
                                                      "Scene 'hud' Unload",
                                                      "Scene 'crossing' Unload",
                                                      "Scene hud_icons Init",
                                                      "Scene hud Init",
                                                      "Scene cellar Init",
                                                      "deleting scenes",
                                                      "Scene 'cellar' Exit",
                                                      "Scene 'cellar' Unload",
                                                      "scene deleted",
                                                      "Shut down",
                                                  }));
}

TEST_F(SceneEndToEndTest, AFatalErrorDuringAFrameEndsTheScenesKeepsTheLogAndGivesStatusOne)
{
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0)
    {
        // A level with groups and sub-scenes, ended by a fatal error; exit() then runs
        // the static destructors, which must find nothing left to do.
        SceneSystem::Instance().ChangeScene("hub", false);
        FailingSystem failing;
        Engine::LoopOptions options;
        options.frames = 5;
        options.fixedDt = 0.125f;
        int status = 3;
        try
        {
            status = Engine::RunMainLoop({&SceneSystem::Instance(), &failing, &MessageSystem::Instance()}, options);
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
    EXPECT_EQ(lines.front(), "Systems: SceneSystem, FailingSystem, MessageSystem");
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
