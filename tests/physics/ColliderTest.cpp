#include "TestSupport.h"
#include "physics/Bodies.h"

#include "physics/LineBuffer.h"
#include "physics/Point.h"

using test::Ball;
using test::ColliderOf;
using test::PhysicsOf;

class ColliderTest : public test::ScratchTest
{
protected:
    // A body that moved this frame from `from` to `to`.
    static void Moved(Entity& e, const glm::vec2& from, const glm::vec2& to)
    {
        PhysicsOf(e).SetOldPosition(from);
        e.GetTransform().SetTranslation(to);
        ColliderOf(e).Update(0.0f);
    }

    static float X(const Entity& e) { return e.GetTransform().GetTranslation().x; }

    static LineBuffer Line(const glm::vec2& start, const glm::vec2& end)
    {
        LineBuffer walls;
        walls._lines = {{start, end}};
        return walls;
    }

    // A vertical wall at x = 100, crossed from left to right; points sweep backwards,
    // so for them the same wall must face left.
    const LineBuffer _wall = Line({100.0f, -100.0f}, {100.0f, 100.0f});
    const LineBuffer _facingLeft = Line({100.0f, 100.0f}, {100.0f, -100.0f});
};

TEST_F(ColliderTest, ReadsWritesClonesAndReplacesItsShape)
{
    auto e = Entity::FromJson(json::parse(R"({"components": {"collider": {"type": 2, "static": true,
        "rigid": true, "restitution": 0.5, "shape": {"radius": 12, "center": {"x": 1, "y": 2}}}}})"),
                              "Data/Entity/crate.json");
    ASSERT_NE(e, nullptr);
    json j;
    ColliderOf(*e).Write(j);
    Collider reread;
    reread.Read(j);
    EXPECT_TRUE(reread.IsRigid());
    EXPECT_EQ(static_cast<const Circle*>(reread.GetLocalShape())->_radius, 12.0f);

    auto copy = e->Clone();
    copy->GetTransform().SetTranslation({50.0f, 0.0f});
    ColliderOf(*copy).Init();
    EXPECT_NE(ColliderOf(*copy).GetLocalShape(), ColliderOf(*e).GetLocalShape());
    EXPECT_EQ(static_cast<const Circle*>(ColliderOf(*copy).GetWorldShape())->_center, glm::vec2(51.0f, 2.0f));

    // Empty line buffers and polygons go out and come back.
    for (const char* text : {R"({"type": 0, "shape": "empty"})", R"({"type": 1})"})
    {
        Collider c;
        c.Read(json::parse(text));
        json out;
        c.Write(out);
        Collider back;
        EXPECT_NO_THROW(back.Read(out)) << out.dump();
        ASSERT_NE(back.GetLocalShape(), nullptr);
    }

    auto odd = Entity::FromJson(json::parse(R"({"components": {"collider": {"type": 9, "shape": {}}}})"),
                                "Data/Entity/odd.json");
    ASSERT_NE(odd, nullptr);
    EXPECT_EQ(ColliderOf(*odd).GetLocalShape(), nullptr);
    EXPECT_NE(test::ReadTrace().find("Data/Entity/odd.json: /components/collider/type: shape type 9"),
              std::string::npos);

    Collider c;
    c.Read(json::parse(R"({"type": 2, "shape": {"radius": 3}})"));
    c.Read(json::parse(R"({"type": 1})"));
    EXPECT_EQ(c.GetLocalShape()->GetType(), shape::Polygon);
    c.Read(json::parse(R"({"type": 5})"));
    EXPECT_EQ(c.GetLocalShape(), nullptr);
}

TEST_F(ColliderTest, RigidBodiesShareTheSeparationByMass)
{
    auto a = Ball("a", {0.0f, 0.0f});
    auto b = Ball("b", {19.0f, 0.0f});
    ColliderOf(*a).SetEnabled(false);
    EXPECT_FALSE(Collider::Collide(ColliderOf(*a), ColliderOf(*b)));
    ColliderOf(*a).SetEnabled(true);
    ColliderOf(*b).SetEnabled(false);
    EXPECT_FALSE(Collider::Collide(ColliderOf(*a), ColliderOf(*b)));
    EXPECT_TRUE(Calls().calls.empty());
    EXPECT_EQ(X(*a), 0.0f);

    ColliderOf(*b).SetEnabled(true);
    ASSERT_TRUE(Collider::Collide(ColliderOf(*a), ColliderOf(*b)));
    EXPECT_NEAR(X(*a), -0.55f, 1e-5f);
    EXPECT_NEAR(X(*b), 19.55f, 1e-4f);
    EXPECT_NEAR(static_cast<const Circle*>(ColliderOf(*b).GetWorldShape())->_center.x, 19.55f, 1e-4f);

    // A static body keeps its half; the other moves only its own.
    auto post = Ball("post", {0.0f, 0.0f});
    auto c = Ball("c", {19.0f, 0.0f});
    ColliderOf(*post).SetStatic(true);
    ASSERT_TRUE(Collider::Collide(ColliderOf(*post), ColliderOf(*c)));
    EXPECT_EQ(X(*post), 0.0f);
    EXPECT_NEAR(X(*c), 19.55f, 1e-4f);

    // Two massless bodies split the push evenly instead of going NaN.
    auto d = Ball("d", {0.0f, 0.0f}, 10.0f, {.mass = 0.0f, .velocity = {1.0f, 0.0f}});
    auto f = Ball("f", {19.0f, 0.0f}, 10.0f, {.mass = 0.0f});
    ASSERT_TRUE(Collider::Collide(ColliderOf(*d), ColliderOf(*f)));
    EXPECT_NEAR(X(*d), -0.55f, 1e-5f);
    EXPECT_TRUE(std::isfinite(PhysicsOf(*d).GetVelocity().x));

    // Restitution 1 gives the full elastic impulse, 2 * 15 / (1/2 + 1/4) = 40.
    auto g = Ball("g", {0.0f, 0.0f}, 10.0f, {.mass = 2.0f, .velocity = {10.0f, 0.0f}});
    auto h = Ball("h", {19.0f, 0.0f}, 10.0f, {.mass = 4.0f, .velocity = {-5.0f, 0.0f}});
    ASSERT_TRUE(Collider::Collide(ColliderOf(*g), ColliderOf(*h)));
    EXPECT_NEAR(PhysicsOf(*g).GetVelocity().x, -10.0f, 1e-4f);
    EXPECT_NEAR(PhysicsOf(*h).GetVelocity().x, 5.0f, 1e-4f);
    EXPECT_NEAR(X(*g), -1.1f * 4.0f / 6.0f, 1e-5f) << "the lighter body moves more";

    auto pillar = Ball("pillar", {0.0f, 0.0f}, 10.0f, {.physics = false});
    ColliderOf(*pillar).Update(0.0f);
    auto ball = Ball("ball", {19.0f, 0.0f});
    ASSERT_TRUE(Collider::Collide(ColliderOf(*pillar), ColliderOf(*ball)));
    EXPECT_EQ(X(*pillar), 0.0f);
    // Static with mass 1: the ball moves only its own share, 1.1 * (1 - 100 / 101).
    EXPECT_NEAR(X(*ball), 19.0f + 1.1f / 101.0f, 1e-4f);

    EXPECT_EQ(test::Count(test::ReadTrace(), "Collider of entity \"pillar\" is rigid but the entity has no Physics"),
              1u);
}

TEST_F(ColliderTest, StatusIsExchangedBothWaysBeforeTheCollisionHooks)
{
    auto a = Ball("a", {0.0f, 0.0f}, 10.0f, {.rigid = false});
    auto b = Ball("b", {15.0f, 0.0f}, 10.0f, {.rigid = false});
    test::AddStatus(*a, StatusBit(StatusFlag::Slice), 0, StatusBit(StatusFlag::Shock));
    test::AddStatus(*b, 0, StatusBit(StatusFlag::Shock), StatusBit(StatusFlag::Slice));
    ASSERT_TRUE(Collider::Collide(ColliderOf(*a), ColliderOf(*b)));
    EXPECT_EQ(Calls().calls, (std::vector<std::string>{"a:gained:3", "b:given:3", "b:gained:2", "a:given:2",
                                                       "a:collision:b", "b:collision:a"}));
    Calls().Clear();
    ASSERT_TRUE(Collider::Collide(ColliderOf(*a), ColliderOf(*b)));
    EXPECT_EQ(Calls().calls, (std::vector<std::string>{"a:collision:b", "b:collision:a"})) << "nothing new";

    // A receiver without a behaviour: the giver's behaviour is told of the gain.
    Calls().Clear();
    auto c = Ball("c", {0.0f, 0.0f}, 10.0f, {.rigid = false, .behavior = false});
    test::AddStatus(*c, StatusBit(StatusFlag::Ignite), 0, 0);
    test::AddStatus(*b, 0, 0, StatusBit(StatusFlag::Ignite));
    ASSERT_TRUE(Collider::Collide(ColliderOf(*c), ColliderOf(*b)));
    EXPECT_EQ(Calls().calls, (std::vector<std::string>{"b:gained:1", "b:collision:c"}));
}

TEST_F(ColliderTest, AFastBodySlidesToTheWallInsteadOfTunnelling)
{
    auto ball = Ball("ball", {500.0f, 0.0f}, 10.0f, {.velocity = {24000.0f, 0.0f}});
    ColliderOf(*ball).SetRestitution(0.0f);
    Moved(*ball, {50.0f, 0.0f}, {500.0f, 0.0f});
    EXPECT_FALSE(Collider::CollideWalls(ColliderOf(*ball), _wall)) << "resolved on the first pass";
    EXPECT_LT(X(*ball) + 10.0f, 100.0f);
    EXPECT_GT(X(*ball), 80.0f) << "slid up to the wall, not sent home";
    EXPECT_EQ(PhysicsOf(*ball).GetVelocity().x, 0.0f);
    EXPECT_EQ(Calls().calls, (std::vector<std::string>{"ball:collision:wall"}));

    // Restitution 1 reflects the velocity; a disabled collider still meets walls.
    ColliderOf(*ball).SetRestitution(1.0f);
    ColliderOf(*ball).SetEnabled(false);
    PhysicsOf(*ball).SetVelocity({300.0f, 40.0f});
    Moved(*ball, {50.0f, 0.0f}, {150.0f, 0.0f});
    Collider::CollideWalls(ColliderOf(*ball), _wall);
    EXPECT_EQ(PhysicsOf(*ball).GetVelocity(), glm::vec2(-300.0f, 40.0f));
    EXPECT_LT(X(*ball), 90.0f);

    auto soft = Ball("soft", {150.0f, 0.0f}, 10.0f, {.rigid = false});
    Moved(*soft, {50.0f, 0.0f}, {150.0f, 0.0f});
    EXPECT_FALSE(Collider::CollideWalls(ColliderOf(*soft), _wall)) << "only rigid bodies meet walls";
    EXPECT_EQ(X(*soft), 150.0f);

    // Restitution -1 undoes almost none of the push: after five passes still across
    // the wall, the body is sent back to where it was.
    Calls().Clear();
    auto stuck = Ball("stuck", {150.0f, 0.0f}, 10.0f, {.velocity = {600.0f, 10.0f}});
    ColliderOf(*stuck).SetRestitution(-1.0f);
    Moved(*stuck, {50.0f, 0.0f}, {150.0f, 0.0f});
    EXPECT_TRUE(Collider::CollideWalls(ColliderOf(*stuck), _wall));
    EXPECT_EQ(stuck->GetTransform().GetTranslation(), glm::vec2(50.0f, 0.0f));
    EXPECT_EQ(PhysicsOf(*stuck).GetVelocity(), glm::vec2(0.0f));
    EXPECT_EQ(Calls().calls.size(), 5u);

    auto dot = test::Body("dot", {150.0f, 0.0f}, std::make_unique<Point>());
    Moved(*dot, {50.0f, 0.0f}, {150.0f, 0.0f});
    Collider::CollideWalls(ColliderOf(*dot), _facingLeft);
    EXPECT_LT(X(*dot), 100.0f);

    auto box = test::Body("box", {150.0f, 0.0f},
                          std::make_unique<Polygon>(std::initializer_list<glm::vec2>{
                              {-5.0f, -5.0f}, {5.0f, -5.0f}, {5.0f, 5.0f}, {-5.0f, 5.0f}}));
    ColliderOf(*box).SetRestitution(0.0f);
    Moved(*box, {50.0f, 0.0f}, {150.0f, 0.0f});
    Collider::CollideWalls(ColliderOf(*box), _wall);
    EXPECT_LE(X(*box) + 5.0f, 100.0f);
    EXPECT_GT(X(*box) + 5.0f, 98.0f);
}

TEST_F(ColliderTest, RigidLinesPushABodyBackToTheSideItCameFromOrItsOwnCentre)
{
    auto walls = test::Body("walls", {0.0f, 0.0f}, std::make_unique<LineBuffer>(_wall), {.physics = false});
    ColliderOf(*walls).SetStatic(true);

    // Swept 55 units into a wall 10 units from its start: 15 units too far.
    auto ball = Ball("ball", {105.0f, 0.0f}, 10.0f, {.velocity = {600.0f, 0.0f}});
    Moved(*ball, {50.0f, 0.0f}, {105.0f, 0.0f});
    ASSERT_TRUE(Collider::Collide(ColliderOf(*walls), ColliderOf(*ball)));
    EXPECT_NEAR(X(*ball), 90.0f, 1e-3f) << "back out, the whole way";
    EXPECT_NEAR(PhysicsOf(*ball).GetVelocity().x, -600.0f, 1e-2f) << "bounced as off a wall";

    // Points sweep the other way round and must end on their own side too.
    auto fence = test::Body("fence", {0.0f, 0.0f}, std::make_unique<LineBuffer>(_facingLeft), {.physics = false});
    auto dot = test::Body("dot", {150.0f, 0.0f}, std::make_unique<Point>());
    Moved(*dot, {50.0f, 0.0f}, {150.0f, 0.0f});
    ASSERT_TRUE(Collider::Collide(ColliderOf(*fence), ColliderOf(*dot)));
    EXPECT_LE(X(*dot), 100.0f);

    // An off-centre circle, 80 units right of its entity, sweeps from its own earlier
    // centre: a wall between the two is never met.
    const LineBuffer between = Line({40.0f, -100.0f}, {40.0f, 100.0f});
    auto offset = test::Body("offset", {5.0f, 0.0f}, std::make_unique<Circle>(glm::vec2(80.0f, 0.0f), 10.0f));
    Moved(*offset, {0.0f, 0.0f}, {5.0f, 0.0f});
    EXPECT_FALSE(Collider::CollideWalls(ColliderOf(*offset), between)) << "the circle never came near it";
    EXPECT_EQ(X(*offset), 5.0f);

    // The rim crosses the wall at x = 100 and slides back to it.
    Moved(*offset, {0.0f, 0.0f}, {15.0f, 0.0f});
    ColliderOf(*offset).SetRestitution(0.0f);
    Collider::CollideWalls(ColliderOf(*offset), _wall);
    EXPECT_NEAR(X(*offset) + 80.0f + 10.0f, 100.0f, 0.1f);
}
