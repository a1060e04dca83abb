#include "Probes.h"
#include "scene/SceneTestSupport.h"

#include "data/Archetypes.h"
#include "data/EntityList.h"
#include "render/RenderState.h"
#include "scene/SandboxScenes.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"
#include "scene/SceneTable.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>

namespace
{
constexpr float kDt = 0.125f;
constexpr float kParkedY = -1.1f * 1080.0f;

SceneSystem& Scenes()
{
    return SceneSystem::Instance();
}

void RemoveOwnScene(ProbeBehavior& self)
{
    self.GetOwner()->GetScene()->MarkForRemoval();
}

void AskForCellar(ProbeBehavior&)
{
    SceneSystem::Instance().ChangeScene("cellar", false);
}

// What an Exit could see of the other scenes.
std::string g_seenAtExit;

void LookAroundAtExit(ProbeBehavior& self)
{
    for (const char* name : {"hud_icons", "hud", "pause_menu", "hub"})
    {
        const Scene* scene = SceneSystem::Instance().FindScene(name);
        g_seenAtExit += scene ? scene->GetName() + " " : std::string("- ");
    }
    const Scene* current = SceneSystem::Instance().GetCurrentScene();
    g_seenAtExit += current ? current->GetName() : "-";
    g_seenAtExit += self.GetOwner()->GetScene()->FindEntity(self.GetOwner()->GetName()) ? " found" : " lost";
}

// One frame's view of a transition.
struct Frame
{
    float cover = 0.0f;
    float loading = 0.0f;
    std::string level;
};

std::vector<Frame> RunFrames(int count)
{
    std::vector<Frame> frames;
    for (int i = 0; i < count; ++i)
    {
        Scenes().Update(kDt);
        Scenes().Render();
        const auto& scenes = Scenes().GetScenes();
        frames.push_back({Scenes().GetTransitionPanel()->GetTransform().GetTranslation().y,
                          Scenes().GetLoadingPanel()->GetTransform().GetTranslation().y,
                          scenes.empty() ? std::string() : scenes.back()->GetName()});
    }
    return frames;
}
using test::SceneNames;
using ::testing::HasSubstr;
} // namespace

class SceneSystemTest : public test::SceneFixture
{
protected:
    void StartWith(const std::string& first)
    {
        Scenes().ChangeScene(first, false);
        ASSERT_TRUE(Scenes().Init());
    }

    // A probe behaviour entity added to a running scene, with hooks for its update and exit.
    static void AddProbe(const std::string& scene, const std::string& name, void (*onUpdate)(ProbeBehavior&),
                         void (*onExit)(ProbeBehavior&) = nullptr)
    {
        auto e = std::make_unique<Entity>(name);
        auto* probe = static_cast<ProbeBehavior*>(e->AddComponent(std::make_unique<ProbeBehavior>()));
        probe->_onUpdate = onUpdate;
        probe->_onExit = onExit;
        Scenes().FindScene(scene)->AddEntity(std::move(e));
    }
};

TEST_F(SceneSystemTest, InitBuildsTheFirstSceneAfterItsSubScenesAndParksThePanels)
{
    StartWith("hub");
    EXPECT_EQ(SceneNames(), (std::vector<std::string>{"hud_icons", "hud", "pause_menu", "hub"}));
    EXPECT_EQ(Scenes().GetCurrentScene(), Scenes().GetScenes().front().get());
    EXPECT_EQ(RenderState::GetCamera(), Scenes().GetCurrentScene()->GetCamera())
        << "sprites and the cursor see the world through the current scene's camera";
    EXPECT_TRUE(Scenes().GetRequestedScene().empty()) << "the first update must not build it again";
    EXPECT_EQ(Scenes().FindScene("hu"), nullptr) << "whole names only";
    EXPECT_EQ(Scenes().FindScene("hud")->GetName(), "hud");

    ASSERT_NE(Scenes().GetTransitionPanel(), nullptr);
    ASSERT_NE(Scenes().GetLoadingPanel(), nullptr);
    EXPECT_EQ(Scenes().GetTransitionPanel()->GetTransform().GetTranslation(), glm::vec2(0.0f, kParkedY));
    EXPECT_EQ(Scenes().GetLoadingPanel()->GetTransform().GetTranslation(), glm::vec2(0.0f, kParkedY));

    // The panels live in the screen camera's 1920-wide space: on a 1280 x 720 screen they
    // keep that size and stay out of sight; on 16:10 they grow taller and park lower.
    Scenes().FitPanels(1280, 720);
    EXPECT_EQ(Scenes().GetTransitionPanel()->GetTransform().GetScale(), glm::vec2(1920.0f, 1080.0f));
    EXPECT_EQ(Scenes().GetLoadingPanel()->GetTransform().GetTranslation(), glm::vec2(0.0f, kParkedY));
    Scenes().FitPanels(1920, 1200);
    EXPECT_EQ(Scenes().GetTransitionPanel()->GetTransform().GetScale(), glm::vec2(1920.0f, 1200.0f));
    EXPECT_EQ(Scenes().GetTransitionPanel()->GetTransform().GetTranslation(), glm::vec2(0.0f, -1.1f * 1200.0f));
    Scenes().FitPanels(1920, 1080);

    Scenes().Update(kDt);
    EXPECT_EQ(SceneNames().back(), "hub");
    const auto lines = test::TraceLines();
    EXPECT_TRUE(
        test::InOrder(lines, {"Scene hud_icons Init", "Scene hud Init", "Scene pause_menu Init", "Scene hub Init"}));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Scene hub Init"), 1);
}

TEST_F(SceneSystemTest, OnlyAFramesLastRequestIsBuiltAndItsFirstSubSceneBecomesCurrent)
{
    StartWith("hub");
    Scenes().ChangeScene("cellar", false);
    Scenes().ChangeScene("level2", false);
    Scenes().Update(kDt);
    EXPECT_EQ(SceneNames(), (std::vector<std::string>{"level2"}));

    Scenes().ChangeScene("cellar", false);
    Scenes().Update(kDt);
    EXPECT_EQ(SceneNames(), (std::vector<std::string>{"hud_icons", "hud", "cellar"}));
    ASSERT_NE(Scenes().GetCurrentScene(), nullptr);
    EXPECT_EQ(Scenes().GetCurrentScene()->GetName(), "hud_icons");
    EXPECT_NE(Scenes().FindScene("cellar")->FindEntity("rat"), nullptr);

    // A later request for a level that is missing or not a level keeps the running scenes,
    // so a player is never left on an empty screen.
    for (const char* bad : {"nowhere", "malformed", "not_object"})
    {
        Scenes().ChangeScene(bad, false);
        Scenes().Update(kDt);
        EXPECT_EQ(SceneNames(), (std::vector<std::string>{"hud_icons", "hud", "cellar"})) << bad;
        EXPECT_TRUE(Scenes().GetRequestedScene().empty());
    }
    EXPECT_EQ(RenderState::GetCamera(), Scenes().GetCurrentScene()->GetCamera());
    const std::string trace = test::ReadTrace();
    EXPECT_THAT(trace,
                HasSubstr("Failed to load scene nowhere (Data/Level/nowhere.json not found); staying in cellar"));
    EXPECT_THAT(trace, HasSubstr("Data/Level/not_object.json: not a level; staying in cellar"));

    const auto lines = test::TraceLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Scene cellar Init"), 1) << "the overridden request is skipped";
    EXPECT_TRUE(test::InOrder(lines, {"Scene 'hud_icons' Exit", "Scene 'hub' Exit", "Scene 'hud_icons' Unload",
                                      "Scene 'hub' Unload", "Scene level2 Init"}));

    // A sandbox scene is made by code, not read from a level of the requested name.
    Scenes().ChangeScene("Larch", false);
    Scenes().Update(kDt);
    EXPECT_EQ(SceneNames(), (std::vector<std::string>{"Larch Scene"}));
}

TEST_F(SceneSystemTest, ASceneThatFlagsItselfIsEndedAfterEveryoneUpdated)
{
    StartWith("hub");
    AddProbe("pause_menu", "quitter", &RemoveOwnScene);
    auto watcher = std::make_unique<Entity>("watcher");
    watcher->AddComponent(std::make_unique<ProbeSprite>());
    Scenes().FindScene("hub")->AddEntity(std::move(watcher));

    Calls().Clear();
    Scenes().Update(kDt);
    EXPECT_EQ(SceneNames(), (std::vector<std::string>{"hud_icons", "hud", "hub"}));
    ASSERT_GE(Calls().calls.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(Calls().calls.begin(), Calls().calls.begin() + 3),
              (std::vector<std::string>{"quitter:2:update", "watcher:0:update", "quitter:2:exit"}))
        << "the scene after it still updated, then the flagged one ended";
    EXPECT_TRUE(test::InOrder(test::TraceLines(), {"Scene 'pause_menu' Exit", "Scene 'pause_menu' Unload"}));
}

TEST_F(SceneSystemTest, AChangeAskedForDuringAnUpdateIsBuiltByALaterOne)
{
    StartWith("hub");
    AddProbe("hub", "asker", &AskForCellar);
    Scenes().Update(kDt);
    Scenes().Update(kDt);
    EXPECT_EQ(SceneNames(), (std::vector<std::string>{"hud_icons", "hud", "cellar"}));
    EXPECT_TRUE(Scenes().GetRequestedScene().empty());
}

TEST_F(SceneSystemTest, ATransitionSlidesItsPanelsInSwitchesWhileCoveredAndSlidesThemAway)
{
    // Panel heights per 1/8 s frame, as fractions of the parked height. The cover slides
    // in over four frames, the level switches behind it, a frame waits and it slides away;
    // only level2 also brings the loading panel in first and out with the cover.
    struct Case
    {
        std::string to;
        std::size_t switchFrame;
        std::vector<float> cover, loading;
    };
    const std::vector<Case> cases = {
        {"cellar", 4, {0.75f, 0.5f, 0.25f, 0, 0, 0, 0.25f, 0.5f, 0.75f, 1, 1}, std::vector<float>(11, 1.0f)},
        {"level2",
         8,
         {0.75f, 0.5f, 0.25f, 0, 0, 0, 0, 0, 0, 0, 0.25f, 0.5f, 0.75f, 1},
         {1, 1, 1, 1, 0.75f, 0.5f, 0.25f, 0, 0, 0, 0.25f, 0.5f, 0.75f, 1}}};
    for (const Case& c : cases)
    {
        StartWith("hub");
        Scenes().ChangeScene(c.to, true);
        const std::vector<Frame> frames = RunFrames(static_cast<int>(c.cover.size()));
        for (std::size_t i = 0; i < frames.size(); ++i)
        {
            EXPECT_FLOAT_EQ(frames[i].cover, kParkedY * c.cover[i]) << c.to << " frame " << i;
            EXPECT_FLOAT_EQ(frames[i].loading, kParkedY * c.loading[i]) << c.to << " frame " << i;
            EXPECT_EQ(frames[i].level, i < c.switchFrame ? "hub" : c.to) << c.to << " frame " << i;
        }
        EXPECT_TRUE(Scenes().GetActionList().IsEmpty());
        EXPECT_FALSE(RenderState::IsScreenSpace());
        Scenes().Exit();
        Scenes().Reset();
    }
}

TEST_F(SceneSystemTest, WithoutPanelArchetypesScenesStillChangeAndSaySoOnce)
{
    std::filesystem::remove("Data/Entity/transition.json");
    std::filesystem::remove("Data/Entity/loading.json");
    StartWith("hub");
    EXPECT_EQ(Scenes().GetTransitionPanel(), nullptr);
    Scenes().ChangeScene("cellar", true);
    Scenes().ChangeScene("level2", true);
    Scenes().Update(kDt);
    Scenes().Render();
    EXPECT_EQ(SceneNames().back(), "cellar");
    Scenes().Update(kDt);
    Scenes().Update(kDt);
    EXPECT_EQ(SceneNames().back(), "level2");

    const auto lines = test::TraceLines();
    for (const char* said :
         {"Data/Entity/transition.json: no transition archetype; scene changes run without the transition panel",
          "Data/Entity/loading.json: no loading archetype; scene changes run without the loading panel"})
        EXPECT_EQ(std::count(lines.begin(), lines.end(), said), 1) << said;
}

TEST_F(SceneSystemTest, ExitEndsEveryScenePanelAndArchetype)
{
    StartWith("cellar");
    ASSERT_NE(CreateFromArchetype("player", true), nullptr);
    EXPECT_EQ(ArchetypeList().Entities().size(), 1u);
    Scenes().ChangeScene("hub", true);
    Scenes().Exit();
    EXPECT_TRUE(Scenes().GetScenes().empty());
    EXPECT_EQ(Scenes().GetCurrentScene(), nullptr);
    EXPECT_EQ(RenderState::GetCamera(), nullptr) << "no camera of a deleted scene is left to draw through";
    EXPECT_EQ(Scenes().GetTransitionPanel(), nullptr);
    EXPECT_TRUE(Scenes().GetActionList().IsEmpty());
    EXPECT_TRUE(ArchetypeList().Entities().empty());
    EXPECT_TRUE(test::InOrder(test::TraceLines(), {"deleting scenes", "Scene 'hud_icons' Exit", "Scene 'hud' Exit",
                                                   "Scene 'cellar' Exit", "Scene 'hud_icons' Unload", "scene deleted",
                                                   "scene deleted", "Scene 'cellar' Unload", "scene deleted"}));
}

TEST_F(SceneSystemTest, EveryExitRunsWhileAllScenesCanStillBeFound)
{
    for (bool switching : {true, false})
    {
        StartWith("hub");
        AddProbe("hub", "watcher", nullptr, &LookAroundAtExit);
        Scenes().Update(kDt);

        g_seenAtExit.clear();
        if (switching)
        {
            Scenes().ChangeScene("cellar", false);
            Scenes().Update(kDt);
        }
        else
            Scenes().Exit();
        EXPECT_EQ(g_seenAtExit, "hud_icons hud pause_menu hub hub found") << (switching ? "switching" : "exit");
        Scenes().Exit();
        Scenes().Reset();
    }
}

TEST_F(SceneSystemTest, SandboxScenesArePickedByExactNameSpawnWhatExistsAndCedarRedirects)
{
    EXPECT_NE(dynamic_cast<LarchScene*>(CreateScene("Larch").get()), nullptr);
    EXPECT_EQ(dynamic_cast<CedarScene*>(CreateScene("cedar").get()), nullptr) << "names are case-sensitive";
    EXPECT_EQ(CreateScene("hub")->GetName(), "hub") << "any other name is a level";

    auto alder = CreateScene("Alder");
    alder->Init();
    alder->Update(kDt);
    EXPECT_NE(alder->FindEntity("player"), nullptr);

    auto game = CreateScene("Game");
    game->Init();
    EXPECT_EQ(RenderState::GetClearColour(), glm::vec4(0.5f, 0.5f, 0.0f, 0.5f));

    auto cedar = CreateScene("Cedar");
    cedar->Init();
    cedar->Update(kDt);
    EXPECT_EQ(Scenes().GetRequestedScene(), "gameGeneric");

    EXPECT_TRUE(test::InOrder(test::TraceLines(),
                              {"Game Init", "Cedar Init", "Cedar Scene: no archetype \"cedarMonkey\" to spawn"}));
}

// The collision pass runs over the current scene's entities with that scene's bounds.
TEST_F(SceneSystemTest, OverlappingBodiesInALevelArePushedApart)
{
    StartWith("touching");
    Entity* left = Scenes().FindScene("touching")->FindEntity("left");
    Entity* right = Scenes().FindScene("touching")->FindEntity("right");
    ASSERT_NE(left, nullptr);
    ASSERT_NE(right, nullptr);
    Scenes().Update(1.0f / 60.0f);
    // Two radius-20 circles 30 apart overlap and must separate.
    EXPECT_LT(left->GetTransform().GetTranslation().x, 0.0f);
    EXPECT_GT(right->GetTransform().GetTranslation().x, 30.0f);
}
