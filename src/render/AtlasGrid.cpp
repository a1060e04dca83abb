#include "render/AtlasGrid.h"

#include <algorithm>

namespace AtlasGrid
{
glm::mat3 CellTransform(unsigned cell, unsigned cols, unsigned rows)
{
    cols = std::max(cols, 1u);
    rows = std::max(rows, 1u);
    glm::mat3 m(1.0f);
    m[2][0] = static_cast<float>(cell % cols) / static_cast<float>(cols);
    m[2][1] = static_cast<float>(cell / cols) / static_cast<float>(rows);
    return m;
}

unsigned GlyphCell(unsigned char c)
{
    return c < 32 ? 0u : static_cast<unsigned>(c) - 32u;
}

float TextStartX(std::size_t length, bool centre)
{
    if (!centre || length == 0)
        return 0.0f;
    return -static_cast<float>(length - 1) * 0.5f;
}
} // namespace AtlasGrid
