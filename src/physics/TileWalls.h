#pragma once

#include "physics/LineSegment.h"

#include <glm/vec2.hpp>

#include <array>
#include <cstdint>
#include <vector>

// One cell of a tile layer: its tile number (0 is empty) and, for the wall layer, the
// wall segment on each of its sides (-1: none).
struct TileCell
{
    enum Side
    {
        Top,
        Right,
        Bottom,
        Left
    };

    std::uint32_t _tile = 0;
    std::array<std::int32_t, 4> _sides{-1, -1, -1, -1};
};

// A width x height grid of cells, indexed [x][y] with row 0 at the top.
struct TileLayer
{
    std::uint32_t _width = 0;
    std::uint32_t _height = 0;
    std::vector<TileCell> _cells;

    TileCell& At(std::uint32_t x, std::uint32_t y) { return _cells[static_cast<std::size_t>(x) * _height + y]; }
    const TileCell& At(std::uint32_t x, std::uint32_t y) const
    {
        return _cells[static_cast<std::size_t>(x) * _height + y];
    }

    // Sizes the layer and fills it from tile numbers listed row by row, top row first.
    // False (and the layer left empty) when the list is shorter than the grid.
    bool Fill(std::uint32_t width, std::uint32_t height, const std::vector<std::uint32_t>& rowMajor);
};

namespace tilewalls
{
// The centre of cell (x, y) of a layer drawn `scale` units per tile, centred on `offset`.
glm::vec2 CellCentre(std::uint32_t width, std::uint32_t height, float scale, const glm::vec2& offset, std::uint32_t x,
                     std::uint32_t y);

// The outline of the layer's non-empty cells where they meet empty ones, as segments
// running clockwise around each wall block (so one-sided tests block whatever comes
// from open floor), merged along straight runs. Sides on the map's border are left
// out. Each cell's side indices name the segment along it. `walls` is emptied first.
void Build(TileLayer& layer, float scale, const glm::vec2& offset, std::vector<LineSegment>& walls);
} // namespace tilewalls
