#include "physics/Circle.h"

#include "core/DebugLines.h"
#include "data/FieldDescriptor.h"

#include <glm/vec4.hpp>

#include <cmath>

void Circle::Read(const json& j)
{
    FieldIo::RequireObject(j);
    if (auto it = j.find("radius"); it != j.end())
        FieldIo::ReadValue(_radius, *it);
    if (auto it = j.find("center"); it != j.end())
        FieldIo::ReadValue(_center, *it);
}

void Circle::Write(json& j) const
{
    j["radius"] = FieldIo::WriteValue(_radius);
    j["center"] = FieldIo::WriteValue(_center);
}

void Circle::DebugDraw() const
{
    DebugLines::Instance().DrawCircle(_center, _radius, kDebugColour);
}

void Circle::PlaceFrom(const Circle& local, const glm::mat4& matrix, float scaleX)
{
    _center = glm::vec2(matrix * glm::vec4(local._center, 0.0f, 1.0f));
    _radius = std::fabs(local._radius * scaleX);
}
