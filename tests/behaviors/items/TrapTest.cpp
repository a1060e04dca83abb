#include "audio/AudioTestSupport.h"
#include "physics/Bodies.h"

#include "audio/SoundSystem.h"
#include "behaviors/items/BehaviorTrapBear.h"
#include "behaviors/items/BehaviorTrapFireJug.h"
#include "behaviors/items/BehaviorTrapLightningJug.h"
#include "data/Archetypes.h"
#include "render/ParticleEmitter.h"
#include "render/Sprite.h"

namespace
{
constexpr float kFrame = 1.0f / 60.0f;
constexpr std::uint16_t kSlice = StatusBit(StatusFlag::Slice);
constexpr std::uint16_t kIgnite = StatusBit(StatusFlag::Ignite);
constexpr std::uint16_t kSticky = StatusBit(StatusFlag::Sticky);
constexpr std::uint16_t kShock = StatusBit(StatusFlag::Shock);

// A light that keeps the four fields a flaring jug changes.
class TestLight : public ComponentBase<TestLight>
{
public:
    TestLight() : ComponentBase<TestLight>(ctype::Lighting) {}
    void Read(const json& j) override { Descriptor().Read(*this, j); }
    void Write(json& j) const override { Descriptor().Write(*this, j); }
    static const FieldDescriptor<TestLight>& Descriptor()
    {
        static const FieldDescriptor<TestLight> d(
            "TestLight", {GLOAMER_FIELD(TestLight, _radius), GLOAMER_FIELD(TestLight, _factor),
                          GLOAMER_FIELD(TestLight, _falloff), GLOAMER_FIELD(TestLight, _flashRate)});
        return d;
    }
    float _radius = 100.0f;
    float _factor = 0.5f;
    float _falloff = 3.0f;
    float _flashRate = 20.0f;
};

// The trap archetypes of the game, a bear trap as a placed one is, and a creature
// that takes flags the way the monster does.
class TrapTest : public test::AudioTest
{
protected:
    void SetUp() override
    {
        test::AudioTest::SetUp();
        CopyContent();
        test::WriteSoundTable(json::array({{"beartrap_close", 2.0}}));
        ASSERT_TRUE(SoundSystem::Instance().Init());
    }

    static std::unique_ptr<Entity> FromArchetype(const std::string& name, const glm::vec2& at)
    {
        auto e = CreateFromArchetype(name, false);
        if (!e)
            throw std::runtime_error("no archetype " + name);
        e->GetTransform().SetTranslation(at);
        e->Init();
        return e;
    }

    static std::unique_ptr<Entity> BearTrap(const glm::vec2& at)
    {
        test::BodyOptions options;
        options.rigid = false;
        options.behavior = false;
        auto trap = test::Ball("beartrap", at, 20.0f, options);
        trap->AddComponent(std::make_unique<Sprite>());
        trap->AddComponent(std::make_unique<BehaviorTrapBear>());
        test::AddStatus(*trap, 0, 0, kSlice);
        trap->Init();
        return trap;
    }

    static std::unique_ptr<Entity> Creature(const glm::vec2& at, std::uint16_t tempMask, std::uint16_t permMask)
    {
        test::BodyOptions options;
        options.rigid = false;
        auto e = test::Ball("monster", at, 20.0f, options);
        test::AddStatus(*e, tempMask, permMask, 0);
        return e;
    }

    // One frame as the scene runs it: updates, then the contacts.
    static void Frame(const std::vector<Entity*>& updated, const std::vector<std::pair<Entity*, Entity*>>& contacts)
    {
        for (Entity* e : updated)
            for (const auto& c : e->Components())
                c->Update(kFrame);
        for (auto [a, b] : contacts)
            Collider::Collide(test::ColliderOf(*a), test::ColliderOf(*b));
    }

    static BehaviorTrapBear& Bear(Entity& e) { return *e.Get<BehaviorTrapBear>(ctype::Behavior); }
    static Status& StatusOf(Entity& e) { return *e.Get<Status>(ctype::Status); }
    static unsigned Frame(Entity& e) { return e.Get<Sprite>(ctype::Sprite)->GetFrame(); }
};
} // namespace

TEST_F(TrapTest, ABearTrapSnapsOnceHoldsForItsTimeAndIsThenSpent)
{
    auto trap = BearTrap({0, 0});
    auto monster = Creature({10, 0}, kSlice, 0);
    BehaviorTrapBear& bear = Bear(*trap);
    EXPECT_EQ(bear.GetFlags(), 0x801u);
    EXPECT_NE(FromArchetype("beartrap", {0, 0})->Get<BehaviorTrapBear>(ctype::Behavior), nullptr)
        << "the traps the player places are bear traps";

    Frame({trap.get(), monster.get()}, {{monster.get(), trap.get()}});
    EXPECT_TRUE(bear.GetTrapSound().IsPlaying()) << "the jaws close with a snap";
    EXPECT_EQ(Frame(*trap), BehaviorTrapBear::kSprungFrame);
    EXPECT_FLOAT_EQ(StatusOf(*monster).SpeedMultiplier(), 0.0001f);

    // Held for three seconds of contact, then harmless.
    float held = kFrame;
    while (bear.GetState() != BehaviorTrapBear::Spent && held < 4.0f)
    {
        Frame({trap.get(), monster.get()}, {{monster.get(), trap.get()}});
        held += kFrame;
    }
    EXPECT_NEAR(held, 3.0f + 2 * kFrame, 1.5f * kFrame);
    EXPECT_EQ(Frame(*trap), BehaviorTrapBear::kSpentFrame);
    EXPECT_EQ(StatusOf(*trap)._permanent & kSlice, 0);
    Frame({trap.get(), monster.get()}, {{monster.get(), trap.get()}});
    EXPECT_FLOAT_EQ(StatusOf(*monster).SpeedMultiplier(), 1.0f) << "a spent trap cuts no more";
    EXPECT_EQ(bear.GetState(), BehaviorTrapBear::Spent);

    // Something cut again while spent (its own flags given back to it): closed
    // frame and sprung once more, but not a sound.
    bear.GetTrapSound().Stop();
    trap->Get<Sprite>(ctype::Sprite)->SetFrame(0);
    bear.OnStatusGiven(static_cast<unsigned>(StatusFlag::Slice));
    EXPECT_EQ(Frame(*trap), BehaviorTrapBear::kSprungFrame);
    EXPECT_FALSE(bear.GetTrapSound().IsPlaying());
    bear.Update(kFrame);
    EXPECT_EQ(bear.GetState(), BehaviorTrapBear::Sprung);

    auto copy = bear.Clone();
    EXPECT_EQ(static_cast<BehaviorTrapBear&>(*copy).GetStateNext(), BehaviorTrapBear::Armed)
        << "a placed copy starts armed";
}

TEST_F(TrapTest, OnlyTheFirstSnapOfAnArmedTrapThrowsSparks)
{
    const glm::vec2 at{50.0f, -20.0f};
    auto trap = FromArchetype("beartrap", at);
    BehaviorTrapBear& bear = Bear(*trap);
    auto* sparks = trap->Get<ParticleEmitter>(ctype::ParticleEmitter);
    ASSERT_NE(sparks, nullptr) << "the placed trap's archetype carries the emitter";
    const unsigned slice = static_cast<unsigned>(StatusFlag::Slice);
    auto dieOut = [&]
    {
        for (int i = 0; i < 120; ++i)
            sparks->Update(kFrame);
    };

    // Other flags given while armed do nothing.
    bear.OnStatusGiven(static_cast<unsigned>(StatusFlag::Activate));
    EXPECT_EQ(sparks->AliveCount(), 0u);

    sparks->SetActive(true);
    bear.OnStatusGiven(slice);
    bear.OnStatusGiven(slice); // a second body in the jaws in the same frame
    EXPECT_EQ(sparks->AliveCount(), BehaviorTrapBear::kSnapParticles);
    EXPECT_FALSE(sparks->IsActive()) << "a burst, not a stream";
    for (const Particle& p : sparks->Pool())
        if (p.alive)
        {
            EXPECT_LE(std::abs(p.position.x - at.x), 10.0f);
            EXPECT_LE(std::abs(p.position.y - at.y), 10.0f);
        }
    dieOut();
    EXPECT_EQ(sparks->AliveCount(), 0u) << "the sparks burn out and none follow";

    // Cut again while sprung, and again once spent: the jaws show closed, silently.
    bear.Update(kFrame);
    bear.OnStatusGiven(slice);
    EXPECT_EQ(sparks->AliveCount(), 0u);
    while (bear.GetState() != BehaviorTrapBear::Spent)
        bear.Update(0.5f);
    bear.GetTrapSound().Stop();
    bear.OnStatusGiven(slice);
    EXPECT_EQ(sparks->AliveCount(), 0u);
    EXPECT_FALSE(bear.GetTrapSound().IsPlaying());
    EXPECT_EQ(Frame(*trap), BehaviorTrapBear::kSprungFrame);

    // A trap placed from it starts armed and has sparks of its own.
    auto placed = trap->Clone();
    placed->Init();
    Bear(*placed).Update(kFrame);
    Bear(*placed).OnStatusGiven(slice);
    EXPECT_EQ(placed->Get<ParticleEmitter>(ctype::ParticleEmitter)->AliveCount(), BehaviorTrapBear::kSnapParticles);
}

TEST_F(TrapTest, ACreatureThatDoesNotTakeSliceIsNeitherSlowedNorCaught)
{
    auto trap = BearTrap({0, 0});
    auto walker = Creature({10, 0}, kSticky, 0);
    StatusOf(*walker)._temporary = kSlice; // held, but not accepted
    Collider::Collide(test::ColliderOf(*walker), test::ColliderOf(*trap));
    EXPECT_FLOAT_EQ(StatusOf(*walker).SpeedMultiplier(), 1.0f);
    Bear(*trap).Update(kFrame);
    EXPECT_EQ(Bear(*trap).GetState(), BehaviorTrapBear::Armed);
    EXPECT_FALSE(Bear(*trap).GetTrapSound().IsPlaying());
}

TEST_F(TrapTest, ACutFireJugBurnsForeverAndItsFireMultipliesWithGlue)
{
    auto jug = FromArchetype("firejug", {0, 0});
    auto glue = FromArchetype("glue", {40, 0});
    auto trap = BearTrap({-30, 0});
    auto& fire = *jug->Get<BehaviorTrapFireJug>(ctype::Behavior);

    Frame({jug.get(), trap.get()}, {{jug.get(), trap.get()}});
    EXPECT_EQ(fire.GetStateNext(), BehaviorTrapFireJug::Breaking);
    Frame({jug.get()}, {});
    EXPECT_EQ(fire.GetStateNext(), BehaviorTrapFireJug::Broken);
    Frame({jug.get()}, {});
    EXPECT_EQ(fire.GetState(), BehaviorTrapFireJug::Broken);
    EXPECT_EQ(StatusOf(*jug)._permanent & kIgnite, kIgnite);
    EXPECT_EQ(StatusOf(*jug)._tempMask & kSlice, 0) << "broken glass is not cut again";

    // Standing in glue beside the burning jug: 0.5 x 0.8.
    auto monster = Creature({20, 0}, kSticky | kIgnite, kIgnite);
    Frame({monster.get()}, {{monster.get(), glue.get()}, {monster.get(), jug.get()}});
    EXPECT_NEAR(StatusOf(*monster).SpeedMultiplier(), 0.4f, 1e-6f);
    Frame({monster.get()}, {});
    EXPECT_FLOAT_EQ(StatusOf(*monster).SpeedMultiplier(), 0.8f) << "the glue lets go, the fire stays";

    // A creature that keeps nothing permanently is free the moment it steps away.
    auto ghost = Creature({20, 0}, kSticky | kIgnite, 0);
    Frame({ghost.get()}, {{ghost.get(), glue.get()}, {ghost.get(), jug.get()}});
    EXPECT_NEAR(StatusOf(*ghost).SpeedMultiplier(), 0.4f, 1e-6f);
    Frame({ghost.get()}, {});
    EXPECT_EQ(StatusOf(*ghost)._permanent, 0);
    EXPECT_FLOAT_EQ(StatusOf(*ghost).SpeedMultiplier(), 1.0f);
}

TEST_F(TrapTest, ACutLightningJugShocksAndItsLightFlaresOnce)
{
    auto jug = FromArchetype("lightningjug", {0, 0});
    auto* light = static_cast<TestLight*>(jug->AddComponent(std::make_unique<TestLight>()));
    auto& behaviour = *jug->Get<BehaviorTrapLightningJug>(ctype::Behavior);

    behaviour.OnStatusGained(static_cast<unsigned>(StatusFlag::Ignite));
    EXPECT_EQ(StatusOf(*jug)._permanent, 0) << "fire does not break it";
    EXPECT_FLOAT_EQ(light->_radius, 100.0f);

    auto trap = BearTrap({-30, 0});
    Frame({jug.get()}, {{jug.get(), trap.get()}});
    EXPECT_EQ(behaviour.GetStateNext(), 1);
    EXPECT_EQ(StatusOf(*jug)._permanent & kShock, kShock);
    EXPECT_EQ(StatusOf(*jug)._tempMask & kSlice, 0);
    EXPECT_FLOAT_EQ(light->_radius, 250.0f);
    EXPECT_FLOAT_EQ(light->_factor, 2.0f);
    EXPECT_FLOAT_EQ(light->_falloff, 6.0f);
    EXPECT_FLOAT_EQ(light->_flashRate, 2.0f);

    Frame({jug.get()}, {{jug.get(), trap.get()}});
    EXPECT_FLOAT_EQ(light->_radius, 250.0f) << "a second cut cannot reach it";

    auto monster = Creature({20, 0}, kShock, 0);
    Frame({monster.get()}, {{monster.get(), jug.get()}});
    EXPECT_FLOAT_EQ(StatusOf(*monster).SpeedMultiplier(), 1.2f);
}
