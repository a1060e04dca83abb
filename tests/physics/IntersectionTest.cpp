#include "TestSupport.h"

#include "physics/BoundingRectangle.h"
#include "physics/Circle.h"
#include "physics/Intersection.h"
#include "physics/LineBuffer.h"
#include "physics/Point.h"
#include "physics/Polygon.h"
#include "physics/WallIndex.h"

#include <cstdlib>

using namespace intersect;

namespace
{
// Along the x axis from 0 to 10; its normal is (0, -1), so only downward crossings count.
const LineSegment kFloor{{0.0f, 0.0f}, {10.0f, 0.0f}};

Polygon Square(const glm::vec2& center, float half)
{
    return Polygon({center + glm::vec2(-half, -half), center + glm::vec2(half, -half), center + glm::vec2(half, half),
                    center + glm::vec2(-half, half)});
}

// A hit with this normal and depth and, for a sweep, this time of contact.
::testing::AssertionResult Hit(const CollisionResult& r, glm::vec2 normal, float depth, float time = -1.0f)
{
    if (r._hit && glm::distance(r._normal, normal) < 1e-5f && std::fabs(r._depth - depth) < 1e-4f &&
        (time < 0.0f || std::fabs(r._time - time) < 1e-6f))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "hit " << r._hit << ", normal (" << r._normal.x << ", " << r._normal.y
                                         << "), depth " << r._depth << ", time " << r._time;
}

LineBuffer Lines(std::initializer_list<LineSegment> lines)
{
    LineBuffer buffer;
    buffer._lines = lines;
    return buffer;
}
} // namespace

TEST(Sweep, PointsAndCirclesAgainstSegmentsAreOneSidedAndIncludeTheEnds)
{
    EXPECT_TRUE(Hit(PointSegment({5.0f, 5.0f}, {5.0f, -5.0f}, kFloor), {0.0f, -1.0f}, 5.0f, 0.5f));

    EXPECT_FALSE(PointSegment({5.0f, -5.0f}, {5.0f, 5.0f}, kFloor)._hit) << "crossing from the back side";
    EXPECT_FALSE(PointSegment({-5.0f, 1.0f}, {15.0f, 1.0f}, kFloor)._hit) << "moving parallel";
    EXPECT_TRUE(PointSegment({10.0f, 5.0f}, {10.0f, -5.0f}, kFloor)._hit) << "grazing the end point";
    EXPECT_FALSE(PointSegment({10.01f, 5.0f}, {10.01f, -5.0f}, kFloor)._hit);
    EXPECT_FALSE(PointSegment({5.0f, 5.0f}, {5.0f, 1.0f}, kFloor)._hit) << "stopping short";

    EXPECT_TRUE(Hit(PointCircle({-10.0f, 0.0f}, {10.0f, 0.0f}, {0.0f, 0.0f}, 5.0f), {1.0f, 0.0f}, 15.0f, 0.25f))
        << "the normal points toward the centre";
    const CollisionResult out = PointCircle({0.0f, 0.0f}, {10.0f, 0.0f}, {0.0f, 0.0f}, 5.0f);
    EXPECT_FLOAT_EQ(out._time, 0.5f) << "a point inside meets the rim on the way out";

    EXPECT_FALSE(PointCircle({10.0f, 0.0f}, {20.0f, 0.0f}, {0.0f, 0.0f}, 5.0f)._hit) << "moving away";
    EXPECT_FALSE(PointCircle({-10.0f, 6.0f}, {10.0f, 6.0f}, {0.0f, 0.0f}, 5.0f)._hit) << "passing beside";
    EXPECT_EQ(PointCircle({-2.0f, 0.0f}, {2.0f, 0.0f}, {0.0f, 0.0f}, 0.0f)._normal, glm::vec2(1.0f, 0.0f))
        << "a circle of no size still gives a direction";

    EXPECT_TRUE(Hit(CircleSegment({5.0f, 10.0f}, {5.0f, -10.0f}, 2.0f, kFloor), {0.0f, -1.0f}, 12.0f, 0.4f));

    // Just past the start, the rounded end decides.
    const CollisionResult corner = CircleSegment({-1.0f, 10.0f}, {-1.0f, -10.0f}, 2.0f, kFloor);
    ASSERT_TRUE(corner._hit);
    EXPECT_NEAR(corner._time, (10.0f - std::sqrt(3.0f)) / 20.0f, 1e-5f);
    EXPECT_NEAR(corner._normal.x, 0.5f, 1e-5f);
    EXPECT_FALSE(CircleSegment({-3.0f, 10.0f}, {-3.0f, -10.0f}, 2.0f, kFloor)._hit) << "clear of the end";

    EXPECT_FALSE(CircleSegment({5.0f, -10.0f}, {5.0f, 10.0f}, 2.0f, kFloor)._hit) << "from the back side";
    EXPECT_FALSE(CircleSegment({-10.0f, 1.0f}, {20.0f, 1.0f}, 2.0f, kFloor)._hit) << "parallel, overlapping";
    // One frame's movement far past the wall is still caught at the wall.
    const CollisionResult fast = CircleSegment({5.0f, 10.0f}, {5.0f, -5000.0f}, 2.0f, kFloor);
    EXPECT_NEAR(10.0f - 5010.0f * fast._time, 2.0f, 1e-2f) << "stopped one radius before the wall";
}

TEST(LineBufferTests, EarliestContactForBodiesFirstLineForPoints)
{
    // Vertical walls crossed left to right: normal (1, 0).
    const LineBuffer walls = Lines({{{30.0f, -50.0f}, {30.0f, 50.0f}}, {{20.0f, -50.0f}, {20.0f, 50.0f}}});
    EXPECT_FLOAT_EQ(LineBufferCircle(walls, Circle({40.0f, 0.0f}, 2.0f), {0.0f, 0.0f})._time, 18.0f / 40.0f)
        << "the nearer wall, though listed second";
    EXPECT_FALSE(LineBufferCircle(walls, Circle({40.0f, 0.0f}, 2.0f), {40.0f, 0.0f})._hit) << "did not move";

    // A point sweeps from where it is back to where it was.
    const LineBuffer backwards = Lines({{{20.0f, 50.0f}, {20.0f, -50.0f}}, {{30.0f, 50.0f}, {30.0f, -50.0f}}});
    EXPECT_FLOAT_EQ(LineBufferPoint(backwards, Point({40.0f, 0.0f}), {0.0f, 0.0f})._time, 0.5f)
        << "the first line listed, not the nearest";
    EXPECT_FALSE(LineBufferPoint(walls, Point({40.0f, 0.0f}), {0.0f, 0.0f})._hit);

    // A polygon's corners cross the wall...
    const LineBuffer wall = Lines({{{10.0f, -20.0f}, {10.0f, 20.0f}}});
    EXPECT_TRUE(Hit(LineBufferPolygon(wall, Square({11.0f, 0.0f}, 2.0f), {-4.0f, 0.0f}), {1.0f, 0.0f}, 3.0f, 0.25f));
    // ...or a wall's start point enters a clockwise polygon's side, normal turned around.
    const Polygon clockwise({{9.0f, -2.0f}, {9.0f, 2.0f}, {13.0f, 2.0f}, {13.0f, -2.0f}});
    const CollisionResult end = LineBufferPolygon(Lines({{{12.0f, 0.0f}, {30.0f, 0.0f}}}), clockwise, {-4.0f, 0.0f});
    EXPECT_FLOAT_EQ(end._time, 0.75f);
    EXPECT_EQ(end._normal, glm::vec2(1.0f, 0.0f));
}

// Line-buffer tests skip lines that are plainly out of reach, and with an index try
// only the lines near the path; neither may change a result compared with trying
// every line. The index grid is smaller than the scene, so edge cells are clamped.
TEST(LineBufferTests, SkippingDistantLinesNeverChangesTheResult)
{
    std::srand(7);
    auto random = [](float range) { return (static_cast<float>(std::rand()) / RAND_MAX - 0.5f) * range; };
    int hits = 0;
    for (int trial = 0; trial < 400; ++trial)
    {
        LineBuffer walls;
        for (int i = 0; i < 12; ++i)
        {
            const glm::vec2 s(random(400.0f), random(400.0f));
            walls._lines.push_back({s, s + glm::vec2(random(120.0f), random(120.0f))});
        }
        const glm::vec2 old(random(400.0f), random(400.0f));
        const glm::vec2 now = old + glm::vec2(random(150.0f), random(150.0f));
        const float radius = std::fabs(random(40.0f));
        const Polygon placed = Square(now, radius);

        CollisionResult circleAll, pointAll, polygonAll;
        for (const LineSegment& line : walls._lines)
        {
            const CollisionResult c = CircleSegment(old, now, radius, line);
            if (c._hit && c._time < circleAll._time)
                circleAll = c;
            const CollisionResult p = PointSegment(now, old, line);
            if (p._hit && !pointAll._hit)
                pointAll = p;
            for (const LineSegment& side : placed._sides)
            {
                const CollisionResult a = PointSegment(side._end + (old - now), side._end, line);
                if (a._hit && a._time < polygonAll._time)
                    polygonAll = a;
                CollisionResult b = PointSegment(line._start - (old - now), line._start, side);
                if (b._hit && b._time < polygonAll._time)
                    polygonAll = {true, -b._normal, b._depth, b._time};
            }
        }
        WallIndex index;
        index.Build(walls, {{-150.0f, -150.0f}, {37.0f, 37.0f}, 8, 8});
        for (const WallIndex* used : std::initializer_list<const WallIndex*>{nullptr, &index})
        {
            const CollisionResult circle = LineBufferCircle(walls, Circle(now, radius), old, used);
            const CollisionResult polygon = LineBufferPolygon(walls, placed, old - now, used);
            ASSERT_EQ(circle._time, circleAll._time) << trial;
            ASSERT_EQ(LineBufferPoint(walls, Point(now), old, used)._time, pointAll._time) << trial;
            ASSERT_EQ(polygon._time, polygonAll._time) << trial;
            ASSERT_EQ(polygon._normal, polygonAll._normal) << trial;
            hits += circle._hit + polygon._hit;
        }
    }
    EXPECT_GT(hits, 50) << "the random scenes must exercise hits too";

    LineBuffer walls = Lines({{{150.0f, 150.0f}, {160.0f, 160.0f}}});
    WallIndex index;
    index.Build(walls, {{0.0f, 0.0f}, {100.0f, 100.0f}, 4, 4});
    walls._lines.push_back({{250.0f, 350.0f}, {250.0f, 390.0f}});
    EXPECT_FALSE(index.Covers(walls));
    EXPECT_TRUE(LineBufferCircle(walls, Circle({260.0f, 370.0f}, 2.0f), {240.0f, 370.0f}, &index)._hit);
}

TEST(Overlap, CirclesPointsAndPolygons)
{
    EXPECT_TRUE(Hit(CircleCircle(Circle({0.0f, 0.0f}, 10.0f), Circle({19.0f, 0.0f}, 10.0f)), {1.0f, 0.0f}, 1.1f));
    EXPECT_FALSE(CircleCircle(Circle({0.0f, 0.0f}, 10.0f), Circle({20.0f, 0.0f}, 10.0f))._hit);
    EXPECT_FLOAT_EQ(glm::length(CircleCircle(Circle({3.0f, 3.0f}, 1.0f), Circle({3.0f, 3.0f}, 1.0f))._normal), 1.0f)
        << "concentric circles still get a unit normal";

    EXPECT_FALSE(CirclePoint(Circle({0.0f, 0.0f}, 10.0f), Point({10.0f, 0.0f}))._hit) << "on the rim";
    EXPECT_TRUE(Hit(CirclePoint(Circle({0.0f, 0.0f}, 10.0f), Point({0.0f, 6.0f})), {0.0f, 1.0f}, 4.0f))
        << "from the circle toward the point";

    const Polygon a = Square({0.0f, 0.0f}, 5.0f);
    EXPECT_TRUE(Hit(PolygonPolygon(a, Square({8.0f, 0.0f}, 5.0f)), {1.0f, 0.0f}, 2.0f));
    EXPECT_EQ(PolygonPolygon(a, Square({1.0f, -9.0f}, 5.0f))._normal, glm::vec2(0.0f, -1.0f));
    EXPECT_FALSE(PolygonPolygon(a, Square({11.0f, 0.0f}, 5.0f))._hit);

    EXPECT_TRUE(Hit(PolygonCircle(a, Circle({-12.0f, 0.0f}, 8.0f)), {-1.0f, 0.0f}, 1.0f));
    // Near a corner only the axis through the nearest vertex separates.
    const CollisionResult corner = PolygonCircle(a, Circle({9.0f, 9.0f}, 6.0f));
    EXPECT_NEAR(corner._normal.x, std::sqrt(0.5f), 1e-5f);
    EXPECT_NEAR(corner._depth, 6.0f - std::sqrt(32.0f), 1e-4f);
    EXPECT_FALSE(PolygonCircle(a, Circle({10.0f, 10.0f}, 6.0f))._hit);

    // A point inside leaves through the nearest side, like a point inside a circle.
    EXPECT_TRUE(Hit(PolygonPoint(a, Point({4.0f, -1.0f})), {1.0f, 0.0f}, 1.0f));
    EXPECT_EQ(PolygonPoint(a, Point({-1.0f, -4.5f}))._normal, glm::vec2(0.0f, -1.0f));
    EXPECT_FALSE(PolygonPoint(a, Point({6.0f, 0.0f}))._hit);

    // Fewer than three sides never collide as the first shape.
    Polygon two;
    two._sides = {{{-5.0f, 0.0f}, {5.0f, 0.0f}}, {{5.0f, 0.0f}, {-5.0f, 0.0f}}};
    EXPECT_FALSE(PolygonPolygon(two, a)._hit);
    EXPECT_FALSE(PolygonCircle(two, Circle({0.0f, 0.0f}, 3.0f))._hit);
    EXPECT_FALSE(PolygonPoint(two, Point({0.0f, 0.0f}))._hit);

    const Polygon square = Square({0.0f, 0.0f}, 5.0f);
    const Circle disc({2.0f, 0.0f}, 5.0f);
    const Point dot({1.0f, 1.0f});
    const BoundingRectangle box({0.0f, 0.0f}, {10.0f, 10.0f});
    const PriorMotion still;
    EXPECT_TRUE(Shapes(square, disc, still)._hit);
    EXPECT_FALSE(Shapes(disc, square, still)._hit) << "the higher type first has no test";
    EXPECT_TRUE(Shapes(disc, dot, still)._hit);
    EXPECT_FALSE(Shapes(square, box, still)._hit);

    const LineBuffer wall = Lines({{{10.0f, -20.0f}, {10.0f, 20.0f}}});
    EXPECT_FALSE(Shapes(wall, wall, still)._hit);
    EXPECT_TRUE(Shapes(wall, Circle({20.0f, 0.0f}, 1.0f), {{-6.0f, 0.0f}, {0.0f, 0.0f}})._hit);
    EXPECT_TRUE(Shapes(wall, Square({11.0f, 0.0f}, 2.0f), {{-6.0f, 0.0f}, {0.0f, 0.0f}})._hit);
}
