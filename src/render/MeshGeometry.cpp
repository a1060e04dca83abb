#include "render/MeshGeometry.h"

#include <cmath>

namespace
{
Vertex At(float x, float y, float s = 0.0f, float t = 0.0f)
{
    return Vertex{{x, y}, {s, t}, glm::vec4(1.0f)};
}
} // namespace

namespace Geometry
{
MeshGeometry Quad(float hx, float hy, float u, float v)
{
    const float du = 1.0f / (u > 0.0f ? u : 1.0f);
    const float dv = 1.0f / (v > 0.0f ? v : 1.0f);
    MeshGeometry g;
    g.vertices = {At(hx, hy, du, 0.0f), At(-hx, hy, 0.0f, 0.0f), At(-hx, -hy, 0.0f, dv),
                  At(hx, hy, du, 0.0f), At(hx, -hy, du, dv),     At(-hx, -hy, 0.0f, dv)};
    return g;
}

MeshGeometry Circle(int divisions)
{
    MeshGeometry g;
    if (divisions <= 0)
        return g;
    const float step = 6.2831855f / static_cast<float>(divisions);
    g.vertices.reserve(static_cast<std::size_t>(divisions) * 3);
    for (int i = 0; i < divisions; ++i)
    {
        const float a0 = static_cast<float>(i) * step;
        const float a1 = static_cast<float>(i + 1) * step;
        g.vertices.push_back(At(0.5f * std::cos(a0), 0.5f * std::sin(a0)));
        g.vertices.push_back(At(0.0f, 0.0f));
        g.vertices.push_back(At(0.5f * std::cos(a1), 0.5f * std::sin(a1)));
    }
    const auto last = static_cast<std::uint32_t>(3 * divisions - 4);
    for (std::uint32_t k = 0; 3 * divisions >= 4 && k <= last; ++k)
        g.indices.push_back({k, k + 3});
    return g;
}

MeshGeometry Line(float halfX)
{
    MeshGeometry g;
    g.vertices = {At(-halfX, 0.0f), At(halfX, 0.0f)};
    g.indices = {{0, 1}};
    return g;
}

MeshGeometry Point()
{
    MeshGeometry g;
    g.vertices = {At(0.0f, 0.0f)};
    return g;
}

MeshGeometry Triangle()
{
    MeshGeometry g;
    g.vertices = {At(-0.5f, -0.5f, 0.5f, 0.0f), At(0.5f, -0.5f), At(0.0f, 0.5f)};
    return g;
}

std::optional<MeshGeometry> ForType(std::string_view type, const MeshShape& s)
{
    if (type == "quad" || type == "quadinstance")
        return Quad(s.halfSizeX, s.halfSizeY, s.u, s.v);
    if (type == "circle")
        return Circle(s.divisions);
    if (type == "line")
        return Line(s.halfSizeX);
    if (type == "point")
        return Point();
    if (type == "triangle")
        return Triangle();
    return std::nullopt;
}
} // namespace Geometry
