#include "audio/AudioTestSupport.h"

#include "audio/SoundSystem.h"
#include "behaviors/UiLinks.h"
#include "behaviors/items/BehaviorCollectable.h"
#include "behaviors/items/BehaviorScoreKeeper.h"
#include "behaviors/items/ObjectiveSystem.h"
#include "core/MessageSystem.h"
#include "data/Entity.h"
#include "input/InputSystem.h"
#include "render/SceneCamera.h"
#include "render/Sprite.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"
#include "ui/ProgressBar.h"

#include <glm/geometric.hpp>

namespace
{
constexpr int kInteractKey = 69;
constexpr float kFrame = 1.0f / 60.0f;

json MusicTable()
{
    json table = json::array({{"level1amb", 3.0},
                              {"gloamermaintheme", 3.0},
                              {"rumblinglong", 3.0},
                              {"rumbling", 0.5},
                              {"shatter1", 0.5},
                              {"crackinglong", 3.0}});
    for (int i = 1; i <= 4; ++i)
    {
        table.push_back({"level1item" + std::to_string(i), 3.0});
        table.push_back({"level1_riser" + std::to_string(i), 3.0});
    }
    return table;
}

// The objective lab level with its music, driven frame by frame with a stand-in
// for the player that only reports where it stands.
class CollectableTest : public test::AudioTest
{
protected:
    void SetUp() override
    {
        test::AudioTest::SetUp();
        CopyContent();
        test::WriteSoundTable(MusicTable());
        ASSERT_TRUE(SoundSystem::Instance().Init());
        ASSERT_TRUE(Objectives().Init());
        InputSystem::Instance().LoadBindings(json::parse(R"({"keys": {"interact": [69]}})"), "test");
    }

    static ObjectiveSystem& Objectives() { return ObjectiveSystem::Instance(); }

    Scene& Load(const std::string& level)
    {
        SceneSystem::Instance().ChangeScene(level, false);
        SceneSystem::Instance().Update(0.0f);
        Scene* scene = SceneSystem::Instance().FindScene(level);
        if (!scene)
            throw std::runtime_error("level " + level + " did not load");
        return *scene;
    }

    // One game frame with the player at `player`, "interact" held or not.
    void Step(const glm::vec2& player, bool interact, float dt = kFrame)
    {
        InputSystem& input = InputSystem::Instance();
        if (interact != input.IsCodeDown(kInteractKey))
            input.HandleButton(kInteractKey, interact ? InputSystem::kPress : InputSystem::kRelease);
        MessageSystem::Instance().Send(Message("playerdata", {player, glm::vec2(0.0f), 3, 1.0f}));
        SceneSystem::Instance().Update(dt);
        Objectives().Update(dt);
        input.Update(dt);
        MessageSystem::Instance().Update(dt);
    }

    void Hold(const glm::vec2& player, float seconds)
    {
        for (float t = 0.0f; t < seconds - 1e-4f; t += kFrame)
            Step(player, true);
    }

    static BehaviorCollectable* Object(Scene& scene, const std::string& name)
    {
        Entity* e = scene.FindEntity(name);
        return e ? e->Get<BehaviorCollectable>(ctype::Behavior) : nullptr;
    }

    static bool LayerPlaying(int i) { return Objectives().ItemLayer(i).IsPlaying(); }
};
} // namespace

TEST_F(CollectableTest, HoldingInteractWithinRangeCollectsAndCallsTheMonster)
{
    Scene& lab = Load("objectivelab");
    ASSERT_EQ(Objectives().GetRegister().size(), 4u);
    EXPECT_EQ(Objectives().GetObjectiveText(), "Collect the Objects:");
    const Message* fragment = MessageSystem::Instance().Get("fragment3");
    ASSERT_NE(fragment, nullptr);
    EXPECT_EQ(*fragment->Arg<glm::vec2>(0), glm::vec2(420.0f, -220.0f));
    EXPECT_TRUE(Objectives().Ambient().IsPlaying());
    EXPECT_FALSE(Objectives().Ambient().IsPaused()) << "the level's objects wake the ambience";

    BehaviorCollectable* object = Object(lab, "object1");
    ASSERT_NE(object, nullptr);
    const glm::vec2 at(-420.0f, 220.0f);
    const float grain = Sprite::GrainFactor();

    // Exactly at the range nothing happens, however long the key is held.
    Step(at + glm::vec2(120.0f, 0.0f), false);
    Hold(at + glm::vec2(120.0f, 0.0f), 1.0f);
    EXPECT_FALSE(object->IsInteracting());
    EXPECT_FLOAT_EQ(object->GetRemaining(), object->GetTime());
    Step(at, false);

    // Just inside: the hold runs, the grain rises, the view zooms, the riser starts.
    const glm::vec2 inside = at + glm::vec2(119.9f, 0.0f);
    Hold(inside, 1.0f);
    EXPECT_TRUE(object->IsInteracting());
    EXPECT_GT(Sprite::GrainFactor(), grain);
    EXPECT_LT(lab.GetCamera()->GetScale().x, 1.0f);
    EXPECT_TRUE(Objectives().Riser(0).IsPlaying());

    // Let go with 0.1 s left: everything is put back and the next try starts afresh.
    Hold(inside, object->GetTime() - 1.0f - 0.1f);
    EXPECT_NEAR(object->GetRemaining(), 0.1f, 2 * kFrame);
    Step(inside, false);
    EXPECT_FALSE(object->IsInteracting());
    EXPECT_FLOAT_EQ(object->GetRemaining(), object->GetTime());
    EXPECT_FLOAT_EQ(Sprite::GrainFactor(), grain);
    EXPECT_FLOAT_EQ(lab.GetCamera()->GetScale().x, 1.0f);
    EXPECT_FALSE(Objectives().Riser(0).IsPlaying());
    Hold(inside, 0.2f);
    EXPECT_GT(object->GetRemaining(), object->GetTime() - 0.3f);

    // Walking away mid-hold cancels as well.
    Step(at + glm::vec2(300.0f, 0.0f), true);
    EXPECT_FALSE(object->IsInteracting());

    Step(inside, false);
    Hold(inside, object->GetTime() + 2 * kFrame);
    EXPECT_EQ(lab.FindEntity("object1"), nullptr) << "shattered and gone";
    EXPECT_EQ(Objectives().GetCollectedCount(), 1);
    EXPECT_TRUE(Objectives().GetRegister()[0]._collected);
    EXPECT_TRUE(LayerPlaying(0));
    EXPECT_FLOAT_EQ(Sprite::GrainFactor(), grain);
    const Message* collected = MessageSystem::Instance().Get("collected");
    ASSERT_NE(collected, nullptr);
    EXPECT_EQ(*collected->Arg<glm::vec2>(0), glm::vec2(-420.0f, 440.0f)) << "the object plus its spawn offset";
    EXPECT_EQ(MessageSystem::Instance().Get("apertureReady"), nullptr);
}

TEST_F(CollectableTest, TheArchetypesBarFillsWithTheHoldAndHidesWhenLetGo)
{
    json object = json::parse(test::ReadFile("Data/Entity/collectable.json"));
    object["name"] = "urn";
    test::WriteFile("Data/Level/barlab.json", json{{"entities", json::array({object})}}.dump());
    Scene& lab = Load("barlab");
    BehaviorCollectable* urn = Object(lab, "urn");
    ASSERT_NE(urn, nullptr);
    auto* bar = lab.FindEntity("urn")->Get<ProgressBar>(ctype::ProgressBar);
    ASSERT_NE(bar, nullptr);
    const glm::vec2 at(0.0f, 0.0f);
    const float third = urn->GetTime() / 3.0f;

    Step(at, false);
    EXPECT_FALSE(bar->IsVisible()) << "nothing to show before the hold";
    Hold(at, third);
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_NEAR(bar->GetValue(), 1.0f / 3.0f, 2 * kFrame / urn->GetTime());
    Hold(at, third);
    EXPECT_NEAR(bar->GetValue(), 2.0f / 3.0f, 2 * kFrame / urn->GetTime());

    Step(at, false);
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_FLOAT_EQ(bar->GetValue(), 0.0f) << "let go, the hold starts over";
    Hold(at, third);
    EXPECT_NEAR(bar->GetValue(), 1.0f / 3.0f, 2 * kFrame / urn->GetTime());

    Step(at + glm::vec2(0.0f, 200.0f), true);
    EXPECT_FALSE(bar->IsVisible()) << "walking away empties it too";
    EXPECT_FLOAT_EQ(bar->GetValue(), 0.0f);
}

TEST_F(CollectableTest, AllFourMakeTheApertureReadyAndLeavingTheLevelEmptiesTheRegister)
{
    // The HUD hears about it too, so it can hide the text again after its two seconds.
    struct PillarRecorder : HudOperations
    {
        void SetPillarText(const std::string& text) override { texts.push_back(text); }
        std::vector<std::string> texts;
    } hud;
    Hud::Install(&hud);
    Scene& lab = Load("objectivelab");
    const glm::vec2 places[] = {{-420, 220}, {420, 220}, {420, -220}, {-420, -220}};
    for (int i = 0; i < 4; ++i)
    {
        Step(places[i], false);
        Hold(places[i], 3.0f + 2 * kFrame);
        EXPECT_EQ(Objectives().GetCollectedCount(), i + 1);
        EXPECT_TRUE(LayerPlaying(i));
        for (float t = 0.0f; t < ObjectiveSystem::kLayerFade; t += kFrame)
            Step({0, 0}, false);
        for (int layer = 0; layer < 4; ++layer)
            EXPECT_EQ(LayerPlaying(layer), layer == i) << "after " << i + 1 << ", layer " << layer + 1;
    }
    Step({0, 0}, false);
    EXPECT_TRUE(Objectives().IsAllCollected());
    EXPECT_NE(MessageSystem::Instance().Get("apertureReady"), nullptr);
    Sprite* run = lab.FindEntity("pillartext")->Get<Sprite>(ctype::Sprite);
    EXPECT_EQ(run->GetText(), "RUN.");
    EXPECT_FLOAT_EQ(run->GetTint().a, 1.0f);
    EXPECT_EQ(hud.texts, std::vector<std::string>{"RUN."});
    Hud::Install(nullptr);

    test::WriteFile("Data/Level/empty.json", "{}");
    Load("empty");
    EXPECT_TRUE(Objectives().GetRegister().empty());
    EXPECT_EQ(Objectives().GetCollectedCount(), 0);
    EXPECT_FALSE(Objectives().IsAllCollected());
    EXPECT_FALSE(LayerPlaying(3));
}

TEST_F(CollectableTest, ASharedIdIsReportedAndKeepsTheLevelFromBeingWon)
{
    test::WriteFile("Data/Level/dupes.json", R"({"entities": [
        {"name": "urn", "components": {"behaviorcollectable": {"id": 2}}},
        {"name": "bell", "components": {"behaviorcollectable": {"id": 2}}},
        {"name": "odd", "components": {"behaviorcollectable": {"id": 9}}},
        {"name": "keeper", "components": {"behaviorscorekeeper": {}}}]})");
    Load("dupes");
    ObjectiveSystem& objectives = Objectives();
    ASSERT_EQ(objectives.GetRegister().size(), 3u);

    objectives.Collect(9);
    EXPECT_FALSE(LayerPlaying(0)) << "an id outside 1..4 counts but adds no music";
    objectives.Collect(2);
    objectives.Collect(2);
    EXPECT_EQ(objectives.GetCollectedCount(), 3);
    EXPECT_FALSE(objectives.IsAllCollected()) << "only the first record of the id is ever marked";
    Step({0, 0}, false);
    EXPECT_EQ(MessageSystem::Instance().Get("apertureReady"), nullptr);

    const std::string trace = test::ReadTrace();
    EXPECT_EQ(test::Count(trace, "Data/Level/dupes.json: collectables \"urn\" and \"bell\" share the id 2"), 1u);
    EXPECT_EQ(test::Count(trace, "Data/Level/dupes.json: collectable \"odd\" has the id 9, outside 1..4"), 1u);
}

TEST_F(CollectableTest, EachLayerSwellsInOverTheLastAndTheFifthCollectionChangesNoMusic)
{
    ObjectiveSystem& objectives = Objectives();
    EXPECT_TRUE(objectives.Theme().IsPlaying());
    EXPECT_TRUE(objectives.Ambient().IsPaused());
    for (int id = 1; id <= 4; ++id)
        objectives.Register(id, "o" + std::to_string(id), "test");
    auto fade = [&](float seconds)
    {
        for (float t = 0.0f; t < seconds - 1e-4f; t += kFrame)
            objectives.Update(kFrame);
    };
    auto volume = [&](int layer) { return objectives.ItemLayer(layer).GetVolume(); };

    objectives.Collect(1);
    EXPECT_TRUE(LayerPlaying(0));
    EXPECT_FLOAT_EQ(volume(0), 0.0f) << "starts from silence";
    fade(ObjectiveSystem::kLayerFade / 2.0f);
    EXPECT_GT(volume(0), 0.3f);
    EXPECT_LT(volume(0), 0.9f);
    fade(ObjectiveSystem::kLayerFade / 2.0f + kFrame);
    EXPECT_FLOAT_EQ(volume(0), 1.0f);

    objectives.Collect(2);
    fade(ObjectiveSystem::kLayerFade / 2.0f);
    EXPECT_TRUE(LayerPlaying(0)) << "the old layer dies away under the new one";
    EXPECT_TRUE(LayerPlaying(1));
    EXPECT_LT(volume(0), 1.0f);
    EXPECT_GT(volume(1), 0.0f);
    EXPECT_NEAR(volume(0) * volume(0) + volume(1) * volume(1), 1.0f, 0.05f) << "no dip or bulge in between";
    fade(ObjectiveSystem::kLayerFade / 2.0f + kFrame);
    EXPECT_FALSE(LayerPlaying(0));
    EXPECT_FLOAT_EQ(volume(1), 1.0f);

    objectives.Collect(3);
    objectives.Collect(4);
    fade(ObjectiveSystem::kLayerFade + kFrame);
    const AudioChannel fourth = objectives.ItemLayer(3).GetChannel();
    objectives.Collect(1);
    fade(ObjectiveSystem::kLayerFade + kFrame);
    EXPECT_EQ(objectives.GetCollectedCount(), 5);
    for (int layer = 0; layer < 3; ++layer)
        EXPECT_FALSE(LayerPlaying(layer));
    EXPECT_TRUE(LayerPlaying(3));
    EXPECT_FLOAT_EQ(volume(3), 1.0f);
    EXPECT_EQ(objectives.ItemLayer(3).GetChannel()._generation, fourth._generation) << "not restarted";

    objectives.Reset();
    EXPECT_FALSE(LayerPlaying(3));
    EXPECT_FALSE(objectives.ItemLayer(3).InPlayingList());
    objectives.Collect(1);
    EXPECT_FLOAT_EQ(volume(0), 0.0f) << "the next level's first layer fades in afresh";
}

TEST_F(CollectableTest, TheScoreKeeperWaitsForEveryRecordAndKeepsItsCounts)
{
    auto keeper = Entity::FromJson(json::parse(R"({"name": "keeper", "components": {"behaviorscorekeeper":
        {"currcollectables": 1, "maxcollectables": 4, "statenext": 2}}})"),
                                   "test");
    ASSERT_NE(keeper, nullptr);
    auto* behaviour = keeper->Get<BehaviorScoreKeeper>(ctype::Behavior);
    json written;
    behaviour->Write(written);
    EXPECT_EQ(written["currcollectables"], 1);
    EXPECT_EQ(written["maxcollectables"], 4);
    EXPECT_EQ(written["statenext"], 2);

    MessageSystem& board = MessageSystem::Instance();
    behaviour->Update(kFrame);
    EXPECT_EQ(board.Get("apertureReady"), nullptr) << "nothing registered, nothing collected";
    Objectives().Register(1, "a", "test");
    Objectives().Register(2, "b", "test");
    Objectives().Collect(1);
    behaviour->Update(kFrame);
    EXPECT_EQ(board.Get("apertureReady"), nullptr);
    Objectives().Collect(2);
    EXPECT_EQ(behaviour->currcollectables, 1) << "caught up at the next update";
    for (int frame = 0; frame < 2; ++frame)
    {
        behaviour->Update(kFrame);
        const Message* ready = board.Get("apertureReady", true);
        ASSERT_NE(ready, nullptr) << "frame " << frame;
        EXPECT_TRUE(*ready->Arg<bool>(0));
        board.Update(kFrame);
    }
    EXPECT_EQ(behaviour->currcollectables, 2);
}
