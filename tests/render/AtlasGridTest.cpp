#include "render/AtlasGrid.h"

#include <gtest/gtest.h>

namespace
{
glm::vec2 Offset(const glm::mat3& m)
{
    return {m[2][0], m[2][1]};
}
} // namespace

TEST(AtlasGrid, FramesRunAlongRowsAndWrapPastTheGrid)
{
    EXPECT_EQ(Offset(AtlasGrid::CellTransform(0, 4, 2)), glm::vec2(0.0f, 0.0f));
    EXPECT_EQ(Offset(AtlasGrid::CellTransform(3, 4, 2)), glm::vec2(0.75f, 0.0f));
    EXPECT_EQ(Offset(AtlasGrid::CellTransform(5, 4, 2)), glm::vec2(0.25f, 0.5f));
    // Past cols x rows the frame lands in rows below the texture.
    EXPECT_EQ(Offset(AtlasGrid::CellTransform(9, 4, 2)), glm::vec2(0.25f, 1.0f));
    // Only the translation changes; the frame's scale lives in the mesh.
    const glm::mat3 m = AtlasGrid::CellTransform(5, 4, 2);
    EXPECT_EQ(m[0], glm::vec3(1, 0, 0));
    EXPECT_EQ(m[1], glm::vec3(0, 1, 0));
}

TEST(AtlasGrid, AnEmptyGridCountsAsOneCell)
{
    EXPECT_EQ(Offset(AtlasGrid::CellTransform(0, 0, 0)), glm::vec2(0.0f));
    EXPECT_EQ(Offset(AtlasGrid::CellTransform(2, 0, 0)), glm::vec2(0.0f, 2.0f));
    EXPECT_EQ(Offset(AtlasGrid::CellTransform(2, 3, 0)), glm::vec2(2.0f / 3.0f, 0.0f));
}

TEST(AtlasGrid, TextCellsAndCentring)
{
    // "AB" centred: cells 33 and 34 at -0.5 and +0.5.
    EXPECT_EQ(AtlasGrid::GlyphCell('A'), 33u);
    EXPECT_EQ(AtlasGrid::GlyphCell('B'), 34u);
    EXPECT_FLOAT_EQ(AtlasGrid::TextStartX(2, true), -0.5f);
    EXPECT_FLOAT_EQ(AtlasGrid::TextStartX(2, true) + 1.0f, 0.5f);
    EXPECT_FLOAT_EQ(AtlasGrid::TextStartX(5, true), -2.0f);
    EXPECT_FLOAT_EQ(AtlasGrid::TextStartX(5, false), 0.0f);
    EXPECT_FLOAT_EQ(AtlasGrid::TextStartX(0, true), 0.0f);

    // In a 16-column font, 'A' sits in row 2, column 1.
    EXPECT_EQ(Offset(AtlasGrid::CellTransform(AtlasGrid::GlyphCell('A'), 16, 6)), glm::vec2(1.0f / 16, 2.0f / 6));
    EXPECT_EQ(AtlasGrid::GlyphCell(' '), 0u);
    EXPECT_EQ(AtlasGrid::GlyphCell('\n'), 0u) << "control bytes draw blank rather than outside the font";
    EXPECT_EQ(AtlasGrid::GlyphCell(0xE9), 0xE9u - 32u);
}
