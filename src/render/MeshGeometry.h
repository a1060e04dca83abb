#pragma once

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// The vertex buffer layout: attribute 0 position, 1 texture coordinate, 2 colour.
struct Vertex
{
    glm::vec2 position{0.0f};
    glm::vec2 texCoord{0.0f};
    glm::vec4 colour{1.0f};
};
static_assert(sizeof(Vertex) == 32, "the vertex buffer is tightly packed");

// One line segment of an outline: two vertex indices.
using IndexPair = std::array<std::uint32_t, 2>;

struct MeshGeometry
{
    std::vector<Vertex> vertices;
    std::vector<IndexPair> indices;
};

struct MeshShape
{
    float halfSizeX = 0.0f;
    float halfSizeY = 0.0f;
    float u = 0.0f; // frame columns of the texture
    float v = 0.0f; // frame rows of the texture
    int divisions = 0;
};

namespace Geometry
{
// Two triangles; texture coordinates span one frame (1/u by 1/v) with the top of the
// texture at +y. A u or v that is not positive counts as 1: a zero would put the
// coordinates at infinity.
MeshGeometry Quad(float halfX, float halfY, float u, float v);
// Radius 0.5 in local units, one triangle per segment, outline pairs (k, k + 3).
MeshGeometry Circle(int divisions);
MeshGeometry Line(float halfX);
MeshGeometry Point();
MeshGeometry Triangle();

// The geometry of a mesh type name ("quad", "circle", "quadinstance", "line",
// "point", "triangle"); nothing for an unknown name.
std::optional<MeshGeometry> ForType(std::string_view type, const MeshShape& shape);
} // namespace Geometry
