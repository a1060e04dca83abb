#pragma once

#include <glm/vec2.hpp>

#include <cstddef>

// A uniform grid of regions laid over a scene from its lower-left corner. Positions
// beyond it count as being in the nearest edge region.
struct RegionGrid
{
    glm::vec2 _origin{0.0f};
    glm::vec2 _cell{1.0f};
    int _columns = 0;
    int _rows = 0;

    std::size_t Count() const { return static_cast<std::size_t>(_columns) * static_cast<std::size_t>(_rows); }
    std::size_t Index(int column, int row) const
    {
        return static_cast<std::size_t>(column) * static_cast<std::size_t>(_rows) + static_cast<std::size_t>(row);
    }
    int Column(float x) const { return Clamped((x - _origin.x) / _cell.x, _columns); }
    int Row(float y) const { return Clamped((y - _origin.y) / _cell.y, _rows); }

private:
    static int Clamped(float cell, int count)
    {
        // Comparisons first: a position far away (or not a number) must not reach the cast.
        if (cell >= static_cast<float>(count - 1))
            return count - 1;
        return cell > 0.0f ? static_cast<int>(cell) : 0;
    }
};
