#include "TestSupport.h"

#include "data/Entity.h"
#include "physics/Physics.h"

#include <glm/geometric.hpp>

#include <cmath>

namespace
{
constexpr float kFrame = 1.0f / 60.0f;

Physics& Attach(Entity& e)
{
    return *static_cast<Physics*>(e.AddComponent(std::make_unique<Physics>()));
}
} // namespace

TEST(Physics, FrictionStopsABodyAfterThirteenFramesWithoutReversingIt)
{
    Entity e;
    Physics& p = Attach(e);
    p.SetVelocity({100.0f, 0.0f});
    int frames = 0;
    while (p.GetVelocity().x > 0.0f && frames < 100)
    {
        p.Update(kFrame);
        ++frames;
        EXPECT_GE(p.GetVelocity().x, 0.0f);
    }
    EXPECT_EQ(frames, 13);
    EXPECT_EQ(p.GetVelocity(), glm::vec2(0.0f));

    // Direction is kept while slowing down.
    p.SetVelocity({30.0f, 40.0f});
    p.Update(kFrame);
    EXPECT_NEAR(glm::length(p.GetVelocity()), 50.0f - 0.5f * Physics::kGravity * kFrame, 1e-3f);
    EXPECT_NEAR(p.GetVelocity().y / p.GetVelocity().x, 40.0f / 30.0f, 1e-5f);
}

TEST(Physics, NegativeFrictionNeverSpeedsUpAndMassZeroIsSafe)
{
    Entity e;
    Physics& p = Attach(e);
    p.SetFriction(-2.0f);
    p.SetVelocity({10.0f, 0.0f});
    p.Update(kFrame);
    EXPECT_EQ(p.GetVelocity(), glm::vec2(10.0f, 0.0f));

    p.SetFriction(0.5f);
    p.SetMass(0.0f);
    p.Update(kFrame);
    EXPECT_TRUE(std::isfinite(p.GetVelocity().x));
    EXPECT_NEAR(p.GetVelocity().x, 10.0f - 0.5f * Physics::kGravity * kFrame, 1e-4f);
}

TEST(Physics, PositionStepUsesTheVelocityFromBeforeTheStep)
{
    Entity e;
    e.GetTransform().SetTranslation({5.0f, 0.0f});
    e.GetTransform().SetRotation(10.0f);
    Physics& p = Attach(e);
    p.SetFriction(0.0f);
    p.SetVelocity({60.0f, 0.0f});
    p.SetAcceleration({600.0f, 0.0f});
    p.SetRotationalVelocity(90.0f);
    p.Update(0.5f);
    EXPECT_EQ(p.GetOldPosition(), glm::vec2(5.0f, 0.0f));
    EXPECT_EQ(e.GetTransform().GetTranslation(), glm::vec2(35.0f, 0.0f));
    EXPECT_EQ(p.GetVelocity(), glm::vec2(360.0f, 0.0f));
    EXPECT_FLOAT_EQ(e.GetTransform().GetRotation(), 55.0f);
    EXPECT_TRUE(e.GetTransform().IsStale());

    // At rest with no push, nothing changes and friction is skipped.
    p.SetVelocity({0.0f, 0.0f});
    p.SetAcceleration({0.0f, 0.0f});
    p.SetFriction(0.5f);
    p.Update(kFrame);
    EXPECT_EQ(p.GetVelocity(), glm::vec2(0.0f));
    EXPECT_EQ(p.GetOldPosition(), glm::vec2(35.0f, 0.0f));
}

TEST(Physics, MoveTowardStopsWithinOneUnitAndTurnsPartWay)
{
    Entity e;
    e.GetTransform().SetTranslation({0.0f, 0.0f});
    e.GetTransform().SetRotation(90.0f);
    Physics& p = Attach(e);

    p.MoveToward({0.0f, 50.0f}, 200.0f, 1.0f);
    EXPECT_NEAR(p.GetVelocity().x, 0.0f, 1e-4f);
    EXPECT_NEAR(p.GetVelocity().y, 200.0f, 1e-3f);
    EXPECT_NEAR(e.GetTransform().GetRotation(), 90.0f, 1e-3f);

    p.MoveToward({0.6f, 0.6f}, 200.0f, 0.5f);
    EXPECT_EQ(p.GetVelocity(), glm::vec2(0.0f)) << "within 1 unit the body stops";
    EXPECT_NEAR(e.GetTransform().GetRotation(), 45.0f, 1e-3f) << "and turns half way toward heading 0";
}

TEST(Physics, TurnTowardGoesThroughTheSmallerAngle)
{
    EXPECT_NEAR(Physics::TurnToward(0.0f, 90.0f, 1.0f), 90.0f, 1e-3f);
    EXPECT_NEAR(Physics::TurnToward(10.0f, -10.0f, 0.5f), 0.0f, 1e-3f);
    EXPECT_NEAR(std::fabs(Physics::TurnToward(170.0f, -170.0f, 0.5f)), 180.0f, 1e-3f) << "across 180, not 0";
    EXPECT_NEAR(Physics::TurnToward(-90.0f, 0.0f, 0.0f), -90.0f, 1e-3f);
    // Opposite headings met halfway: a quarter turn, never NaN.
    EXPECT_NEAR(Physics::TurnToward(0.0f, 180.0f, 0.5f), 90.0f, 1e-3f);
}

TEST(Physics, ReadsAndWritesItsFiveKeys)
{
    Entity e;
    e.Read(json::parse(R"({"components": {"physics": {"velocity": {"x": 3}, "mass": 7, "friction": 0.25,
        "rotationalvelocity": 45, "acceleration": {"y": -2}}}})"));
    auto* p = e.Get<Physics>(ctype::Physics);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GetVelocity(), glm::vec2(3.0f, 0.0f));
    EXPECT_EQ(p->GetAcceleration(), glm::vec2(0.0f, -2.0f));
    EXPECT_EQ(p->GetMass(), 7.0f);
    EXPECT_EQ(p->GetFriction(), 0.25f);
    EXPECT_EQ(p->GetRotationalVelocity(), 45.0f);

    json j;
    p->Write(j);
    EXPECT_EQ(j, json::parse(R"({"acceleration": {"x": 0.0, "y": -2.0}, "velocity": {"x": 3.0, "y": 0.0},
        "rotationalvelocity": 45.0, "mass": 7.0, "friction": 0.25})"));

    Physics defaults;
    defaults.Read(json::parse(R"({"mass": 5})"));
    EXPECT_EQ(defaults.GetFriction(), 0.5f) << "absent keys keep their defaults";
    EXPECT_EQ(defaults.GetMass(), 5.0f);
}
