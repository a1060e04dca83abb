#include "FakeCheats.h"
#include "TestSupport.h"
#include "physics/Bodies.h"

#include "behaviors/monster/BehaviorMonster.h"
#include "core/MessageSystem.h"
#include "data/Entity.h"
#include "debug/DebugWindow.h"
#include "physics/Collider.h"
#include "physics/Physics.h"
#include "physics/Status.h"
#include "render/ParticleEmitter.h"
#include "scene/ParticleRig.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <gmock/gmock.h>

#include <string>

using ::testing::HasSubstr;

namespace
{
constexpr float kDt = 1.0f / 60.0f;
// Distinct multipliers, so the sense that won a tick can be read off the blackboard.
constexpr float kSight = 3.0f, kSound = 2.0f, kSmell = 1.0f;

// The figure: an emitter that spawns along the rig's lines of the shipped creature.
#define FIGURE R"("particleemitter": {"useparentpos": false, "maxparticles": 500}, "particlerig": {"rig": "monster"}, )"

constexpr const char* kFullMonster =
    FIGURE R"("physics": {"friction": 0}, "status": {"tempmask": 318, "permanent": 64}, "pathfinder": {},
       "behaviormonster": {"emergetimer": {"timer": 0, "duration": 0}, "capturetimer": {"timer": 0.5, "duration": 0.5}})";
} // namespace

// A monster in the current scene of the real scene system, driven a frame at a time;
// the player is a bare entity the test places. The arena has no tile map, so the
// monster never finds a path: these tests watch what it decides, not where it walks.
class MonsterTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        CopyContent();
        BehaviorMonster::Senses& senses = BehaviorMonster::Settings();
        senses = {kSight, kSound, kSmell};
    }

    void Load(const std::string& monster = kFullMonster, bool withPlayer = true)
    {
        std::string entities =
            R"({"name": "monster", "transform": {"scale": {"x": 120, "y": 120}}, "components": {)" + monster + "}}";
        if (withPlayer)
            entities += R"(, {"name": "player", "transform": {"translation": {"x": 500, "y": 0}}})";
        test::WriteFile("Data/Level/arena.json", R"({"entities": [)" + entities + "]}");
        SceneSystem::Instance().ChangeScene("arena", false);
        ASSERT_TRUE(SceneSystem::Instance().Init());
        _scene = SceneSystem::Instance().GetCurrentScene();
        ASSERT_NE(_scene, nullptr);
        _monster = _scene->FindEntity("monster");
        ASSERT_NE(_monster, nullptr);
    }

    BehaviorMonster& Monster() const { return *_monster->Get<BehaviorMonster>(ctype::Behavior); }
    Blackboard& Board() const { return Monster().GetTree().GetBlackboard(); }
    Status& OwnStatus() const { return *_monster->Get<Status>(ctype::Status); }
    glm::vec2 Position() const { return _monster->GetTransform().GetTranslation(); }

    static void Send(const std::string& name, std::vector<std::any> payload = {}, bool consumable = true)
    {
        MessageSystem::Instance().Send(Message(name, std::move(payload), 0.0f, consumable));
    }

    void Frame(float dt = kDt)
    {
        SceneSystem::Instance().Update(dt);
        MessageSystem::Instance().Update(dt);
    }
    void Frames(int n)
    {
        for (int i = 0; i < n; ++i)
            Frame();
    }

    // A "collected" at the origin, and frames until the monster hunts.
    void Wake(const glm::vec2& at = {0.0f, 0.0f})
    {
        Send("collected", {at});
        Frames(3);
        ASSERT_EQ(Monster().GetState(), BehaviorMonster::Hunting);
    }

    // A vertical wall segment at x.
    void AddWall(float x)
    {
        _scene->AddEntity(test::Wall({x, -100.0f}, {x, 100.0f}));
        _scene->GetEntities().InitAll();
    }

    // Two hunting frames with the player making noise: the walls are counted toward
    // where the player stood one step earlier.
    float SenseWithNoise()
    {
        for (int i = 0; i < 2; ++i)
        {
            Send("player_sound");
            Frame();
        }
        return Board().GetFloat(BehaviorMonster::kSenseMult);
    }

    Scene* _scene = nullptr;
    Entity* _monster = nullptr;
};

TEST_F(MonsterTest, SleepsFarAwayUntilCalledThenEmergesWhereTheObjectWas)
{
    Load(FIGURE R"("physics": {"friction": 0}, "status": {"permanent": 64}, "pathfinder": {},
            "behaviormonster": {"emergetimer": {"timer": 2, "duration": 2}})");
    Frames(5);
    EXPECT_EQ(Position(), BehaviorMonster::kHidingPlace);
    EXPECT_EQ(Monster().GetState(), BehaviorMonster::Dormant);
    EXPECT_EQ(MessageSystem::Instance().Get("monster_pos"), nullptr) << "a sleeping monster keeps quiet";

    Send("collected", {glm::vec2(40.0f, -60.0f)});
    Frame();
    EXPECT_EQ(Position(), glm::vec2(40.0f, -60.0f));
    EXPECT_EQ(Monster().GetStateNext(), BehaviorMonster::Emerging);
    EXPECT_EQ(MessageSystem::Instance().Get("collected"), nullptr) << "consumed";
    Frame();
    const Message* pos = MessageSystem::Instance().Get("monster_pos");
    ASSERT_NE(pos, nullptr);
    ASSERT_NE(pos->Arg<glm::vec2>(0), nullptr);
    EXPECT_EQ(*pos->Arg<glm::vec2>(0), Position());
}

TEST_F(MonsterTest, WithoutAPlayerTheHuntStopsAtTheLookupAndTheMonsterStaysPut)
{
    Load(kFullMonster, false);
    Wake({100.0f, 50.0f});
    const glm::vec2 sentinel(-7.0f, 9.0f);
    Board().GetVec2(BehaviorMonster::kProbe) = sentinel;
    Frames(30);
    EXPECT_EQ(Position(), glm::vec2(100.0f, 50.0f));
    EXPECT_EQ(_monster->Get<Physics>(ctype::Physics)->GetVelocity(), glm::vec2(0.0f));
    EXPECT_EQ(Board().GetVec2(BehaviorMonster::kProbe), sentinel) << "the children after the lookup never ran";
    EXPECT_EQ(Monster().GetTree().Tick(0), BTNode::Error);

    const std::string shown = DebugWindow::TreeText(*_monster);
    EXPECT_EQ(shown.find("Root 0\n"), 0u) << "the debug window shows the monster's tree";
    EXPECT_NE(shown.find("Root 1\n"), std::string::npos);
    EXPECT_NE(shown.find("Parallel"), std::string::npos);
}

TEST_F(MonsterTest, NoiseIsHeardThroughExactlyTheThresholdOfWallsAndNotOneMore)
{
    Load();
    Wake();
    const int threshold = Monster().GetHearingThreshold();
    ASSERT_EQ(threshold, 5);
    for (int i = 0; i < threshold; ++i)
        AddWall(50.0f + 50.0f * static_cast<float>(i));
    EXPECT_FLOAT_EQ(SenseWithNoise(), kSound);
    EXPECT_EQ(Board().GetInt(BehaviorMonster::kWalls), threshold);

    AddWall(400.0f);
    EXPECT_FLOAT_EQ(SenseWithNoise(), kSmell) << "one wall more: only smell is left";
    EXPECT_EQ(Board().GetInt(BehaviorMonster::kWalls), threshold + 1);

    // Walls but no noise: smell, whatever the count.
    Frames(2);
    EXPECT_FLOAT_EQ(Board().GetFloat(BehaviorMonster::kSenseMult), kSmell);
}

TEST_F(MonsterTest, SightBeatsHearingAndSetsTheSpeed)
{
    Load();
    Wake();
    EXPECT_FLOAT_EQ(SenseWithNoise(), kSight);
    EXPECT_EQ(Board().GetInt(BehaviorMonster::kWalls), 0);
    EXPECT_FLOAT_EQ(Board().GetFloat(BehaviorMonster::kSpeed), 320.0f * kSight);

    // A sticky floor halves the base before the sense multiplies it.
    OwnStatus()._tempMask |= StatusBit(StatusFlag::Sticky);
    OwnStatus()._permMask |= StatusBit(StatusFlag::Sticky);
    OwnStatus()._permanent |= StatusBit(StatusFlag::Sticky);
    Frame();
    EXPECT_FLOAT_EQ(Board().GetFloat(BehaviorMonster::kSpeed), 160.0f * kSight);
}

TEST_F(MonsterTest, ThreeObjectsRestartTheEmergenceAndTheFourthStartsTheFrenzy)
{
    Load(FIGURE R"("physics": {"friction": 0}, "status": {"permanent": 64}, "pathfinder": {},
            "behaviormonster": {"emergetimer": {"timer": 5, "duration": 5}})");
    for (int i = 1; i <= 3; ++i)
    {
        const glm::vec2 at(100.0f * static_cast<float>(i), 0.0f);
        Send("collected", {at});
        Frame();
        EXPECT_EQ(Monster().GetStateNext(), BehaviorMonster::Emerging) << "object " << i;
        EXPECT_EQ(Position(), at);
        EXPECT_FLOAT_EQ(Monster().GetEmergeTimer().timer, 5.0f) << "the emergence starts over";
        Frames(10);
        EXPECT_EQ(Monster().GetState(), BehaviorMonster::Emerging);
        EXPECT_LT(Monster().GetEmergeTimer().timer, 5.0f);
    }
    Send("collected", {glm::vec2(-50.0f, 0.0f)});
    Frame();
    EXPECT_EQ(Monster().GetStateNext(), BehaviorMonster::Frenzy);
    EXPECT_EQ(Position(), glm::vec2(-50.0f, 0.0f));
    Frame();
    EXPECT_EQ(Monster().GetState(), BehaviorMonster::Frenzy);
    EXPECT_FLOAT_EQ(Board().GetFloat(BehaviorMonster::kSpeed), 320.0f * kSight) << "frenzy runs at sight speed";
    // A fifth is frenzy again, not a new emergence.
    Send("collected", {glm::vec2(0.0f, 0.0f)});
    Frame();
    EXPECT_EQ(Monster().GetStateNext(), BehaviorMonster::Frenzy);
}

TEST_F(MonsterTest, SpeedCheatsInOneUpdateOnlyHalve)
{
    Load();
    test::TriggerCheats({"Monster Speed Down", "Monster Speed Up"});
    Frame();
    EXPECT_FLOAT_EQ(Monster().GetBaseSpeed(), 160.0f);
    test::TriggerCheats({"Monster Speed Up"});
    Frame();
    EXPECT_FLOAT_EQ(Monster().GetBaseSpeed(), 320.0f);
    test::TriggerCheats({});
    Frame();
    EXPECT_FLOAT_EQ(Monster().GetBaseSpeed(), 320.0f) << "only the update a cheat completes in counts";
}

TEST_F(MonsterTest, AThrowableHitWhileHoldingStunsBrieflyAndKeepsTheShade)
{
    Load();
    Wake();
    Monster().OnStatusGiven(static_cast<unsigned>(StatusFlag::Shade));
    Frame();
    ASSERT_EQ(Monster().GetState(), BehaviorMonster::Holding);
    const Message* hold = MessageSystem::Instance().Get("holdplayer");
    ASSERT_NE(hold, nullptr);
    ASSERT_NE(hold->Arg<glm::vec2>(0), nullptr);
    // The point is a third of the body's size ahead of it, posted before the frame's
    // step of 0.2 x the base speed carried the body toward it.
    EXPECT_NEAR(glm::length(*hold->Arg<glm::vec2>(0) - Position()), 40.0f - 0.2f * 320.0f * kDt, 1e-3f);

    Monster().OnStatusGained(static_cast<unsigned>(StatusFlag::Impact));
    Frame();
    EXPECT_EQ(Monster().GetState(), BehaviorMonster::Stunned);
    EXPECT_NE(OwnStatus()._permanent & StatusBit(StatusFlag::Shade), 0) << "it can grab again right after";
    int frames = 1;
    while (Monster().GetState() == BehaviorMonster::Stunned && frames < 200)
    {
        EXPECT_EQ(_monster->Get<Physics>(ctype::Physics)->GetVelocity(), glm::vec2(0.0f));
        Frame();
        ++frames;
    }
    EXPECT_NEAR(frames, 46, 1) << "0.75 s of stun, then one update for the change to take";
    EXPECT_EQ(Monster().GetState(), BehaviorMonster::Hunting);
    EXPECT_FLOAT_EQ(Monster().GetStunTimer().timer, 3.0f) << "re-armed for the next struggle";
}

TEST_F(MonsterTest, LosingTheStruggleTakesTheShadeAwayForTheWholeStun)
{
    Load();
    Wake();
    Monster().OnStatusGiven(static_cast<unsigned>(StatusFlag::Shade));
    Frame();
    Send("player_wins_struggle");
    Frame();
    EXPECT_EQ(Monster().GetStateNext(), BehaviorMonster::Stunned);
    EXPECT_EQ(OwnStatus()._permanent & StatusBit(StatusFlag::Shade), 0);
    Frames(3 * 60 - 5);
    EXPECT_EQ(Monster().GetState(), BehaviorMonster::Stunned);
    EXPECT_EQ(OwnStatus()._permanent & StatusBit(StatusFlag::Shade), 0);
    Frames(10);
    EXPECT_EQ(Monster().GetState(), BehaviorMonster::Hunting);
    EXPECT_NE(OwnStatus()._permanent & StatusBit(StatusFlag::Shade), 0);
}

TEST_F(MonsterTest, DeathEndsInTheWinScene)
{
    Load();
    Wake({10.0f, 10.0f});
    Send("killmonster");
    Frame();
    EXPECT_EQ(Monster().GetStateNext(), BehaviorMonster::Dying);
    Frame();
    EXPECT_EQ(Monster().GetState(), BehaviorMonster::Dying);
    EXPECT_EQ(Monster().GetDeathRays(), 1) << "the first pulse fires at once";
    // Half a second of dying.
    for (int i = 0; i < 40 && !_monster->IsDestroyed(); ++i)
        Frame();
    EXPECT_TRUE(_monster->IsDestroyed());
    EXPECT_EQ(Monster().GetStateNext(), BehaviorMonster::Dead);
    EXPECT_EQ(Monster().GetDeathRays(), 3) << "a pulse every third of the death";
    // The panels cover the screen, then the win scene replaces the level.
    Frames(60);
    ASSERT_NE(SceneSystem::Instance().GetCurrentScene(), nullptr);
    EXPECT_EQ(SceneSystem::Instance().GetCurrentScene()->GetName(), "win_scene");
}

TEST_F(MonsterTest, TheFigureFlailsWhileStunnedAndABurstLeavesTheEmitterAsItWas)
{
    Load();
    ParticleEmitter& emitter = *_monster->Get<ParticleEmitter>(ctype::ParticleEmitter);
    ParticleRig& rig = *_monster->Get<ParticleRig>(ctype::ParticleRig);
    const auto keyframe = [&](const std::string& name)
    {
        for (std::size_t i = 0; i < rig.Library().size(); ++i)
            if (rig.Library()[i].name == name)
                return static_cast<int>(i);
        return -2;
    };
    ASSERT_EQ(rig.Body().size(), 2u);
    Frames(2);
    const ParticleProperties before = emitter.Properties();
    // Waking bursts the figure apart; the spreads it widened are put back.
    Send("collected", {glm::vec2(0.0f, 0.0f)});
    Frame();
    EXPECT_EQ(emitter.Properties().velVariation, before.velVariation);
    EXPECT_EQ(emitter.Properties().lifeTime, before.lifeTime);
    EXPECT_EQ(emitter.Properties().vel, before.vel);
    Frames(2);
    ASSERT_EQ(Monster().GetState(), BehaviorMonster::Hunting);
    EXPECT_EQ(emitter.Properties().posVariation, glm::vec2(5.0f, 5.0f));
    EXPECT_EQ(rig.Body()[0].keyframe, keyframe("torso"));
    EXPECT_EQ(rig.Body()[1].keyframe, keyframe("legs"));
    EXPECT_EQ(emitter.Properties().colorBegin, glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_EQ(emitter.Properties().colorEnd, glm::vec4(0.0f));

    Monster().OnStatusGained(static_cast<unsigned>(StatusFlag::Impact));
    Frame();
    ASSERT_EQ(Monster().GetState(), BehaviorMonster::Stunned);
    EXPECT_EQ(emitter.Properties().posVariation, glm::vec2(-35.0f, 35.0f));
    EXPECT_FLOAT_EQ(rig.GetAnimationSpeed(), 8.0f);
    EXPECT_FLOAT_EQ(rig.GetAmplitude(), 1.0f);
    EXPECT_EQ(rig.Body()[0].keyframe, keyframe("torsoflailing"));
    EXPECT_EQ(rig.Body()[1].keyframe, keyframe("legsstill"));

    // The disco colours the figure; a second toggle turns it black again.
    test::TriggerCheats({"Disco"});
    Frame();
    EXPECT_TRUE(Monster().IsDisco());
    const glm::vec4 disco = emitter.Properties().colorBegin;
    EXPECT_GT(disco.r + disco.g + disco.b, 0.5f);
    EXPECT_FLOAT_EQ(disco.a, 1.0f) << "the alpha is left alone";
    Frame();
    EXPECT_FALSE(Monster().IsDisco());
    EXPECT_EQ(emitter.Properties().colorBegin, glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
}

TEST_F(MonsterTest, AMonsterWithoutItsPartsIsReportedOnceAndSleeps)
{
    Load(R"("physics": {}, "status": {"permanent": 64}, "behaviormonster": {})");
    Send("collected", {glm::vec2(5.0f, 5.0f)});
    Frames(10);
    Send("collected", {glm::vec2(5.0f, 5.0f)});
    Frames(10);
    EXPECT_EQ(Position(), BehaviorMonster::kHidingPlace);
    EXPECT_EQ(Monster().GetState(), BehaviorMonster::Dormant);
    EXPECT_FALSE(Monster().IsComplete());
    const std::string trace = test::ReadTrace();
    EXPECT_EQ(test::Count(trace, "lacks pathfinder"), 1u) << trace;
}
