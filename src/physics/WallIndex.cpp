#include "physics/WallIndex.h"

#include "physics/LineBuffer.h"

#include <glm/common.hpp>

#include <algorithm>

WallIndex::CellRange WallIndex::CellsOf(const glm::vec2& lo, const glm::vec2& hi) const
{
    return {_grid.Column(lo.x), _grid.Column(hi.x), _grid.Row(lo.y), _grid.Row(hi.y)};
}

void WallIndex::Build(const LineBuffer& lines, const RegionGrid& grid)
{
    _source = &lines;
    _count = lines._lines.size();
    _grid = grid;
    _grid._columns = std::max(grid._columns, 1);
    _grid._rows = std::max(grid._rows, 1);
    const std::size_t cells = _grid.Count();
    _starts.assign(cells + 1, 0);
    auto forEachCell = [&](const LineSegment& line, auto&& visit)
    {
        const CellRange range = CellsOf(glm::min(line._start, line._end), glm::max(line._start, line._end));
        for (int c = range.c0; c <= range.c1; ++c)
            for (int r = range.r0; r <= range.r1; ++r)
                visit(_grid.Index(c, r));
    };
    for (const LineSegment& line : lines._lines)
        forEachCell(line, [&](std::size_t at) { ++_starts[at + 1]; });
    for (std::size_t i = 0; i < cells; ++i)
        _starts[i + 1] += _starts[i];
    _cursor.assign(_starts.begin(), _starts.end() - 1);
    _lines.resize(_starts[cells]);
    for (std::uint32_t i = 0; i < _count; ++i)
        forEachCell(lines._lines[i], [&](std::size_t at) { _lines[_cursor[at]++] = i; });
    // No query can gather more than every entry, so queries never grow the list.
    _near.reserve(_lines.size());
}

bool WallIndex::Covers(const LineBuffer& lines) const
{
    return _source == &lines && _count == lines._lines.size();
}

const std::vector<std::uint32_t>& WallIndex::Near(const glm::vec2& lo, const glm::vec2& hi) const
{
    _near.clear();
    const CellRange range = CellsOf(lo, hi);
    for (int c = range.c0; c <= range.c1; ++c)
    {
        for (int r = range.r0; r <= range.r1; ++r)
        {
            const std::size_t at = _grid.Index(c, r);
            _near.insert(_near.end(), _lines.begin() + _starts[at], _lines.begin() + _starts[at + 1]);
        }
    }
    std::sort(_near.begin(), _near.end());
    _near.erase(std::unique(_near.begin(), _near.end()), _near.end());
    return _near;
}
