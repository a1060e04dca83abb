#include "render/AtlasGrid.h"

#include <gtest/gtest.h>

TEST(AtlasGrid, FramesRunAlongRowsAndWrapPastTheGrid)
{
    struct Case
    {
        unsigned cell, cols, rows;
        glm::vec2 offset;
    };
    const Case cases[] = {{0, 4, 2, {0.0f, 0.0f}},        {3, 4, 2, {0.75f, 0.0f}},
                          {5, 4, 2, {0.25f, 0.5f}},       {9, 4, 2, {0.25f, 1.0f}}, // past the grid: rows below
                          {0, 0, 0, {0.0f, 0.0f}},        {2, 0, 0, {0.0f, 2.0f}},  // an empty grid is one cell
                          {2, 3, 0, {2.0f / 3.0f, 0.0f}}, {33, 16, 6, {1.0f / 16, 2.0f / 6}}};
    for (const Case& c : cases)
    {
        const glm::mat3 m = AtlasGrid::CellTransform(c.cell, c.cols, c.rows);
        EXPECT_EQ(glm::vec2(m[2]), c.offset) << c.cell << " in " << c.cols << " x " << c.rows;
        // Only the translation changes; the frame's scale lives in the mesh.
        EXPECT_EQ(m[0], glm::vec3(1, 0, 0));
        EXPECT_EQ(m[1], glm::vec3(0, 1, 0));
    }
}

TEST(AtlasGrid, TextCellsAndCentring)
{
    // "AB" centred: cells 33 and 34 starting at -0.5.
    EXPECT_EQ(AtlasGrid::GlyphCell('A'), 33u);
    EXPECT_EQ(AtlasGrid::GlyphCell('B'), 34u);
    EXPECT_FLOAT_EQ(AtlasGrid::TextStartX(2, true), -0.5f);
    EXPECT_FLOAT_EQ(AtlasGrid::TextStartX(5, true), -2.0f);
    EXPECT_FLOAT_EQ(AtlasGrid::TextStartX(5, false), 0.0f);
    EXPECT_FLOAT_EQ(AtlasGrid::TextStartX(0, true), 0.0f);
    EXPECT_EQ(AtlasGrid::GlyphCell(' '), 0u);
    EXPECT_EQ(AtlasGrid::GlyphCell('\n'), 0u) << "control bytes draw blank rather than outside the font";
    EXPECT_EQ(AtlasGrid::GlyphCell(0xE9), 201u);
}
