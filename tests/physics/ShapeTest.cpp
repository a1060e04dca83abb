#include "TestSupport.h"

#include "debug/DebugLines.h"
#include "physics/BoundingRectangle.h"
#include "physics/Circle.h"
#include "physics/LineBuffer.h"
#include "physics/Point.h"
#include "physics/Polygon.h"

#include <glm/gtc/matrix_transform.hpp>

class ShapeTest : public test::ScratchTest
{
};

TEST_F(ShapeTest, FactoryMakesEmptyShapesOfEachType)
{
    for (std::uint32_t type = 0; type < shape::None; ++type)
    {
        auto s = CreateShape(type);
        ASSERT_NE(s, nullptr) << type;
        EXPECT_EQ(s->GetType(), type);
        EXPECT_EQ(s->Clone()->GetType(), type);
    }
    EXPECT_EQ(CreateShape(shape::None), nullptr);
    EXPECT_EQ(CreateShape(42), nullptr);
    const auto& box = static_cast<const BoundingRectangle&>(*CreateShape(shape::BoundingRectangle));
    EXPECT_EQ(box._left, 0.0f);
    EXPECT_EQ(BoundingRectangle({1.0f, 2.0f}, {3.0f, 4.0f})._top, 6.0f);
    EXPECT_EQ(BoundingRectangle({1.0f, 2.0f}, {3.0f, 4.0f})._left, -2.0f);
}

TEST_F(ShapeTest, JsonRoundTrips)
{
    LineBuffer empty;
    json j;
    empty.Write(j);
    EXPECT_EQ(j, "empty");
    LineBuffer lines;
    lines._lines = {{{1.0f, 2.0f}, {3.0f, 4.0f}}};
    lines.Read(j);
    EXPECT_TRUE(lines._lines.empty()) << "\"empty\" clears the buffer";

    lines.Read(json::parse(R"({"lines": [{"start": {"x": 1, "y": 2}, "end": {"x": 3}}]})"));
    ASSERT_EQ(lines._lines.size(), 1u);
    EXPECT_EQ(lines._lines[0]._end, glm::vec2(3.0f, 0.0f));
    json written;
    lines.Write(written);
    LineBuffer back;
    back.Read(written);
    ASSERT_EQ(back._lines.size(), 1u);
    EXPECT_EQ(back._lines[0]._start, glm::vec2(1.0f, 2.0f));
    EXPECT_THROW(back.Read(json("full")), json::type_error);
    EXPECT_THROW(back.Read(json::parse(R"({"lines": 3})")), json::type_error);

    // Reading a polygon appends, so an archetype's sides and a level's add up.
    Polygon polygon;
    const json sides = json::parse(R"({"sides": [{"start": {"x": 0, "y": 0}, "end": {"x": 1, "y": 0}}]})");
    polygon.Read(sides);
    polygon.Read(sides);
    EXPECT_EQ(polygon._sides.size(), 2u);
    json none;
    Polygon().Write(none);
    EXPECT_TRUE(none.is_null()) << "nothing is written for an empty polygon";

    // A rectangle takes its edges from the file as they are.
    BoundingRectangle box;
    box.Read(json::parse(R"({"center": {"x": 5, "y": 5}, "left": -1})"));
    EXPECT_EQ(box._left, -1.0f);
    EXPECT_EQ(box._right, 0.0f);
    json boxJson;
    box.Write(boxJson);
    EXPECT_EQ(boxJson.size(), 6u);

    Circle circle;
    circle.Read(json::parse(R"({"radius": 4, "center": {"x": 1}})"));
    json circleJson;
    circle.Write(circleJson);
    Circle circleBack;
    circleBack.Read(circleJson);
    EXPECT_EQ(circleBack._radius, 4.0f);
    EXPECT_EQ(circleBack._center, glm::vec2(1.0f, 0.0f));
    EXPECT_THROW(circleBack.Read(json::parse(R"({"radius": "big"})")), json::type_error);
}

TEST_F(ShapeTest, WorldPlacement)
{
    glm::mat4 m = glm::translate(glm::mat4(1.0f), glm::vec3(100.0f, 0.0f, 0.0f));
    m = glm::rotate(m, glm::radians(90.0f), glm::vec3(0.0f, 0.0f, 1.0f));
    m = glm::scale(m, glm::vec3(-2.0f, 2.0f, 1.0f));

    const Polygon local({{1.0f, 0.0f}, {0.0f, 1.0f}, {0.0f, 0.0f}});
    Polygon world({{9.0f, 9.0f}});
    world.PlaceFrom(local, m);
    ASSERT_EQ(world._sides.size(), 3u);
    EXPECT_NEAR(world._sides[0]._start.x, 100.0f, 1e-4f);
    EXPECT_NEAR(world._sides[0]._start.y, -2.0f, 1e-4f);

    Circle circle;
    circle.PlaceFrom(Circle({1.0f, 0.0f}, 3.0f), m, -2.0f);
    EXPECT_EQ(circle._radius, 6.0f) << "radius scaled by |scale.x|";
    EXPECT_NEAR(circle._center.y, -2.0f, 1e-4f);

    Point point;
    point.PlaceFrom(Point({1.0f, 1.0f}), {100.0f, 0.0f});
    EXPECT_EQ(point._center, glm::vec2(101.0f, 1.0f)) << "points only translate";

    LineBuffer lines;
    LineBuffer source;
    source._lines = {{{1.0f, 0.0f}, {0.0f, 0.0f}}};
    lines.PlaceFrom(source, m);
    EXPECT_NEAR(lines._lines[0]._start.y, -2.0f, 1e-4f);
}

TEST_F(ShapeTest, DebugDrawPushesOutlinesAndNormals)
{
    DebugLines& lines = DebugLines::Instance();
    Polygon({{0.0f, 0.0f}, {10.0f, 0.0f}, {10.0f, 10.0f}}).DebugDraw();
    ASSERT_EQ(lines.Segments().size(), 6u) << "each side and its normal";
    EXPECT_EQ(lines.Segments()[1]._start, glm::vec2(5.0f, 0.0f));
    EXPECT_EQ(lines.Segments()[1]._end, glm::vec2(5.0f, -10.0f));
    EXPECT_EQ(lines.Colours()[0], glm::vec4(0.0f, 1.0f, 0.0f, 1.0f));

    lines.Clear();
    Circle({1.0f, 2.0f}, 3.0f).DebugDraw();
    ASSERT_EQ(lines.Segments().size(), 32u);
    EXPECT_NEAR(lines.Segments()[0]._start.x, 4.0f, 1e-5f);
    EXPECT_NEAR(lines.Segments()[31]._end.x, 4.0f, 1e-4f) << "the circle closes";
    EXPECT_NEAR(lines.Segments()[8]._start.y, 5.0f, 1e-5f);

    lines.Clear();
    Point({1.0f, 1.0f}).DebugDraw();
    BoundingRectangle({0.0f, 0.0f}, {1.0f, 1.0f}).DebugDraw();
    EXPECT_TRUE(lines.Segments().empty());
    lines.DrawRectangle(0.0f, 4.0f, 2.0f, -2.0f, glm::vec4(1.0f));
    EXPECT_EQ(lines.Segments().size(), 4u);
    EXPECT_EQ(lines.Colours().size(), 4u);
}
