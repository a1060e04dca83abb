#include "TestSupport.h"

#include "data/Entity.h"
#include "render/ParticleEmitter.h"

#include <gmock/gmock.h>

#include <cstdlib>

using ::testing::HasSubstr;

namespace
{
// An emitter on an entity at `at`, its pool sized by Init (no content: no sprite).
struct Emitting
{
    explicit Emitting(unsigned pool = 1000, glm::vec2 at = {0.0f, 0.0f}) : entity("sparks")
    {
        entity.GetTransform().SetTranslation(at);
        emitter = static_cast<ParticleEmitter*>(entity.AddComponent(std::make_unique<ParticleEmitter>()));
        emitter->SetMaxParticles(pool);
        emitter->Init();
    }

    Entity entity;
    ParticleEmitter* emitter = nullptr;
};

// The slots whose particle is alive.
std::vector<std::size_t> AliveSlots(const ParticleEmitter& e)
{
    std::vector<std::size_t> slots;
    for (std::size_t i = 0; i < e.Pool().size(); ++i)
        if (e.Pool()[i].alive)
            slots.push_back(i);
    return slots;
}
} // namespace

class ParticleEmitterTest : public test::ScratchTest
{
};

TEST_F(ParticleEmitterTest, TheDefaultsEmitNothingUntilSomethingActivatesIt)
{
    Emitting e;
    EXPECT_EQ(e.emitter->Pool().size(), 1000u);
    for (int i = 0; i < 300; ++i)
        e.emitter->Update(0.02f);
    EXPECT_EQ(e.emitter->AliveCount(), 0u);

    e.emitter->SetActive(true);
    e.emitter->Update(0.02f);
    EXPECT_EQ(e.emitter->AliveCount(), 1u) << "the emit timer starts run out";
    // Rate 1 per second: the next one waits a second.
    for (int i = 0; i < 10; ++i)
        e.emitter->Update(0.02f);
    EXPECT_EQ(e.emitter->AliveCount(), 1u);
}

TEST_F(ParticleEmitterTest, APlayOnAwakeEmitterStartsAtInitAndANonLoopingOneStopsAfterItsSecond)
{
    ParticleEmitter awake;
    awake.Read(json::parse(R"({"playonawake": true, "looping": false, "emissionrate": 1000,
        "particleproperties": {"lifetime": 10}})"));
    awake.Init();
    EXPECT_TRUE(awake.IsActive());
    for (int i = 0; i < 10; ++i)
        awake.Update(0.15f);
    EXPECT_FALSE(awake.IsActive());
    // Not looping: one particle every update while the second lasted (updates 1..6).
    EXPECT_EQ(awake.AliveCount(), 6u);
}

TEST_F(ParticleEmitterTest, APoolOfThreeOverwritesTheFirstSlotOnTheFourthEmission)
{
    Emitting e(3);
    e.emitter->SetUseParentPos(false);
    e.emitter->Properties().posVariation = {0.0f, 0.0f};
    std::vector<std::size_t> order;
    for (int i = 1; i <= 4; ++i)
    {
        e.emitter->SetSpawnPoint({static_cast<float>(i), 0.0f});
        e.emitter->Emit();
        for (std::size_t s = 0; s < 3; ++s)
            if (e.emitter->Pool()[s].position.x == static_cast<float>(i))
                order.push_back(s);
    }
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(order[3], order[0]);
    EXPECT_NE(order[0], order[1]);
    EXPECT_NE(order[1], order[2]);
    EXPECT_NE(order[0], order[2]);
    EXPECT_EQ(e.emitter->AliveCount(), 3u);
}

TEST_F(ParticleEmitterTest, ParticlesAreBornAroundTheOwnerAndMoveInStraightLines)
{
    Emitting e(10, {100.0f, -50.0f});
    ParticleProperties& p = e.emitter->Properties();
    p.posVariation = {4.0f, 2.0f};
    p.vel = {10.0f, 0.0f};
    p.velVariation = {0.0f, 0.0f};
    p.sizeBegin = 20.0f;
    p.sizeVariation = 3.0f;
    p.colorBegin = {1.0f, 0.0f, 0.0f, 1.0f};
    std::srand(7);
    for (int i = 0; i < 10; ++i)
        e.emitter->Emit();
    for (const Particle& q : e.emitter->Pool())
    {
        EXPECT_TRUE(q.alive);
        EXPECT_LE(std::abs(q.position.x - 100.0f), 4.0f);
        EXPECT_LE(std::abs(q.position.y + 50.0f), 2.0f);
        EXPECT_GE(q.sizeBegin, 20.0f);
        EXPECT_LT(q.sizeBegin, 26.0f);
        EXPECT_EQ(q.colorBegin, glm::vec4(1.0f, 0.0f, 0.0f, 1.0f));
        EXPECT_FLOAT_EQ(q.lifeRemaining, 1.0f);
    }
    const Particle before = e.emitter->Pool()[4];
    e.emitter->Update(0.5f);
    const Particle& after = e.emitter->Pool()[4];
    EXPECT_FLOAT_EQ(after.position.x, before.position.x + 5.0f);
    EXPECT_FLOAT_EQ(after.position.y, before.position.y);
    EXPECT_FLOAT_EQ(after.lifeRemaining, 0.5f);
    EXPECT_FLOAT_EQ(after.rotation, before.rotation + 0.005f);
}

TEST_F(ParticleEmitterTest, ALifetimeOfZeroDiesInItsFirstUpdate)
{
    Emitting e(5);
    e.emitter->Properties().lifeTime = 0.0f;
    e.emitter->Emit();
    ASSERT_EQ(e.emitter->AliveCount(), 1u);
    e.emitter->Update(0.001f);
    EXPECT_EQ(e.emitter->AliveCount(), 0u);

    // A one-second particle lives through its second and dies in the update after.
    e.emitter->Properties().lifeTime = 1.0f;
    e.emitter->Emit();
    e.emitter->Update(0.5f);
    e.emitter->Update(0.5f);
    EXPECT_EQ(e.emitter->AliveCount(), 1u);
    e.emitter->Update(0.01f);
    EXPECT_EQ(e.emitter->AliveCount(), 0u);
}

TEST_F(ParticleEmitterTest, ResizingKeepsTheLiveParticlesOfTheKeptSlots)
{
    Emitting e(6);
    e.emitter->SetUseParentPos(false);
    e.emitter->Properties().lifeTime = 100.0f;
    e.emitter->Properties().velVariation = {0.0f, 0.0f};
    e.emitter->Properties().vel = {0.0f, 0.0f};
    for (int i = 0; i < 6; ++i)
    {
        e.emitter->SetSpawnPoint({static_cast<float>(i), 0.0f});
        e.emitter->Emit();
    }
    std::vector<glm::vec2> before;
    for (const Particle& p : e.emitter->Pool())
        before.push_back(p.position);

    e.emitter->SetMaxParticles(4);
    e.emitter->Update(0.0f);
    ASSERT_EQ(e.emitter->Pool().size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
    {
        EXPECT_TRUE(e.emitter->Pool()[i].alive);
        EXPECT_EQ(e.emitter->Pool()[i].position, before[i]) << "slot " << i;
    }

    e.emitter->SetMaxParticles(9);
    e.emitter->Update(0.0f);
    ASSERT_EQ(e.emitter->Pool().size(), 9u);
    EXPECT_EQ(AliveSlots(*e.emitter), (std::vector<std::size_t>{0, 1, 2, 3}));
    EXPECT_EQ(e.emitter->Pool()[2].position, before[2]);

    // A ring shrunk below the next slot still wraps inside the pool.
    e.emitter->SetMaxParticles(2);
    e.emitter->Update(0.0f);
    e.emitter->Emit();
    EXPECT_EQ(e.emitter->Pool().size(), 2u);
}

TEST_F(ParticleEmitterTest, EmittingAndUpdatingNeverMoveThePool)
{
    Emitting e(500);
    e.emitter->SetActive(true);
    e.emitter->SetEmissionRate(10000.0f);
    e.emitter->Update(0.01f);
    const Particle* storage = e.emitter->Pool().data();
    for (int i = 0; i < 2000; ++i)
    {
        e.emitter->Emit();
        e.emitter->Update(0.001f);
        e.emitter->Render();
    }
    EXPECT_EQ(e.emitter->Pool().data(), storage);
    EXPECT_EQ(e.emitter->Pool().size(), 500u);
    EXPECT_EQ(e.emitter->AliveCount(), 500u);
}

TEST_F(ParticleEmitterTest, AnOversizedPoolIsReportedAndCapped)
{
    ParticleEmitter e;
    e.Read(json::parse(R"({"maxparticles": 5000000})"));
    EXPECT_EQ(e.GetMaxParticles(), ParticleEmitter::kMaxPool);
    EXPECT_THAT(test::ReadTrace(), HasSubstr("maxparticles 5000000"));
    e.Init();
    EXPECT_EQ(e.Pool().size(), ParticleEmitter::kMaxPool);
}

TEST_F(ParticleEmitterTest, WriteReadsBackAndClonesShareTheSprite)
{
    ParticleEmitter e;
    e.Read(json::parse(R"({"active": true, "looping": false, "playlength": false, "emissionrate": 30,
        "useparentpos": false, "displayabovesprite": false, "maxparticles": 64,
        "particleproperties": {"pos": {"x": 3}, "vel": {"x": 0, "y": 5}, "colorend": {"a": 0},
            "sizebegin": 8, "sizeend": 2, "sizevariation": 0.5, "lifetime": 0.75}})"));
    json j;
    e.Write(j);
    ParticleEmitter back;
    back.Read(j);
    json again;
    back.Write(again);
    EXPECT_EQ(j, again);
    EXPECT_EQ(back.GetMaxParticles(), 64u);
    EXPECT_FALSE(back.GetDisplayAboveSprite());
    EXPECT_EQ(back.Properties().colorEnd, glm::vec4(1.0f, 1.0f, 1.0f, 0.0f));
    EXPECT_FLOAT_EQ(back.Properties().lifeTime, 0.75f);
    EXPECT_EQ(j["playlength"], false);
}

TEST_F(ParticleEmitterTest, WithoutASpriteNothingIsDrawnAndTheMissingArchetypeIsSaid)
{
    Emitting e(4);
    EXPECT_EQ(e.emitter->GetSprite(), nullptr);
    e.emitter->Emit();
    e.emitter->Render();
    EXPECT_EQ(e.emitter->LastDrawCount(), 0u);
    EXPECT_THAT(test::ReadTrace(), HasSubstr("sprite_dummy"));
}
