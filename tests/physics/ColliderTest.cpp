#include "TestSupport.h"
#include "physics/Bodies.h"

#include "physics/LineBuffer.h"
#include "physics/Point.h"

using test::Ball;
using test::BodyOptions;
using test::ColliderOf;
using test::PhysicsOf;

class ColliderTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        Calls().Clear();
    }

    // A body that moved this frame from `from` to `to`.
    static void Moved(Entity& e, const glm::vec2& from, const glm::vec2& to)
    {
        PhysicsOf(e).SetOldPosition(from);
        e.GetTransform().SetTranslation(to);
        ColliderOf(e).Update(0.0f);
    }

    // Vertical wall at x, crossed from left to right.
    static LineBuffer WallAt(float x)
    {
        LineBuffer walls;
        walls._lines = {{{x, -100.0f}, {x, 100.0f}}};
        return walls;
    }
};

TEST_F(ColliderTest, ReadsWritesAndClonesItsShape)
{
    auto e = Entity::FromJson(json::parse(R"({"name": "crate", "components": {"collider": {
        "type": 2, "static": true, "rigid": true, "restitution": 0.5, "castshadows": true,
        "shape": {"radius": 12, "center": {"x": 1, "y": 2}}}}})"),
                              "Data/Entity/crate.json");
    ASSERT_NE(e, nullptr);
    Collider& c = ColliderOf(*e);
    EXPECT_TRUE(c.IsStatic());
    EXPECT_TRUE(c.IsRigid());
    EXPECT_TRUE(c.IsEnabled());
    EXPECT_TRUE(c.CastsShadows());
    ASSERT_NE(c.GetLocalShape(), nullptr);
    EXPECT_EQ(static_cast<const Circle*>(c.GetLocalShape())->_radius, 12.0f);

    json j;
    c.Write(j);
    EXPECT_EQ(j["type"], 2u);
    EXPECT_EQ(j["restitution"], 0.5);
    EXPECT_EQ(j["shape"]["radius"], 12.0);

    auto copy = e->Clone();
    Collider& cc = ColliderOf(*copy);
    ASSERT_NE(cc.GetLocalShape(), nullptr);
    EXPECT_NE(cc.GetLocalShape(), c.GetLocalShape());
    copy->GetTransform().SetTranslation({50.0f, 0.0f});
    cc.Init();
    EXPECT_EQ(static_cast<const Circle*>(cc.GetWorldShape())->_center, glm::vec2(51.0f, 2.0f));

    // An empty line buffer goes out and back as "empty".
    Collider lines;
    lines.Read(json::parse(R"({"type": 0, "shape": "empty"})"));
    json linesJson;
    lines.Write(linesJson);
    EXPECT_EQ(linesJson["shape"], "empty");
    Collider linesBack;
    linesBack.Read(linesJson);
    ASSERT_NE(linesBack.GetLocalShape(), nullptr);
    EXPECT_EQ(linesBack.GetLocalShape()->GetType(), shape::LineBuffer);

    // An empty polygon still reads back.
    Collider polygon;
    polygon.Read(json::parse(R"({"type": 1})"));
    json polygonJson;
    polygon.Write(polygonJson);
    Collider polygonBack;
    EXPECT_NO_THROW(polygonBack.Read(polygonJson));
}

TEST_F(ColliderTest, BadShapeTypesAreReportedAndLeaveNoShape)
{
    auto e = Entity::FromJson(json::parse(R"({"components": {"collider": {"type": 9, "shape": {}}}})"),
                              "Data/Entity/odd.json");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(ColliderOf(*e).GetLocalShape(), nullptr);
    EXPECT_NE(test::ReadTrace().find("Data/Entity/odd.json: /components/collider/type: shape type 9"),
              std::string::npos);

    // A later file changing the type replaces the shapes rather than mixing them.
    Collider c;
    c.Read(json::parse(R"({"type": 2, "shape": {"radius": 3}})"));
    c.Read(json::parse(R"({"type": 1})"));
    ASSERT_NE(c.GetLocalShape(), nullptr);
    EXPECT_EQ(c.GetLocalShape()->GetType(), shape::Polygon);
    c.Read(json::parse(R"({"type": 5})"));
    EXPECT_EQ(c.GetLocalShape(), nullptr);
}

TEST_F(ColliderTest, DisabledOrShapelessCollidersNeverTouch)
{
    auto a = Ball("a", {0.0f, 0.0f});
    auto b = Ball("b", {5.0f, 0.0f});
    ColliderOf(*a).SetEnabled(false);
    ColliderOf(*b).SetEnabled(false);
    EXPECT_FALSE(Collider::Collide(ColliderOf(*a), ColliderOf(*b)));
    ColliderOf(*a).SetEnabled(true);
    EXPECT_FALSE(Collider::Collide(ColliderOf(*a), ColliderOf(*b)));
    ColliderOf(*b).SetEnabled(true);
    ColliderOf(*b).SetShape(nullptr);
    EXPECT_FALSE(Collider::Collide(ColliderOf(*a), ColliderOf(*b)));
    EXPECT_TRUE(Calls().calls.empty());
}

TEST_F(ColliderTest, RigidBodiesShareTheSeparationByMass)
{
    auto a = Ball("a", {0.0f, 0.0f});
    auto b = Ball("b", {19.0f, 0.0f});
    ASSERT_TRUE(Collider::Collide(ColliderOf(*a), ColliderOf(*b)));
    EXPECT_NEAR(a->GetTransform().GetTranslation().x, -0.55f, 1e-5f);
    EXPECT_NEAR(b->GetTransform().GetTranslation().x, 19.55f, 1e-4f);
    EXPECT_NEAR(static_cast<const Circle*>(ColliderOf(*b).GetWorldShape())->_center.x, 19.55f, 1e-4f)
        << "world shapes follow the push";

    // A static body keeps its half; the other moves only its own.
    auto wall = Ball("wall", {0.0f, 0.0f});
    auto c = Ball("c", {19.0f, 0.0f});
    ColliderOf(*wall).SetStatic(true);
    ASSERT_TRUE(Collider::Collide(ColliderOf(*wall), ColliderOf(*c)));
    EXPECT_EQ(wall->GetTransform().GetTranslation(), glm::vec2(0.0f));
    EXPECT_NEAR(c->GetTransform().GetTranslation().x, 19.55f, 1e-4f);

    // Non-rigid pairs are told but not moved.
    auto d = Ball("d", {0.0f, 50.0f}, 10.0f, {.rigid = false});
    auto e = Ball("e", {19.0f, 50.0f});
    ASSERT_TRUE(Collider::Collide(ColliderOf(*d), ColliderOf(*e)));
    EXPECT_EQ(e->GetTransform().GetTranslation(), glm::vec2(19.0f, 50.0f));
}

TEST_F(ColliderTest, RestitutionOneGivesTheFullElasticImpulse)
{
    auto a = Ball("a", {0.0f, 0.0f}, 10.0f, {.mass = 2.0f, .velocity = {10.0f, 0.0f}});
    auto b = Ball("b", {19.0f, 0.0f}, 10.0f, {.mass = 4.0f, .velocity = {-5.0f, 0.0f}});
    ASSERT_TRUE(Collider::Collide(ColliderOf(*a), ColliderOf(*b)));
    // j = -2 (v.n) / (1/mP + 1/mQ) = -2 * 15 / 0.75 = -40.
    EXPECT_NEAR(PhysicsOf(*a).GetVelocity().x, 10.0f - 40.0f / 2.0f, 1e-4f);
    EXPECT_NEAR(PhysicsOf(*b).GetVelocity().x, -5.0f + 40.0f / 4.0f, 1e-4f);
    EXPECT_NEAR(a->GetTransform().GetTranslation().x, -1.1f * 4.0f / 6.0f, 1e-5f) << "the lighter body moves more";

    // Two massless bodies split the push evenly instead of going NaN.
    auto c = Ball("c", {0.0f, 0.0f}, 10.0f, {.mass = 0.0f, .velocity = {1.0f, 0.0f}});
    auto d = Ball("d", {19.0f, 0.0f}, 10.0f, {.mass = 0.0f});
    ASSERT_TRUE(Collider::Collide(ColliderOf(*c), ColliderOf(*d)));
    EXPECT_NEAR(c->GetTransform().GetTranslation().x, -0.55f, 1e-5f);
    EXPECT_TRUE(std::isfinite(PhysicsOf(*c).GetVelocity().x));
}

TEST_F(ColliderTest, RigidWithoutPhysicsIsReportedOnceAndStaysPut)
{
    auto post = Ball("post", {0.0f, 0.0f}, 10.0f, {.physics = false});
    ColliderOf(*post).Update(0.0f);
    auto ball = Ball("ball", {19.0f, 0.0f});
    ASSERT_TRUE(Collider::Collide(ColliderOf(*post), ColliderOf(*ball)));
    EXPECT_EQ(post->GetTransform().GetTranslation(), glm::vec2(0.0f));
    // Static with mass 1: the ball moves only its own share, 1.1 * (1 - 100 / 101).
    EXPECT_NEAR(ball->GetTransform().GetTranslation().x, 19.0f + 1.1f / 101.0f, 1e-4f);

    const std::string trace = test::ReadTrace();
    const std::string line = "Collider of entity \"post\" is rigid but the entity has no Physics";
    ASSERT_NE(trace.find(line), std::string::npos);
    EXPECT_EQ(trace.find(line), trace.rfind(line)) << "reported once";
}

TEST_F(ColliderTest, StatusIsExchangedBothWaysBeforeTheCollisionHooks)
{
    auto a = Ball("a", {0.0f, 0.0f}, 10.0f, {.rigid = false});
    auto b = Ball("b", {15.0f, 0.0f}, 10.0f, {.rigid = false});
    Status& sa = test::AddStatus(*a, StatusBit(StatusFlag::Slice), 0, StatusBit(StatusFlag::Shock));
    Status& sb = test::AddStatus(*b, 0, StatusBit(StatusFlag::Shock), StatusBit(StatusFlag::Slice));
    ASSERT_TRUE(Collider::Collide(ColliderOf(*a), ColliderOf(*b)));
    EXPECT_EQ(Calls().calls, (std::vector<std::string>{"a:gained:3", "b:given:3", "b:gained:2", "a:given:2",
                                                       "a:collision:b", "b:collision:a"}));
    EXPECT_EQ(sa._temporary, StatusBit(StatusFlag::Slice));
    EXPECT_EQ(sb._permanent, StatusBit(StatusFlag::Slice) | StatusBit(StatusFlag::Shock));

    // Flags already held announce nothing the second time.
    Calls().Clear();
    ASSERT_TRUE(Collider::Collide(ColliderOf(*a), ColliderOf(*b)));
    EXPECT_EQ(Calls().calls, (std::vector<std::string>{"a:collision:b", "b:collision:a"}));
}

TEST_F(ColliderTest, StatusGainedByAnEntityWithoutBehaviourIsAnnouncedToTheGiver)
{
    auto a = Ball("a", {0.0f, 0.0f}, 10.0f, {.rigid = false, .behavior = false});
    auto b = Ball("b", {15.0f, 0.0f}, 10.0f, {.rigid = false});
    test::AddStatus(*a, StatusBit(StatusFlag::Ignite), 0, 0);
    test::AddStatus(*b, 0, 0, StatusBit(StatusFlag::Ignite));
    ASSERT_TRUE(Collider::Collide(ColliderOf(*a), ColliderOf(*b)));
    EXPECT_EQ(Calls().calls, (std::vector<std::string>{"b:gained:1", "b:collision:a"}));
}

TEST_F(ColliderTest, AFastBallIsStoppedAtTheWallInsteadOfTunnelling)
{
    const LineBuffer walls = WallAt(100.0f);
    auto ball = Ball("ball", {500.0f, 0.0f}, 10.0f, {.velocity = {24000.0f, 0.0f}});
    ColliderOf(*ball).SetRestitution(0.0f);
    Moved(*ball, {50.0f, 0.0f}, {500.0f, 0.0f});

    EXPECT_FALSE(Collider::CollideWalls(ColliderOf(*ball), walls)) << "resolved on the first pass";
    EXPECT_LT(ball->GetTransform().GetTranslation().x + 10.0f, 100.0f);
    EXPECT_GT(ball->GetTransform().GetTranslation().x, 80.0f) << "slid up to the wall, not sent home";
    EXPECT_EQ(PhysicsOf(*ball).GetVelocity().x, 0.0f);
    EXPECT_EQ(Calls().calls, (std::vector<std::string>{"ball:collision:wall"}));

    // Bouncing with restitution 1 reflects the velocity.
    Calls().Clear();
    PhysicsOf(*ball).SetVelocity({300.0f, 40.0f});
    ColliderOf(*ball).SetRestitution(1.0f);
    Moved(*ball, {50.0f, 0.0f}, {150.0f, 0.0f});
    Collider::CollideWalls(ColliderOf(*ball), walls);
    EXPECT_EQ(PhysicsOf(*ball).GetVelocity(), glm::vec2(-300.0f, 40.0f));
    EXPECT_LT(ball->GetTransform().GetTranslation().x, 90.0f);
}

TEST_F(ColliderTest, DisabledCollidersStillSlideOnWallsButOnlyRigidOnes)
{
    const LineBuffer walls = WallAt(100.0f);
    auto ghost = Ball("ghost", {150.0f, 0.0f});
    ColliderOf(*ghost).SetEnabled(false);
    Moved(*ghost, {50.0f, 0.0f}, {150.0f, 0.0f});
    Collider::CollideWalls(ColliderOf(*ghost), walls);
    EXPECT_LT(ghost->GetTransform().GetTranslation().x, 90.0f);

    auto soft = Ball("soft", {150.0f, 0.0f}, 10.0f, {.rigid = false});
    Moved(*soft, {50.0f, 0.0f}, {150.0f, 0.0f});
    EXPECT_FALSE(Collider::CollideWalls(ColliderOf(*soft), walls));
    EXPECT_EQ(soft->GetTransform().GetTranslation(), glm::vec2(150.0f, 0.0f));
}

TEST_F(ColliderTest, FivePassesWithoutEscapeSendTheBodyBack)
{
    // Restitution -1 keeps almost the whole push, so the body stays across the wall.
    const LineBuffer walls = WallAt(100.0f);
    auto ball = Ball("ball", {150.0f, 0.0f}, 10.0f, {.velocity = {600.0f, 10.0f}});
    ColliderOf(*ball).SetRestitution(-1.0f);
    Moved(*ball, {50.0f, 0.0f}, {150.0f, 0.0f});
    EXPECT_TRUE(Collider::CollideWalls(ColliderOf(*ball), walls));
    EXPECT_EQ(ball->GetTransform().GetTranslation(), glm::vec2(50.0f, 0.0f));
    EXPECT_EQ(PhysicsOf(*ball).GetVelocity(), glm::vec2(0.0f));
    EXPECT_EQ(Calls().calls.size(), 5u);
}

TEST_F(ColliderTest, PointsAndPolygonsSweepAgainstWallsToo)
{
    // Points sweep back from where they are to where they were, so this wall faces left.
    LineBuffer facingLeft;
    facingLeft._lines = {{{100.0f, 100.0f}, {100.0f, -100.0f}}};
    auto dot = test::Body("dot", {150.0f, 0.0f}, std::make_unique<Point>());
    Moved(*dot, {50.0f, 0.0f}, {150.0f, 0.0f});
    Collider::CollideWalls(ColliderOf(*dot), facingLeft);
    EXPECT_LT(dot->GetTransform().GetTranslation().x, 100.0f);

    auto box = test::Body("box", {150.0f, 0.0f},
                          std::make_unique<Polygon>(std::initializer_list<glm::vec2>{
                              {-5.0f, -5.0f}, {5.0f, -5.0f}, {5.0f, 5.0f}, {-5.0f, 5.0f}}));
    ColliderOf(*box).SetRestitution(0.0f);
    Moved(*box, {50.0f, 0.0f}, {150.0f, 0.0f});
    Collider::CollideWalls(ColliderOf(*box), WallAt(100.0f));
    EXPECT_LE(box->GetTransform().GetTranslation().x + 5.0f, 100.0f);
    EXPECT_GT(box->GetTransform().GetTranslation().x + 5.0f, 98.0f);
}
