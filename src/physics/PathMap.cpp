#include "physics/PathMap.h"

#include <glm/vec2.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pathmap
{
PathMap Build(const std::vector<std::uint32_t>& tiles, std::int32_t columns, std::int32_t rows, float cellSize,
              const glm::vec2& origin)
{
    PathMap map;
    if (columns <= 0 || rows <= 0 || tiles.size() < static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows))
        return map;
    map._columns = columns;
    map._rows = rows;
    map._cellSize = cellSize;
    map._offset = {static_cast<float>(columns - 2) * cellSize * 0.5f + origin.x,
                   static_cast<float>(rows - 2) * cellSize * 0.5f + origin.y};
    map._nodes.resize(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows));
    for (std::int32_t x = 0; x < columns; ++x)
        for (std::int32_t y = 0; y < rows; ++y)
        {
            PathNode& node = map.At(x, y);
            node._x = x;
            node._y = y;
            const bool wall = tiles[static_cast<std::size_t>((rows - y - 1) * columns + x)] != 0;
            node._weight = wall ? PathMap::kWallWeight : 0;
            node._state = wall ? PathNode::Wall : PathNode::Unvisited;
        }
    Reset(map);
    return map;
}

namespace
{
void AddWallPenalties(PathMap& map)
{
    for (std::int32_t x = 0; x < map._columns; ++x)
        for (std::int32_t y = 0; y < map._rows; ++y)
        {
            if (map.At(x, y)._weight != PathMap::kWallWeight)
                continue;
            for (std::int32_t nx = std::max(0, x - 1); nx <= std::min(map._columns - 1, x + 1); ++nx)
                for (std::int32_t ny = std::max(0, y - 1); ny <= std::min(map._rows - 1, y + 1); ++ny)
                    if (map.At(nx, ny)._weight == 0)
                        map.At(nx, ny)._weight = PathMap::kBesideWallWeight;
        }
}
} // namespace

void Reset(PathMap& map)
{
    map._changed = false;
    AddWallPenalties(map);
    for (PathNode& node : map._nodes)
        if (node._weight != PathMap::kWallWeight)
        {
            node._state = PathNode::Unvisited;
            node._parent = -1;
        }
}

void SetWalkable(PathMap& map, std::int32_t x, std::int32_t y, bool walkable)
{
    if (!map.Contains(x, y))
        return;
    PathNode& node = map.At(x, y);
    if ((node._weight != PathMap::kWallWeight) == walkable)
        return;
    node._weight = walkable ? 0 : PathMap::kWallWeight;
    node._state = walkable ? PathNode::Unvisited : PathNode::Wall;
    for (PathNode& other : map._nodes)
        if (other._weight == PathMap::kBesideWallWeight)
            other._weight = 0;
    AddWallPenalties(map);
    map._changed = true;
}

glm::ivec2 CellOf(const PathMap& map, const glm::vec2& point)
{
    const auto axis = [&](float p, float offset, std::int32_t count)
    {
        const float cell = std::round((p + offset) / map._cellSize + 0.5f);
        return static_cast<std::int32_t>(std::clamp(cell, 0.0f, static_cast<float>(std::max(count - 1, 0))));
    };
    return {axis(point.x, map._offset.x, map._columns), axis(point.y, map._offset.y, map._rows)};
}

glm::vec2 CellCentre(const PathMap& map, std::int32_t x, std::int32_t y)
{
    return {(static_cast<float>(x) - 0.5f) * map._cellSize - map._offset.x,
            (static_cast<float>(y) - 0.5f) * map._cellSize - map._offset.y};
}

glm::vec2 RandomWalkablePosition(const PathMap& map)
{
    const bool any =
        std::any_of(map._nodes.begin(), map._nodes.end(), [](const PathNode& node) { return node._weight >= 0; });
    if (!any)
        return CellCentre(map, map._columns / 2, map._rows / 2);
    // The draws use 15 bits whatever the library's RAND_MAX, as the game was tuned.
    const auto draw = [](std::int32_t count) {
        return static_cast<std::int32_t>(static_cast<float>(std::rand() % 32768) / 32768.0f *
                                         static_cast<float>(count));
    };
    for (;;)
    {
        const std::int32_t x = draw(map._columns);
        const std::int32_t y = draw(map._rows);
        if (map.At(x, y)._weight >= 0)
            return CellCentre(map, x, y);
    }
}
} // namespace pathmap
