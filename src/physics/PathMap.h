#pragma once

#include <glm/vec2.hpp>

#include <cstdint>
#include <vector>

// One cell of a path map. Nodes refer to each other by index into the map's node list.
struct PathNode
{
    enum State : std::uint32_t
    {
        Unvisited = 0,
        Open = 1,
        Closed = 2,
        Wall = 3,
        OnPath = 4,
    };

    std::int32_t _parent = -1; // -1: none
    std::uint32_t _state = Unvisited;
    std::int32_t _f = 0; // g + weight + h
    std::int32_t _g = 0;
    std::int32_t _h = 0;
    std::int32_t _weight = 0; // -1 wall, 0 free, 5 free beside a wall
    std::int32_t _x = 0;
    std::int32_t _y = 0;
};

// The walkability grid a tile map hands its path finders: columns x rows nodes, x-major,
// with y counting up from the bottom row.
struct PathMap
{
    static constexpr std::int32_t kWallWeight = -1;
    static constexpr std::int32_t kBesideWallWeight = 5;

    std::int32_t _columns = 0;
    std::int32_t _rows = 0;
    bool _changed = false; // walkability changed: path finders restart their searches
    float _cellSize = 1.0f;
    glm::vec2 _offset{0.0f};
    std::vector<PathNode> _nodes;

    std::int32_t Index(std::int32_t x, std::int32_t y) const { return x * _rows + y; }
    PathNode& At(std::int32_t x, std::int32_t y) { return _nodes[static_cast<std::size_t>(Index(x, y))]; }
    const PathNode& At(std::int32_t x, std::int32_t y) const { return _nodes[static_cast<std::size_t>(Index(x, y))]; }
    bool Contains(std::int32_t x, std::int32_t y) const { return x >= 0 && y >= 0 && x < _columns && y < _rows; }
};

namespace pathmap
{
// `tiles` lists rows top first, columns x rows of them; 0 is walkable, anything else a
// wall. The map is reset once. A list shorter than the grid builds an empty map.
PathMap Build(const std::vector<std::uint32_t>& tiles, std::int32_t columns, std::int32_t rows, float cellSize,
              const glm::vec2& origin);

// Clears the changed flag, gives every free node beside a wall (its 3 x 3 block) the
// extra weight, and forgets every search: non-wall nodes back to unvisited, no parent.
void Reset(PathMap& map);

// Makes one cell a wall or walkable; marks the map changed when that is news.
void SetWalkable(PathMap& map, std::int32_t x, std::int32_t y, bool walkable);

// The cell holding a world point, clamped to the grid.
glm::ivec2 CellOf(const PathMap& map, const glm::vec2& point);
glm::vec2 CellCentre(const PathMap& map, std::int32_t x, std::int32_t y);

// 10 per straight step and 14 per diagonal one.
inline std::int32_t Octile(std::int32_t dx, std::int32_t dy)
{
    dx = dx < 0 ? -dx : dx;
    dy = dy < 0 ? -dy : dy;
    return dx < dy ? 4 * dx + 10 * dy : 4 * dy + 10 * dx;
}

// The centre of a cell picked with rand() until one is walkable; the map's centre when
// it has no walkable cell at all.
glm::vec2 RandomWalkablePosition(const PathMap& map);
} // namespace pathmap
