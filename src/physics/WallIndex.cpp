#include "physics/WallIndex.h"

#include "physics/LineBuffer.h"

#include <glm/common.hpp>

#include <algorithm>

namespace
{
int Clamped(float cell, int count)
{
    // Comparisons first: a coordinate far away (or not a number) must not reach the cast.
    if (cell >= static_cast<float>(count - 1))
        return count - 1;
    return cell > 0.0f ? static_cast<int>(cell) : 0;
}
} // namespace

WallIndex::CellRange WallIndex::CellsOf(const glm::vec2& lo, const glm::vec2& hi) const
{
    const glm::vec2 a = (lo - _origin) / _cell;
    const glm::vec2 b = (hi - _origin) / _cell;
    return {Clamped(a.x, _columns), Clamped(b.x, _columns), Clamped(a.y, _rows), Clamped(b.y, _rows)};
}

void WallIndex::Build(const LineBuffer& lines, const glm::vec2& origin, const glm::vec2& cell, int columns, int rows)
{
    _source = &lines;
    _count = lines._lines.size();
    _origin = origin;
    _cell = cell;
    _columns = std::max(columns, 1);
    _rows = std::max(rows, 1);

    const std::size_t cells = static_cast<std::size_t>(_columns) * static_cast<std::size_t>(_rows);
    _starts.assign(cells + 1, 0);
    auto forEachCell = [&](const LineSegment& line, auto&& visit)
    {
        const CellRange range = CellsOf(glm::min(line._start, line._end), glm::max(line._start, line._end));
        for (int c = range.c0; c <= range.c1; ++c)
            for (int r = range.r0; r <= range.r1; ++r)
                visit(static_cast<std::size_t>(c) * static_cast<std::size_t>(_rows) + static_cast<std::size_t>(r));
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
            const std::size_t at = static_cast<std::size_t>(c) * static_cast<std::size_t>(_rows) + r;
            _near.insert(_near.end(), _lines.begin() + _starts[at], _lines.begin() + _starts[at + 1]);
        }
    }
    std::sort(_near.begin(), _near.end());
    _near.erase(std::unique(_near.begin(), _near.end()), _near.end());
    return _near;
}
