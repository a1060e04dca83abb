#include "TestSupport.h"

#include "physics/Intersection.h"
#include "physics/TileWalls.h"

#include <string>

namespace
{
// A layer from rows of characters, top row first: '#' is a wall tile, anything else empty.
TileLayer Layer(std::initializer_list<std::string> rows)
{
    const auto height = static_cast<std::uint32_t>(rows.size());
    const auto width = static_cast<std::uint32_t>(rows.begin()->size());
    std::vector<std::uint32_t> tiles;
    for (const std::string& row : rows)
        for (const char c : row)
            tiles.push_back(c == '#' ? 3u : 0u);
    TileLayer layer;
    EXPECT_TRUE(layer.Fill(width, height, tiles));
    return layer;
}

std::vector<LineSegment> Walls(TileLayer& layer, float scale = 10.0f, glm::vec2 offset = glm::vec2(0.0f))
{
    std::vector<LineSegment> walls;
    tilewalls::Build(layer, scale, offset, walls);
    return walls;
}

::testing::AssertionResult Is(const LineSegment& s, glm::vec2 start, glm::vec2 end)
{
    if (s._start == start && s._end == end)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << s._start.x << ", " << s._start.y << ") -> (" << s._end.x << ", "
                                         << s._end.y << ")";
}

// Twice the signed area of the closed loop the segments make; negative is clockwise.
float LoopArea(const std::vector<LineSegment>& loop)
{
    float area = 0.0f;
    for (const LineSegment& s : loop)
        area += s._start.x * s._end.y - s._end.x * s._start.y;
    return area;
}
} // namespace

TEST(TileWalls, ASingleWallTileIsEnclosedByFourClockwiseSegments)
{
    TileLayer layer = Layer({"...", ".#.", "..."});
    const std::vector<LineSegment> walls = Walls(layer);
    ASSERT_EQ(walls.size(), 4u);
    // The 3 x 3 map is centred on the origin, so the tile spans -5..5 on both axes.
    EXPECT_TRUE(Is(walls[0], {-5, 5}, {5, 5}));
    EXPECT_TRUE(Is(walls[1], {5, 5}, {5, -5}));
    EXPECT_TRUE(Is(walls[2], {5, -5}, {-5, -5}));
    EXPECT_TRUE(Is(walls[3], {-5, -5}, {-5, 5}));
    EXPECT_LT(LoopArea(walls), 0.0f);
    EXPECT_EQ(layer.At(1, 1)._sides, (std::array<std::int32_t, 4>{0, 1, 2, 3}));
    EXPECT_EQ(layer.At(0, 0)._sides, (std::array<std::int32_t, 4>{-1, -1, -1, -1}));

    // Every side stops what walks into the tile from the floor and lets out what is inside.
    for (const auto& [from, to] : {std::pair{glm::vec2(0, 12), glm::vec2(0, 2)},
                                   {glm::vec2(12, 0), glm::vec2(2, 0)},
                                   {glm::vec2(0, -12), glm::vec2(0, -2)},
                                   {glm::vec2(-12, 0), glm::vec2(-2, 0)}})
    {
        bool blocked = false, escapes = true;
        for (const LineSegment& s : walls)
        {
            blocked |= intersect::PointSegment(from, to, s)._hit;
            escapes &= !intersect::PointSegment(to, from, s)._hit;
        }
        EXPECT_TRUE(blocked) << from.x << ", " << from.y;
        EXPECT_TRUE(escapes) << from.x << ", " << from.y;
    }
}

TEST(TileWalls, StraightRunsMergeIntoOneSegmentPerSide)
{
    TileLayer row = Layer({".....", ".###.", "....."});
    std::vector<LineSegment> walls = Walls(row);
    ASSERT_EQ(walls.size(), 4u);
    EXPECT_TRUE(Is(walls[0], {-15, 5}, {15, 5})) << "top, three tiles long";
    EXPECT_TRUE(Is(walls[1], {15, -5}, {-15, -5})) << "bottom, three tiles long";
    EXPECT_TRUE(Is(walls[2], {-15, -5}, {-15, 5})) << "left end";
    EXPECT_TRUE(Is(walls[3], {15, 5}, {15, -5})) << "right end";
    EXPECT_LT(LoopArea(walls), 0.0f);
    for (std::uint32_t x = 1; x <= 3; ++x)
    {
        EXPECT_EQ(row.At(x, 1)._sides[TileCell::Top], 0) << "shared along the run";
        EXPECT_EQ(row.At(x, 1)._sides[TileCell::Bottom], 1);
    }

    TileLayer column = Layer({"...", ".#.", ".#.", ".#.", "..."});
    walls = Walls(column);
    ASSERT_EQ(walls.size(), 4u);
    EXPECT_TRUE(Is(walls[1], {5, 15}, {5, -15})) << "right, three tiles long";
    EXPECT_TRUE(Is(walls[2], {-5, -15}, {-5, 15})) << "left, three tiles long";
    EXPECT_LT(LoopArea(walls), 0.0f);

    // An L: the corner cell's sides join the runs of both arms.
    TileLayer corner = Layer({".....", ".#...", ".###.", "....."});
    walls = Walls(corner);
    EXPECT_EQ(walls.size(), 6u);
    EXPECT_LT(LoopArea(walls), 0.0f);
}

TEST(TileWalls, TheMapsBorderGetsNoSegments)
{
    TileLayer top = Layer({".#.", "...", "..."});
    std::vector<LineSegment> walls = Walls(top);
    ASSERT_EQ(walls.size(), 3u);
    EXPECT_EQ(top.At(1, 0)._sides[TileCell::Top], -1);
    for (const LineSegment& s : walls)
        EXPECT_FALSE(s._start.y == 15.0f && s._end.y == 15.0f) << "no segment along the top edge";

    // A room inside a ring of walls: the inner faces all exist and run clockwise around
    // the walls, so the loop seen from the room turns the other way.
    TileLayer room = Layer({"#####", "#...#", "#...#", "#####"});
    walls = Walls(room);
    ASSERT_EQ(walls.size(), 4u);
    EXPECT_GT(LoopArea(walls), 0.0f);
}
