#include "TestSupport.h"

#include "physics/PathSearch.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <random>
#include <string>

namespace
{
constexpr float kCell = 10.0f;

// A map from rows of characters, top row first: '#' is a wall.
PathMap Map(std::initializer_list<std::string> rows)
{
    const auto height = static_cast<std::int32_t>(rows.size());
    const auto width = static_cast<std::int32_t>(rows.begin()->size());
    std::vector<std::uint32_t> tiles;
    for (const std::string& row : rows)
        for (const char c : row)
            tiles.push_back(c == '#' ? 1u : 0u);
    return pathmap::Build(tiles, width, height, kCell, glm::vec2(0.0f));
}

glm::vec2 At(const PathMap& map, int x, int y)
{
    return pathmap::CellCentre(map, x, y);
}

std::vector<glm::ivec2> Cells(const PathMap& map, const std::vector<std::int32_t>& path)
{
    std::vector<glm::ivec2> cells;
    for (const std::int32_t i : path)
        cells.push_back({map._nodes[static_cast<std::size_t>(i)]._x, map._nodes[static_cast<std::size_t>(i)]._y});
    return cells;
}

// Runs a search to its end, `budget` expansions per call; counts the calls.
PathSearch::Status Finish(PathMap& map, PathSearch& search, glm::vec2 from, glm::vec2 to, std::uint32_t budget,
                          int* calls = nullptr)
{
    int n = 0;
    PathSearch::Status status;
    do
    {
        status = pathsearch::Run(map, search, from, to, budget);
        ++n;
    } while (status == PathSearch::Status::Pending && n < 100000);
    if (calls)
        *calls = n;
    return status;
}

// The reference open set: a list kept sorted by (f, g), equal keys in arrival order,
// with linear insertion; a node whose f improves is taken out and inserted again.
std::vector<std::int32_t> ListSearch(PathMap& map, glm::vec2 from, glm::vec2 to, std::vector<std::int32_t>& closed)
{
    pathmap::Reset(map);
    closed.clear();
    std::vector<std::int32_t> open;
    const auto node = [&](std::int32_t i) -> PathNode& { return map._nodes[static_cast<std::size_t>(i)]; };
    const auto insert = [&](std::int32_t i)
    {
        auto at = open.begin();
        while (at != open.end() &&
               !(node(*at)._f > node(i)._f || (node(*at)._f == node(i)._f && node(*at)._g > node(i)._g)))
            ++at;
        open.insert(at, i);
    };
    const glm::ivec2 g = pathmap::CellOf(map, to);
    const glm::ivec2 s = pathmap::CellOf(map, from);
    const std::int32_t goal = map.Index(g.x, g.y);
    std::int32_t current = map.Index(s.x, s.y);
    node(current)._state = PathNode::Closed;
    node(current)._h = pathmap::Octile(s.x - g.x, s.y - g.y);
    node(current)._f = node(current)._weight + node(current)._h;
    closed.push_back(current);
    std::int32_t end = current;
    while (current != goal)
    {
        const PathNode c = node(current);
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
            {
                if ((dx == 0 && dy == 0) || !map.Contains(c._x + dx, c._y + dy))
                    continue;
                int extra = 0;
                if (dx != 0 && dy != 0)
                {
                    const int a = map.At(c._x + dx, c._y)._weight, b = map.At(c._x, c._y + dy)._weight;
                    if (a < 0 || b < 0)
                        continue;
                    extra = (a + b) / 4;
                }
                const std::int32_t i = map.Index(c._x + dx, c._y + dy);
                PathNode& n = node(i);
                if (n._weight < 0 || n._state == PathNode::OnPath)
                    continue;
                const int gg = pathmap::Octile(dx, dy) + c._weight + c._g + extra;
                const int hh = pathmap::Octile(n._x - g.x, n._y - g.y);
                const int ff = gg + n._weight + hh;
                if (n._state == PathNode::Unvisited)
                {
                    n = {current, PathNode::Open, ff, gg, hh, n._weight, n._x, n._y};
                    insert(i);
                }
                else if (n._parent != current && ff < n._f)
                {
                    n._g = gg;
                    n._h = hh;
                    n._f = ff;
                    n._parent = current;
                    if (n._state == PathNode::Open)
                    {
                        open.erase(std::find(open.begin(), open.end(), i));
                        insert(i);
                    }
                }
            }
        if (open.empty())
        {
            end = closed.front();
            for (const std::int32_t k : closed)
                if (node(k)._h < node(end)._h)
                    end = k;
            break;
        }
        current = open.front();
        open.erase(open.begin());
        node(current)._state = PathNode::Closed;
        closed.push_back(current);
        end = current;
    }
    std::vector<std::int32_t> path;
    for (std::int32_t at = end; at >= 0; at = node(at)._parent)
        path.insert(path.begin(), at);
    return path;
}

PathMap RandomMap(std::mt19937& random, int width, int height, float density)
{
    std::bernoulli_distribution wall(density);
    std::vector<std::uint32_t> tiles(static_cast<std::size_t>(width * height));
    for (auto& t : tiles)
        t = wall(random) ? 1u : 0u;
    return pathmap::Build(tiles, width, height, kCell, glm::vec2(0.0f));
}
} // namespace

TEST(PathMap, CellsCentresAndWallPenaltiesFollowTheTileRows)
{
    PathMap map = Map({"#...", "....", "...."});
    ASSERT_EQ(map._columns, 4);
    ASSERT_EQ(map._rows, 3);
    EXPECT_EQ(map.At(0, 2)._weight, PathMap::kWallWeight) << "the top row is y = rows - 1";
    EXPECT_EQ(map.At(0, 2)._state, PathNode::Wall);
    EXPECT_EQ(map.At(1, 2)._weight, PathMap::kBesideWallWeight);
    EXPECT_EQ(map.At(1, 1)._weight, PathMap::kBesideWallWeight) << "diagonal neighbours count";
    EXPECT_EQ(map.At(2, 2)._weight, 0);
    EXPECT_EQ(map.At(0, 0)._weight, 0);

    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 3; ++y)
            EXPECT_EQ(pathmap::CellOf(map, At(map, x, y)), glm::ivec2(x, y));
    EXPECT_EQ(pathmap::CellOf(map, {-1e6f, 1e6f}), glm::ivec2(0, 2)) << "clamped";
    // The map is centred on the origin.
    EXPECT_EQ(At(map, 0, 0), glm::vec2(-15.0f, -10.0f));

    pathmap::SetWalkable(map, 0, 2, true);
    EXPECT_TRUE(map._changed);
    EXPECT_EQ(map.At(1, 2)._weight, 0) << "no wall left beside it";
    pathmap::SetWalkable(map, 3, 0, false);
    EXPECT_EQ(map.At(2, 1)._weight, PathMap::kBesideWallWeight);
}

TEST(PathSearch, FindsAShortestPathAroundWallsWithoutCuttingCorners)
{
    PathMap map = Map({"......", ".####.", "......"});
    PathSearch search;
    ASSERT_EQ(pathsearch::Run(map, search, At(map, 0, 1), At(map, 5, 1), PathSearch::kUnlimited),
              PathSearch::Status::Ready);
    const std::vector<glm::ivec2> cells = Cells(map, search._cellPath);
    ASSERT_GE(cells.size(), 2u);
    EXPECT_EQ(cells.front(), glm::ivec2(0, 1));
    EXPECT_EQ(cells.back(), glm::ivec2(5, 1));
    for (std::size_t i = 1; i < cells.size(); ++i)
    {
        const glm::ivec2 d = cells[i] - cells[i - 1];
        ASSERT_LE(std::max(std::abs(d.x), std::abs(d.y)), 1) << "neighbouring cells";
        EXPECT_GE(map.At(cells[i].x, cells[i].y)._weight, 0);
        if (d.x != 0 && d.y != 0)
        {
            EXPECT_GE(map.At(cells[i - 1].x + d.x, cells[i - 1].y)._weight, 0) << "corner cut at step " << i;
            EXPECT_GE(map.At(cells[i - 1].x, cells[i - 1].y + d.y)._weight, 0) << "corner cut at step " << i;
        }
        EXPECT_EQ(map.At(cells[i].x, cells[i].y)._state, PathNode::OnPath);
    }

    // Two walls meeting at a corner: the diagonal between them is closed, so the path
    // goes the long way round.
    PathMap corner = Map({"..#", ".#.", "..."});
    ASSERT_EQ(pathsearch::Run(corner, search, At(corner, 1, 2), At(corner, 2, 1), PathSearch::kUnlimited),
              PathSearch::Status::Ready);
    EXPECT_EQ(Cells(corner, search._cellPath),
              (std::vector<glm::ivec2>{{1, 2}, {0, 2}, {0, 1}, {0, 0}, {1, 0}, {2, 0}, {2, 1}}));
}

TEST(PathSearch, CellsBesideWallsCostMoreSoPathsKeepOffThem)
{
    PathMap map = Map({"##########", "..........", "..........", "..........", ".........."});
    PathSearch search;
    ASSERT_EQ(pathsearch::Run(map, search, At(map, 0, 3), At(map, 9, 3), PathSearch::kUnlimited),
              PathSearch::Status::Ready);
    const std::vector<glm::ivec2> cells = Cells(map, search._cellPath);
    ASSERT_GT(cells.size(), 4u);
    for (std::size_t i = 2; i + 2 < cells.size(); ++i)
        EXPECT_EQ(cells[i].y, 2) << "cell " << i << " runs along the wall";
    // Free all the way: the straight line along the row is the cheapest.
    PathMap open = Map({"..........", "..........", "..........", "..........", ".........."});
    ASSERT_EQ(pathsearch::Run(open, search, At(open, 0, 3), At(open, 9, 3), PathSearch::kUnlimited),
              PathSearch::Status::Ready);
    for (const glm::ivec2& c : Cells(open, search._cellPath))
        EXPECT_EQ(c.y, 3);
}

TEST(PathSearch, ASlicedSearchEndsLaterWithTheSameResult)
{
    std::mt19937 random(11);
    PathMap map = RandomMap(random, 90, 90, 0.25f);
    const glm::vec2 from = At(map, 1, 1), to = At(map, 88, 88);
    map.At(1, 1) = {-1, 0, 0, 0, 0, 0, 1, 1};
    map.At(88, 88) = {-1, 0, 0, 0, 0, 0, 88, 88};
    pathmap::Reset(map);

    PathSearch whole;
    ASSERT_EQ(Finish(map, whole, from, to, PathSearch::kUnlimited), PathSearch::Status::Ready);
    ASSERT_GT(whole._expansions, 2u * PathSearch::kExpansionsPerCall) << "the grid must need several slices";

    PathSearch sliced;
    int calls = 0;
    ASSERT_EQ(Finish(map, sliced, from, to, PathSearch::kExpansionsPerCall, &calls), PathSearch::Status::Ready);
    // A slice that ends on its last expansion learns of the goal at the next call.
    const bool reached = whole._cellPath.back() == map.Index(88, 88);
    const auto slices = static_cast<int>(reached ? whole._expansions / PathSearch::kExpansionsPerCall + 1
                                                 : (whole._expansions - 1) / PathSearch::kExpansionsPerCall + 1);
    EXPECT_EQ(calls, slices);
    EXPECT_EQ(sliced._cellPath, whole._cellPath);
    EXPECT_EQ(sliced._closed, whole._closed);
    EXPECT_EQ(sliced._expansions, whole._expansions);
}

TEST(PathSearch, TheOpenSetVisitsNodesInTheSameOrderAsASortedList)
{
    std::mt19937 random(2024);
    int unreachable = 0;
    for (int round = 0; round < 300; ++round)
    {
        std::uniform_int_distribution<int> size(2, 40);
        const int width = size(random), height = size(random);
        PathMap map = RandomMap(random, width, height, std::uniform_real_distribution<float>(0.0f, 0.45f)(random));
        std::uniform_int_distribution<int> x(0, width - 1), y(0, height - 1);
        const glm::vec2 from = At(map, x(random), y(random));
        const glm::vec2 to = At(map, x(random), y(random));
        const glm::ivec2 start = pathmap::CellOf(map, from), goal = pathmap::CellOf(map, to);
        // The search leaves from whatever cell it is in; only the goal must be open.
        if (map.At(start.x, start.y)._weight < 0 || map.At(goal.x, goal.y)._weight < 0)
            continue;

        std::vector<std::int32_t> listClosed;
        const std::vector<std::int32_t> listPath = ListSearch(map, from, to, listClosed);
        unreachable += listPath.back() != map.Index(goal.x, goal.y);

        for (const std::uint32_t budget : {PathSearch::kUnlimited, 7u, PathSearch::kExpansionsPerCall})
        {
            PathSearch search;
            ASSERT_EQ(Finish(map, search, from, to, budget), PathSearch::Status::Ready);
            ASSERT_EQ(search._closed, listClosed) << "round " << round << ", budget " << budget;
            ASSERT_EQ(search._cellPath, listPath) << "round " << round << ", budget " << budget;
        }
    }
    EXPECT_GT(unreachable, 10) << "the rounds should include walled-off targets";

    // Wide open floors put hundreds of nodes of one f in the open set at once, with g
    // spread over more than a thousand; with the target walled in, every cell is searched.
    for (int round = 0; round < 4; ++round)
    {
        PathMap map = RandomMap(random, 110, 100, 0.02f * static_cast<float>(round));
        const glm::vec2 from = At(map, 2, 97), to = At(map, 100, 3);
        pathmap::SetWalkable(map, 2, 97, true);
        pathmap::SetWalkable(map, 100, 3, true);
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (dx != 0 || dy != 0)
                    pathmap::SetWalkable(map, 100 + dx, 3 + dy, round % 2 == 0);
        std::vector<std::int32_t> listClosed;
        const std::vector<std::int32_t> listPath = ListSearch(map, from, to, listClosed);
        for (const std::uint32_t budget : {PathSearch::kUnlimited, PathSearch::kExpansionsPerCall})
        {
            PathSearch search;
            ASSERT_EQ(Finish(map, search, from, to, budget), PathSearch::Status::Ready);
            ASSERT_EQ(search._closed, listClosed) << "wide round " << round << ", budget " << budget;
            ASSERT_EQ(search._cellPath, listPath) << "wide round " << round << ", budget " << budget;
        }
    }
}

TEST(PathSearch, ThinningKeepsOnlyTurnsAwayFromWalls)
{
    PathMap map = Map({"..........", "..........", "..........", "........#."});
    PathSearch search;
    ASSERT_EQ(pathsearch::Run(map, search, At(map, 0, 2), At(map, 7, 2), PathSearch::kUnlimited),
              PathSearch::Status::Ready);
    ASSERT_EQ(search._cellPath.size(), 8u);
    const std::int32_t middle = search._cellPath[3];
    pathsearch::Thin(map, search._cellPath);
    EXPECT_EQ(Cells(map, search._cellPath), (std::vector<glm::ivec2>{{0, 2}, {7, 2}}));
    EXPECT_EQ(map._nodes[static_cast<std::size_t>(middle)]._state, PathNode::Unvisited);

    // Beside the wall at (8, 0) the cells carry a penalty and stay.
    ASSERT_EQ(pathsearch::Run(map, search, At(map, 0, 1), At(map, 9, 1), PathSearch::kUnlimited),
              PathSearch::Status::Ready);
    pathsearch::Thin(map, search._cellPath);
    const std::vector<glm::ivec2> cells = Cells(map, search._cellPath);
    EXPECT_GT(cells.size(), 2u);
    EXPECT_EQ(cells.back(), glm::ivec2(9, 1));
}

TEST(PathSearch, WaypointsRunFromTheTargetBackToTheFollowerWithoutWideGaps)
{
    PathMap map = Map({"....................", "....................", "...................."});
    PathSearch search;
    const glm::vec2 from = At(map, 0, 1) + glm::vec2(1.0f, 0.0f);
    const glm::vec2 to = At(map, 19, 1) + glm::vec2(-2.0f, 3.0f);
    ASSERT_EQ(pathsearch::Run(map, search, from, to, PathSearch::kUnlimited), PathSearch::Status::Ready);
    pathsearch::Thin(map, search._cellPath);
    ASSERT_EQ(search._cellPath.size(), 2u);

    std::vector<Waypoint> scratch, waypoints;
    pathsearch::BuildWaypoints(map, search._cellPath, from, to, scratch, waypoints);
    ASSERT_FALSE(waypoints.empty());
    EXPECT_EQ(waypoints.front()._position, to);
    EXPECT_EQ(waypoints.front()._clearance, 0.0f);
    EXPECT_EQ(waypoints.back()._position, from) << "the last waypoint is where the follower stands";
    EXPECT_EQ(waypoints.back()._clearance, kCell);
    // Six points per joint pair: the ends of each pair are emitted with it.
    ASSERT_EQ(waypoints.size() % 6, 0u);
    const std::size_t pairs = waypoints.size() / 6;
    EXPECT_EQ(scratch.size(), pairs + 1);
    for (std::size_t i = 0; i + 1 < scratch.size(); ++i)
    {
        EXPECT_LE(glm::distance(scratch[i]._position, scratch[i + 1]._position), 2.0f * kCell + 1e-4f);
        EXPECT_EQ(waypoints[6 * i + 5]._position, scratch[i + 1]._position);
    }
    // The middle of the straight stretch is roomy; nearer the ends it narrows.
    float widest = 0.0f;
    for (const Waypoint& w : waypoints)
    {
        widest = std::max(widest, w._clearance);
        EXPECT_NEAR(w._position.y, from.y + (w._position.x - from.x) * (to.y - from.y) / (to.x - from.x), 1e-3f)
            << "points of a straight run stay on its line";
    }
    EXPECT_GT(widest, 4.0f * kCell);

    // With cells in between, each cell centre is a joint, from the target's end.
    const std::vector<std::int32_t> bent = {map.Index(0, 0), map.Index(1, 1), map.Index(2, 1), map.Index(3, 2)};
    pathsearch::BuildWaypoints(map, bent, At(map, 0, 0), At(map, 3, 2), scratch, waypoints);
    ASSERT_EQ(scratch.size(), 4u);
    EXPECT_EQ(scratch[1]._position, At(map, 2, 1));
    EXPECT_EQ(scratch[2]._position, At(map, 1, 1));
    EXPECT_EQ(waypoints.size(), 18u);
}
