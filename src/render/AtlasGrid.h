#pragma once

#include <glm/mat3x3.hpp>

#include <cstddef>

// Cells of a texture divided into a grid of equal frames (an animation strip or a
// fixed-grid font). A grid with 0 columns or rows counts as 1 x 1.
namespace AtlasGrid
{
// Texture-space translation to cell `cell`, counted left to right, then top to bottom.
// Cells past the grid continue in rows below it (coordinates past 1).
glm::mat3 CellTransform(unsigned cell, unsigned cols, unsigned rows);

// The font cell of a character: the space is cell 0. Control bytes draw as a space.
unsigned GlyphCell(unsigned char c);

// Local x of the first character's centre: 0, or centred on the entity.
float TextStartX(std::size_t length, bool centre);
} // namespace AtlasGrid
