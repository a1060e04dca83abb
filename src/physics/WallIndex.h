#pragma once

#include "physics/RegionGrid.h"

#include <glm/vec2.hpp>

#include <cstddef>
#include <cstdint>
#include <vector>

class LineBuffer;

// The lines of a buffer bucketed by the grid cells their boxes touch, so a sweep
// tries only the lines near its path instead of every wall of the level. Lines come
// back in buffer order, so "earliest" and "first" mean the same as over all lines.
// Built afresh each pass into reused storage: it can never describe stale walls.
class WallIndex
{
public:
    // Lines and boxes beyond the grid count as being in its edge cells.
    void Build(const LineBuffer& lines, const RegionGrid& grid);

    // True when built from exactly this buffer as it now stands.
    bool Covers(const LineBuffer& lines) const;

    // Indices of the lines whose cells meet the box, ascending and without repeats.
    // The list is reused by the next call.
    const std::vector<std::uint32_t>& Near(const glm::vec2& lo, const glm::vec2& hi) const;

private:
    struct CellRange
    {
        int c0, c1, r0, r1;
    };
    CellRange CellsOf(const glm::vec2& lo, const glm::vec2& hi) const;

    const LineBuffer* _source = nullptr;
    std::size_t _count = 0;
    RegionGrid _grid;
    std::vector<std::uint32_t> _starts;
    std::vector<std::uint32_t> _cursor;
    std::vector<std::uint32_t> _lines;
    mutable std::vector<std::uint32_t> _near;
};
