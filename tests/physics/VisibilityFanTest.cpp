#include "physics/VisibilityFan.h"

#include <glm/geometric.hpp>
#include <gmock/gmock.h>

#include <algorithm>
#include <random>

namespace
{
LineSegment Wall(glm::vec2 start, glm::vec2 end)
{
    return {start, end};
}

bool HasPoint(const std::vector<glm::vec2>& fan, glm::vec2 p, float tolerance = 0.01f)
{
    return std::any_of(fan.begin(), fan.end(), [&](const glm::vec2& v) { return glm::distance(v, p) < tolerance; });
}

FanWork Build(const std::vector<LineSegment>& walls, glm::vec2 origin = {0.0f, 0.0f}, FanSettings settings = {})
{
    FanWork work;
    fan::Build(origin, walls, settings, work);
    return work;
}

// The outline of a w x h box of tiles at `corner`, wound so that rays from inside hit it.
void Room(std::vector<LineSegment>& walls, glm::vec2 corner, glm::vec2 size)
{
    const glm::vec2 a = corner;
    const glm::vec2 b = corner + glm::vec2(size.x, 0.0f);
    const glm::vec2 c = corner + size;
    const glm::vec2 d = corner + glm::vec2(0.0f, size.y);
    walls.push_back(Wall(b, a));
    walls.push_back(Wall(c, b));
    walls.push_back(Wall(d, c));
    walls.push_back(Wall(a, d));
}
} // namespace

TEST(VisibilityFanTest, CrossingIsOneSidedAndStopsAtTheEnds)
{
    // Heading west along y = 100: its left is the south, where the origin stands.
    const LineSegment wall = Wall({100, 100}, {-100, 100});
    const auto hit = fan::Crossing(wall, {0, 0}, {0, 200});
    ASSERT_TRUE(hit.has_value());
    EXPECT_NEAR(hit->x, 0.0f, 1e-4f);
    EXPECT_NEAR(hit->y, 100.0f, 1e-4f);

    EXPECT_FALSE(fan::Crossing(Wall({-100, 100}, {100, 100}), {0, 0}, {0, 200})) << "seen from its right side";
    EXPECT_FALSE(fan::Crossing(wall, {0, 0}, {0, 100})) << "a ray ending on the wall does not cross it";
    EXPECT_FALSE(fan::Crossing(wall, {0, 0}, {300, 200})) << "passes beside its end";
    EXPECT_FALSE(fan::Crossing(wall, {0, 0}, {50, 0})) << "parallel";
}

TEST(VisibilityFanTest, WithoutWallsInReachTheFanIsTheOriginAlone)
{
    EXPECT_EQ(Build({})._fan, std::vector<glm::vec2>{glm::vec2(0.0f)});

    FanSettings near;
    near._cullDist = 100.0f;
    const FanWork far = Build({Wall({300, 150}, {-300, 150})}, {0, 0}, near);
    EXPECT_TRUE(far._segments.empty());
    EXPECT_EQ(far._fan.size(), 1u);
}

TEST(VisibilityFanTest, AHiddenEndpointGivesNoSamplesUnlessTheWallInFrontFacesAway)
{
    const LineSegment behind = Wall({50, 200}, {-50, 200});
    const FanWork hidden = Build({Wall({300, 100}, {-300, 100}), behind});
    EXPECT_EQ(hidden._fan.size(), 5u) << "the origin and two samples at each end of the front wall";
    EXPECT_FALSE(HasPoint(hidden._fan, behind._start));
    EXPECT_FALSE(HasPoint(hidden._fan, behind._end));

    // The same front wall seen from its right side hides nothing.
    const FanWork open = Build({Wall({-300, 100}, {300, 100}), behind});
    EXPECT_EQ(open._fan.size(), 9u);
    EXPECT_TRUE(HasPoint(open._fan, behind._start));
    EXPECT_TRUE(HasPoint(open._fan, behind._end));
}

TEST(VisibilityFanTest, RaysBesideAnEndReachTheWallBehindAndTheFanIsSortedByAngle)
{
    const FanWork work = Build({Wall({100, 100}, {-100, 100}), Wall({1000, 500}, {-1000, 500})});
    // The ray 0.3 degrees clockwise of the near wall's (100, 100) end misses it and
    // stops on the far wall.
    const float x = 500.0f / std::tan((45.0f - 0.3f) * 0.017453292f);
    EXPECT_TRUE(HasPoint(work._fan, {x, 500.0f}, 0.05f));
    EXPECT_TRUE(HasPoint(work._fan, {-x, 500.0f}, 0.05f));
    EXPECT_EQ(work._fan.front(), glm::vec2(0.0f));
    ASSERT_EQ(work._hits.size() + 1, work._fan.size());
    EXPECT_TRUE(std::is_sorted(work._hits.begin(), work._hits.end(),
                               [](const FanHit& a, const FanHit& b) { return a._angle < b._angle; }));
    for (std::size_t i = 0; i < work._hits.size(); ++i)
        EXPECT_EQ(work._hits[i]._point, work._fan[i + 1]);
}

TEST(VisibilityFanTest, TheBucketedBuildMatchesTheAllWallsBuildExactly)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-1500.0f, 1500.0f);
    FanWork fast;
    FanWork plain;
    for (int round = 0; round < 100; ++round)
    {
        std::vector<LineSegment> walls;
        if (round % 2 == 0)
        {
            // Tile-like rooms: shared corners and collinear walls, where ties happen.
            for (int r = 0; r < 6; ++r)
                Room(walls,
                     {std::floor(coordinate(random) / 64.0f) * 64.0f, std::floor(coordinate(random) / 64.0f) * 64.0f},
                     {64.0f * static_cast<float>(1 + r % 4), 64.0f * static_cast<float>(1 + r % 3)});
        }
        else
        {
            for (int w = 0; w < 60; ++w)
                walls.push_back(
                    Wall({coordinate(random), coordinate(random)}, {coordinate(random), coordinate(random)}));
        }
        for (int o = 0; o < 5; ++o)
        {
            // Some origins sit exactly on a wall's line or on a corner.
            const glm::vec2 origin = o == 0   ? walls[0]._start
                                     : o == 1 ? (walls[1]._start + walls[1]._end) * 0.5f
                                              : glm::vec2(coordinate(random), coordinate(random));
            fan::Build(origin, walls, {}, fast);
            fan::BuildPlain(origin, walls, {}, plain);
            ASSERT_EQ(fast._fan.size(), plain._fan.size()) << "round " << round << " origin " << o;
            for (std::size_t i = 0; i < fast._fan.size(); ++i)
                ASSERT_EQ(fast._fan[i], plain._fan[i]) << "round " << round << " origin " << o << " vertex " << i;
        }
    }
}
