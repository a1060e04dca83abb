#include "render/MeshGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
void ExpectVertex(const Vertex& v, glm::vec2 position, glm::vec2 texCoord)
{
    EXPECT_FLOAT_EQ(v.position.x, position.x);
    EXPECT_FLOAT_EQ(v.position.y, position.y);
    EXPECT_FLOAT_EQ(v.texCoord.x, texCoord.x);
    EXPECT_FLOAT_EQ(v.texCoord.y, texCoord.y);
    EXPECT_EQ(v.colour, glm::vec4(1.0f));
}
} // namespace

TEST(MeshGeometry, QuadSpansOneFrameWithTheTextureTopAtPlusY)
{
    const MeshGeometry q = Geometry::Quad(2.0f, 3.0f, 4.0f, 2.0f);
    ASSERT_EQ(q.vertices.size(), 6u);
    EXPECT_TRUE(q.indices.empty());
    ExpectVertex(q.vertices[1], {-2, 3}, {0, 0});
    ExpectVertex(q.vertices[4], {2, -3}, {0.25f, 0.5f});

    // Without a frame grid the quad covers the whole texture.
    for (float zero : {0.0f, -1.0f})
        for (const Vertex& v : Geometry::Quad(1.0f, 1.0f, zero, zero).vertices)
        {
            EXPECT_TRUE(v.texCoord.x == 0.0f || v.texCoord.x == 1.0f) << v.texCoord.x;
            EXPECT_TRUE(v.texCoord.y == 0.0f || v.texCoord.y == 1.0f) << v.texCoord.y;
        }
}

TEST(MeshGeometry, CirclesAndLinesCarryOutlinePairsAndTypeNamesMatchExactly)
{
    const MeshGeometry c = Geometry::Circle(3);
    ASSERT_EQ(c.vertices.size(), 9u);
    ASSERT_EQ(c.indices.size(), 6u);
    for (std::uint32_t k = 0; k < 6; ++k)
        EXPECT_EQ(c.indices[k], (IndexPair{k, k + 3}));
    // Each segment: rim, centre, next rim point; the last closes on the first.
    ExpectVertex(c.vertices[0], {0.5f, 0.0f}, {0, 0});
    ExpectVertex(c.vertices[1], {0.0f, 0.0f}, {0, 0});
    EXPECT_NEAR(c.vertices[8].position.x, 0.5f, 1e-6f);
    EXPECT_NEAR(c.vertices[8].position.y, 0.0f, 1e-6f);
    EXPECT_NEAR(c.vertices[2].position.x, 0.5f * std::cos(6.2831855f / 3), 1e-6f);

    EXPECT_TRUE(Geometry::Circle(0).vertices.empty());
    EXPECT_TRUE(Geometry::Circle(-2).vertices.empty());
    EXPECT_TRUE(Geometry::Circle(1).indices.empty());

    const MeshGeometry l = Geometry::Line(7.0f);
    ASSERT_EQ(l.vertices.size(), 2u);
    ExpectVertex(l.vertices[0], {-7, 0}, {0, 0});
    ExpectVertex(l.vertices[1], {7, 0}, {0, 0});
    ASSERT_EQ(l.indices.size(), 1u);
    EXPECT_EQ(l.indices[0], (IndexPair{0, 1}));

    const MeshShape shape{1.0f, 1.0f, 1.0f, 1.0f, 5};
    EXPECT_EQ(Geometry::ForType("circle", shape)->vertices.size(), 15u) << "the shape's divisions reach the circle";
    for (const char* unknown : {"Quad", "quads", ""})
        EXPECT_FALSE(Geometry::ForType(unknown, shape).has_value()) << unknown;
}
