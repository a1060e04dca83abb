#include "AllocationCounter.h"

#include "physics/VisibilityFan.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace
{
constexpr int kCols = 60;
constexpr int kRows = 40;
constexpr float kTile = 64.0f;

// A 60 x 40 tile level: an outer wall, a grid of rooms 10 x 8 tiles with doorways,
// and a few pillars. True where a tile is wall.
std::vector<bool> LevelTiles()
{
    std::vector<bool> wall(kCols * kRows, false);
    for (int y = 0; y < kRows; ++y)
        for (int x = 0; x < kCols; ++x)
        {
            const bool border = x == 0 || y == 0 || x == kCols - 1 || y == kRows - 1;
            const bool column = x % 10 == 0 && (y % 8) != 4 && (y % 8) != 5;
            const bool row = y % 8 == 0 && (x % 10) != 5 && (x % 10) != 6;
            const bool pillar = x % 10 == 3 && y % 8 == 3;
            wall[y * kCols + x] = border || column || row || pillar;
        }
    return wall;
}

// Each wall edge facing floor, wound so rays from the floor cross it, runs merged.
std::vector<LineSegment> LevelWalls()
{
    const std::vector<bool> wall = LevelTiles();
    auto isWall = [&](int x, int y) { return x < 0 || y < 0 || x >= kCols || y >= kRows || wall[y * kCols + x]; };
    std::vector<LineSegment> walls;
    // Consecutive edges that continue one another in the same direction become one wall.
    auto add = [&](glm::vec2 a, glm::vec2 b)
    {
        if (!walls.empty())
        {
            LineSegment& last = walls.back();
            const glm::vec2 d = last._end - last._start;
            const glm::vec2 e = b - a;
            if (last._end == a && d.x * e.y == d.y * e.x && d.x * e.x + d.y * e.y > 0.0f)
            {
                last._end = b;
                return;
            }
        }
        walls.push_back({a, b});
    };
    // A wall blocks rays from its left: floor below an edge means heading west, floor
    // above heading east, floor to the west heading north, floor to the east heading south.
    for (int y = 1; y < kRows; ++y)
    {
        for (int x = kCols - 1; x >= 0; --x)
            if (isWall(x, y) && !isWall(x, y - 1))
                add({(x + 1) * kTile, y * kTile}, {x * kTile, y * kTile});
        for (int x = 0; x < kCols; ++x)
            if (isWall(x, y - 1) && !isWall(x, y))
                add({x * kTile, y * kTile}, {(x + 1) * kTile, y * kTile});
    }
    for (int x = 1; x < kCols; ++x)
    {
        for (int y = 0; y < kRows; ++y)
            if (isWall(x, y) && !isWall(x - 1, y))
                add({x * kTile, y * kTile}, {x * kTile, (y + 1) * kTile});
        for (int y = kRows - 1; y >= 0; --y)
            if (isWall(x - 1, y) && !isWall(x, y))
                add({x * kTile, (y + 1) * kTile}, {x * kTile, y * kTile});
    }
    return walls;
}

std::vector<glm::vec2> Origins()
{
    const std::vector<bool> wall = LevelTiles();
    std::vector<glm::vec2> origins;
    for (int y = 2; y < kRows; y += 7)
        for (int x = 2; x < kCols; x += 9)
            if (!wall[y * kCols + x])
                origins.push_back({(x + 0.37f) * kTile, (y + 0.61f) * kTile});
    return origins;
}

template <void (*BuildFan)(const glm::vec2&, const std::vector<LineSegment>&, const FanSettings&, FanWork&)>
void RunFan(benchmark::State& state)
{
    const std::vector<LineSegment> walls = LevelWalls();
    const std::vector<glm::vec2> origins = Origins();

    // Both builds must agree before either is timed.
    FanWork fast;
    FanWork plain;
    for (const glm::vec2& o : origins)
    {
        fan::Build(o, walls, {}, fast);
        fan::BuildPlain(o, walls, {}, plain);
        if (fast._fan != plain._fan)
        {
            state.SkipWithError("the bucketed fan differs from the all-walls fan");
            return;
        }
    }

    FanWork work;
    for (const glm::vec2& o : origins)
        BuildFan(o, walls, {}, work);
    std::size_t i = 0;
    std::size_t vertices = 0;
    const std::size_t before = bench::AllocationCount();
    for (auto _ : state)
    {
        BuildFan(origins[i++ % origins.size()], walls, {}, work);
        vertices += work._fan.size();
        benchmark::DoNotOptimize(work._fan.data());
    }
    state.counters["walls"] = static_cast<double>(walls.size());
    state.counters["kept_walls"] = static_cast<double>(work._segments.size());
    state.counters["fan_vertices"] = static_cast<double>(vertices) / static_cast<double>(state.iterations());
    state.counters["allocs_per_update"] =
        static_cast<double>(bench::AllocationCount() - before) / static_cast<double>(state.iterations());
}

void BM_FlashlightFan(benchmark::State& state)
{
    RunFan<&fan::Build>(state);
}

void BM_FlashlightFanAllWalls(benchmark::State& state)
{
    RunFan<&fan::BuildPlain>(state);
}
} // namespace

BENCHMARK(BM_FlashlightFan)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FlashlightFanAllWalls)->Unit(benchmark::kMicrosecond);
