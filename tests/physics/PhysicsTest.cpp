#include "TestSupport.h"

#include "data/Entity.h"
#include "physics/Physics.h"

#include <cmath>

namespace
{
constexpr float kFrame = 1.0f / 60.0f;

Physics& Attach(Entity& e)
{
    return *static_cast<Physics*>(e.AddComponent(std::make_unique<Physics>()));
}
} // namespace

TEST(Physics, FrictionStopsABodyWithoutSpeedingItUpAndStepsUseTheOldVelocity)
{
    Entity e;
    Physics& p = Attach(e);
    p.SetVelocity({100.0f, 0.0f});
    int frames = 0;
    for (; p.GetVelocity().x > 0.0f && frames < 100; ++frames)
        p.Update(kFrame);
    EXPECT_EQ(frames, 13);
    EXPECT_EQ(p.GetVelocity(), glm::vec2(0.0f)) << "stopped, not reversed";

    p.SetFriction(-2.0f);
    p.SetVelocity({10.0f, 0.0f});
    p.Update(kFrame);
    EXPECT_EQ(p.GetVelocity(), glm::vec2(10.0f, 0.0f)) << "negative friction is clamped";

    p.SetFriction(0.5f);
    p.SetMass(0.0f);
    p.Update(kFrame);
    EXPECT_NEAR(p.GetVelocity().x, 10.0f - 0.5f * Physics::kGravity * kFrame, 1e-4f) << "mass 0 is safe";

    Entity moved;
    moved.GetTransform().SetTranslation({5.0f, 0.0f});
    moved.GetTransform().SetRotation(10.0f);
    Physics& step = Attach(moved);
    step.Read(json::parse(R"({"friction": 0, "velocity": {"x": 60}, "acceleration": {"x": 600},
        "rotationalvelocity": 90})"));
    step.Update(0.5f);
    EXPECT_EQ(step.GetOldPosition(), glm::vec2(5.0f, 0.0f));
    EXPECT_EQ(moved.GetTransform().GetTranslation(), glm::vec2(35.0f, 0.0f));
    EXPECT_EQ(step.GetVelocity(), glm::vec2(360.0f, 0.0f));
    EXPECT_FLOAT_EQ(moved.GetTransform().GetRotation(), 55.0f);
}

TEST(Physics, MoveTowardStopsWithinOneUnitAndTurnsThroughTheSmallerAngle)
{
    Entity e;
    e.GetTransform().SetRotation(90.0f);
    Physics& p = Attach(e);

    p.MoveToward({0.0f, 50.0f}, 200.0f, 1.0f);
    EXPECT_NEAR(p.GetVelocity().y, 200.0f, 1e-3f);
    EXPECT_NEAR(e.GetTransform().GetRotation(), 90.0f, 1e-3f);

    p.MoveToward({0.6f, 0.6f}, 200.0f, 0.5f);
    EXPECT_EQ(p.GetVelocity(), glm::vec2(0.0f)) << "within 1 unit the body stops";
    EXPECT_NEAR(e.GetTransform().GetRotation(), 45.0f, 1e-3f) << "and turns half way toward heading 0";

    EXPECT_NEAR(Physics::TurnToward(10.0f, -10.0f, 0.5f), 0.0f, 1e-3f);
    EXPECT_NEAR(std::fabs(Physics::TurnToward(170.0f, -170.0f, 0.5f)), 180.0f, 1e-3f) << "across 180, not 0";
    EXPECT_NEAR(Physics::TurnToward(-90.0f, 0.0f, 0.0f), -90.0f, 1e-3f);
    // Opposite headings met halfway: a quarter turn, never NaN.
    EXPECT_NEAR(Physics::TurnToward(0.0f, 180.0f, 0.5f), 90.0f, 1e-3f);
}
