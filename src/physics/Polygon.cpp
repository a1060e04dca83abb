#include "physics/Polygon.h"

#include "core/DebugLines.h"
#include "data/FieldDescriptor.h"

#include <glm/vec4.hpp>

Polygon::Polygon(std::initializer_list<glm::vec2> vertices) : Shape(shape::Polygon)
{
    const glm::vec2* v = vertices.begin();
    const std::size_t n = vertices.size();
    _sides.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        _sides.push_back({v[i], v[(i + 1) % n]});
}

void Polygon::Read(const json& j)
{
    FieldIo::RequireObject(j);
    if (auto it = j.find("sides"); it != j.end())
        ReadSegments(_sides, *it);
}

void Polygon::Write(json& j) const
{
    if (!_sides.empty())
        j["sides"] = WriteSegments(_sides);
}

void Polygon::DebugDraw() const
{
    DebugLines& lines = DebugLines::Instance();
    for (const LineSegment& side : _sides)
    {
        lines.DrawSegment(side._start, side._end, kDebugColour);
        const glm::vec2 middle = (side._start + side._end) * 0.5f;
        lines.DrawSegment(middle, middle + side.Normal() * 10.0f, kDebugColour);
    }
}

void Polygon::PlaceFrom(const Polygon& local, const glm::mat4& matrix)
{
    _sides.resize(local._sides.size());
    for (std::size_t i = 0; i < _sides.size(); ++i)
    {
        const LineSegment& side = local._sides[i];
        _sides[i]._start = glm::vec2(matrix * glm::vec4(side._start, 0.0f, 1.0f));
        _sides[i]._end = glm::vec2(matrix * glm::vec4(side._end, 0.0f, 1.0f));
    }
}
