#include "Probes.h"
#include "scene/SceneTestSupport.h"

#include "actions/WaitAction.h"
#include "data/GroupSystem.h"
#include "render/RenderState.h"
#include "render/SceneCamera.h"
#include "render/Sprite.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <algorithm>

#include <gmock/gmock.h>

using test::SceneNames;
using ::testing::HasSubstr;

namespace
{
std::vector<Group*> GroupsOf(const Scene& scene)
{
    std::vector<Group*> groups = GroupSystem::Instance().GetAll();
    std::erase_if(groups, [&](const Group* g) { return g->_scene != &scene; });
    return groups;
}

Scene* g_scene = nullptr;

void SpawnOnce(ProbeBehavior& self)
{
    if (g_scene->FindEntity("spawned") || g_scene->GetEntities().PendingCount() > 0)
        return;
    auto spawned = std::make_unique<Entity>("spawned");
    spawned->AddComponent(std::make_unique<ProbeSprite>());
    g_scene->AddEntity(std::move(spawned));
    self.Log("spawn-done");
}
} // namespace

using SceneTest = test::SceneFixture;

TEST_F(SceneTest, ReadsGroupsBoundsCameraBackgroundEntitiesAndTilemapAndSavesThemBack)
{
    auto hub = std::make_unique<Scene>("hub");
    Group* lamps = GroupSystem::Instance().Find("lamps", hub.get());
    ASSERT_NE(lamps, nullptr);
    EXPECT_EQ(GroupsOf(*hub).size(), 2u) << "\"lamps\" twice and \"doors\" once";
    ASSERT_EQ(lamps->_members.size(), 3u);
    EXPECT_EQ(lamps->_members[0].Get()->GetName(), "lamp1");
    EXPECT_EQ(lamps->_members[2].Get()->GetName(), "lamp3");
    EXPECT_EQ(lamps->_records[0]._position, glm::vec2(10.0f, 20.0f));
    EXPECT_EQ(lamps->_members[1].Get()->GetGroupName(), "lamps");
    EXPECT_NE(GroupSystem::Instance().Find("doors", hub.get()), nullptr);
    EXPECT_EQ(GroupSystem::Instance().Find("lamps", nullptr), nullptr) << "groups belong to their scene";

    hub->Init();
    hub->Exit();
    EXPECT_TRUE(GroupSystem::Instance().GetAll().empty()) << "an ended scene takes its groups with it";

    auto expectHub = [](Scene& hub)
    {
        EXPECT_EQ(hub.GetUpperRightBound(), glm::vec2(2000.0f, 1500.0f));
        EXPECT_EQ(hub.GetLowerLeftBound(), glm::vec2(-2000.0f, -1500.0f));
        EXPECT_FALSE(hub.GetShowBounds());
        ASSERT_NE(hub.GetCamera(), nullptr);
        EXPECT_EQ(hub.GetCamera()->GetTranslation(), glm::vec3(-10.0f, 4.0f, 0.0f));
        EXPECT_EQ(hub.GetCamera()->GetScale(), glm::vec3(0.0f));
        EXPECT_EQ(RenderState::GetClearColour(), glm::vec4(0.05f, 0.04f, 0.06f, 1.0f));
        EXPECT_EQ(hub.GetTilemapData()["map"], "hub_tiles");
        EXPECT_EQ(hub.GetSubSceneNames(), (std::vector<std::string>{"hud", "pause_menu"}));

        // Level entities wait, uninitialised, until the scene's Init.
        EXPECT_EQ(hub.GetEntities().PendingCount(), 5u);
        EXPECT_EQ(hub.FindEntity("door"), nullptr);
        hub.Init();
        for (const char* name : {"door", "lamp1", "lamp2", "lamp3", "compass"})
            EXPECT_NE(hub.FindEntity(name), nullptr) << name;
        EXPECT_EQ(hub.FindEntity("hud_bar"), nullptr) << "sub-scene entities belong to the sub-scene";
        EXPECT_EQ(hub.FindEntity("door")->Get<Sprite>(ctype::Sprite)->GetText(), "DOOR");
        ASSERT_NE(GroupSystem::Instance().Find("lamps", &hub), nullptr);
        EXPECT_EQ(GroupSystem::Instance().Find("lamps", &hub)->_members.size(), 3u);
    };
    {
        Scene hub("hub");
        expectHub(hub);
        ASSERT_TRUE(hub.Save());
    }
    SceneSystem::Instance().Reset();
    const std::string text = test::ReadFile("Data/Level/hub.json");
    EXPECT_TRUE(text.starts_with("{\n    \"")) << "indented by four spaces";
    EXPECT_TRUE(text.ends_with("}\n"));

    RenderState::Reset();
    Scene again("hub");
    expectHub(again);
}

TEST_F(SceneTest, EntitiesAddedDuringAnUpdateWaitForTheNextAndAPausedSceneOnlyRenders)
{
    test::WriteFile("Data/Level/room.json",
                    R"({"entities": [{"name": "spawner", "components": {"probebehavior": {}}}]})");
    Scene room("room");
    g_scene = &room;
    room.Init();
    room.FindEntity("spawner")->Get<ProbeBehavior>(ctype::Behavior)->_onUpdate = &SpawnOnce;

    Calls().Clear();
    room.Update(0.1f);
    EXPECT_EQ(Calls().calls, (std::vector<std::string>{"spawner:2:update", "spawned:0:init", "spawner:2:spawn-done"}));
    ASSERT_EQ(room.FindEntity("spawned"), nullptr) << "still pending";
    EXPECT_EQ(room.GetEntities().PendingCount(), 1u);

    Calls().Clear();
    room.Update(0.1f);
    EXPECT_NE(std::find(Calls().calls.begin(), Calls().calls.end(), "spawned:0:update"), Calls().calls.end());
    EXPECT_NE(room.FindEntity("spawned"), nullptr);
    EXPECT_EQ(room.FindEntity("spawned")->GetScene(), &room);

    test::WriteFile("Data/Level/lit.json", R"({"entities": [{"name": "lamp", "components": {"probesprite": {}}}]})");
    Scene lit("lit");
    lit.Init();
    lit.GetActionList().Add(WaitAction(0.0f, 5.0f, {1}));
    lit.SetPaused(true);
    Calls().Clear();
    lit.Update(0.1f);
    lit.Render();
    EXPECT_EQ(Calls().calls, (std::vector<std::string>{"lamp:0:render"}));

    Sprite sprite;
    lit.AddDrawItem(&sprite, glm::mat4(2.0f));
    lit.AddDrawItem(nullptr, glm::mat4(1.0f));
    EXPECT_EQ(lit.GetDrawItems().size(), 1u);
    lit.SetPaused(false);
    lit.Update(0.1f);
    EXPECT_TRUE(lit.GetDrawItems().empty());
    EXPECT_EQ(Calls().calls.back(), "lamp:0:update");
}

// Bad input: every case below leaves a usable scene and says what was wrong.

TEST_F(SceneTest, BadLevelsAreReportedAndCostOnlyWhatIsWrong)
{
    // Missing, malformed or non-object levels give empty scenes with a default camera.
    Scene missing("nowhere");
    Scene malformed("malformed");
    Scene array("not_object");
    for (Scene* scene : {&missing, &malformed, &array})
    {
        EXPECT_FALSE(scene->IsLoaded());
        ASSERT_NE(scene->GetCamera(), nullptr);
        EXPECT_EQ(scene->GetCamera()->TypeName(), "defaultcam");
        scene->Init();
        scene->Update(0.1f);
        EXPECT_TRUE(scene->GetEntities().Entities().empty());
    }

    RenderState::SetClearColour({0.1f, 0.2f, 0.3f, 0.4f});
    Scene partial("partial_background");
    EXPECT_EQ(RenderState::GetClearColour(), glm::vec4(0.5f, 0.2f, 0.25f, 0.4f));

    RenderState::SetClearColour({0.1f, 0.2f, 0.3f, 0.4f});
    Scene scene("wrong_types");
    scene.Init();
    EXPECT_TRUE(scene.IsLoaded());
    EXPECT_EQ(scene.GetUpperRightBound(), glm::vec2(5000.0f, 5000.0f));
    ASSERT_NE(scene.GetCamera(), nullptr);
    EXPECT_EQ(RenderState::GetClearColour(), glm::vec4(0.1f, 0.2f, 0.3f, 0.4f));
    EXPECT_NE(scene.FindEntity("kept"), nullptr);
    EXPECT_NE(scene.FindEntity("member"), nullptr);
    EXPECT_EQ(scene.FindEntity("lost"), nullptr);
    EXPECT_NE(GroupSystem::Instance().Find("g", &scene), nullptr);
    EXPECT_EQ(SceneNames(), (std::vector<std::string>{"hud_icons"}));
    EXPECT_EQ(scene.GetSubSceneNames(), (std::vector<std::string>{"hud_icons"}));

    const std::string trace = test::ReadTrace();
    for (const char* line :
         {"Failed to load scene nowhere (Data/Level/nowhere.json not found)", "Data/Level/malformed.json: parse error",
          "Data/Level/not_object.json: a level must be a JSON object, but is array",
          "Data/Level/wrong_types.json: /upperrightbound: type must be object, but is number",
          "Data/Level/wrong_types.json: /camera/name: type must be string, but is number",
          "Data/Level/wrong_types.json: /background/color/r: type must be number, but is string",
          "Data/Level/wrong_types.json: /entities/0/name: type must be string, but is number",
          "Data/Level/wrong_types.json: /entities/2/groups/0/name: type must be string, but is number",
          "Data/Level/wrong_types.json: /tilemap: type must be object, but is array",
          "Data/Level/wrong_types.json: /subscenes/1: type must be string, but is number"})
        EXPECT_THAT(trace, HasSubstr(line));
}

TEST_F(SceneTest, SubSceneCyclesAreReportedAndTheRepeatedNameSkipped)
{
    {
        Scene a("cycle_a");
        EXPECT_EQ(SceneNames(), (std::vector<std::string>{"cycle_b"}));
        EXPECT_EQ(a.GetSubSceneNames(), (std::vector<std::string>{"cycle_b"}));
        Scene self("self_cycle");
        EXPECT_EQ(SceneNames(), (std::vector<std::string>{"cycle_b"}));
    }
    const std::string trace = test::ReadTrace();
    EXPECT_THAT(trace, HasSubstr("Data/Level/cycle_b.json: /subscenes/0: sub-scene \"cycle_a\" leads back to itself "
                                 "(cycle_a -> cycle_b -> cycle_a), skipped"));
    EXPECT_THAT(trace, HasSubstr("Data/Level/self_cycle.json: /subscenes/0: sub-scene \"self_cycle\" leads back to "
                                 "itself (self_cycle -> self_cycle), skipped"));

    // Naming the same sub-scene twice is no cycle.
    SceneSystem::Instance().Reset();
    Scene twice("twice");
    EXPECT_EQ(SceneNames(), (std::vector<std::string>{"hud_icons", "hud_icons"}));
}
