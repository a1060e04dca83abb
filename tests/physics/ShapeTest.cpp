#include "TestSupport.h"

#include "core/DebugLines.h"
#include "physics/BoundingRectangle.h"
#include "physics/Circle.h"
#include "physics/LineBuffer.h"
#include "physics/Point.h"
#include "physics/Polygon.h"

#include <glm/gtc/matrix_transform.hpp>
#include <nlohmann/json.hpp>

using ShapeTest = test::ScratchTest;

TEST_F(ShapeTest, FactoryJsonFormsAndWorldPlacement)
{
    for (std::uint32_t type = 0; type < shape::None; ++type)
        EXPECT_EQ(CreateShape(type)->GetType(), type);
    EXPECT_EQ(CreateShape(shape::None), nullptr);
    EXPECT_EQ(CreateShape(42), nullptr);

    LineBuffer lines;
    lines.Read(json::parse(R"({"lines": [{"start": {"x": 1, "y": 2}, "end": {"x": 3}}]})"));
    ASSERT_EQ(lines._lines.size(), 1u);
    json j;
    LineBuffer().Write(j);
    EXPECT_EQ(j, "empty");
    lines.Read(j);
    EXPECT_TRUE(lines._lines.empty()) << "\"empty\" reads back as an empty buffer";
    EXPECT_THROW(lines.Read(json("full")), json::type_error);

    // Reading a polygon appends, so an archetype's sides and a level's add up.
    Polygon polygon;
    const json sides = json::parse(R"({"sides": [{"start": {"x": 0, "y": 0}, "end": {"x": 1, "y": 0}}]})");
    polygon.Read(sides);
    polygon.Read(sides);
    EXPECT_EQ(polygon._sides.size(), 2u);

    // A rectangle takes its edges from the file as they are.
    BoundingRectangle box;
    box.Read(json::parse(R"({"center": {"x": 5, "y": 5}, "left": -1})"));
    EXPECT_EQ(box._left, -1.0f);
    EXPECT_EQ(box._right, 0.0f);

    glm::mat4 m = glm::translate(glm::mat4(1.0f), glm::vec3(100.0f, 0.0f, 0.0f));
    m = glm::rotate(m, glm::radians(90.0f), glm::vec3(0.0f, 0.0f, 1.0f));
    m = glm::scale(m, glm::vec3(-2.0f, 2.0f, 1.0f));

    Polygon world({{9.0f, 9.0f}});
    world.PlaceFrom(Polygon({{1.0f, 0.0f}, {0.0f, 1.0f}, {0.0f, 0.0f}}), m);
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
}
