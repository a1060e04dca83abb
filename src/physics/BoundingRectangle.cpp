#include "physics/BoundingRectangle.h"

#include "data/FieldDescriptor.h"

BoundingRectangle::BoundingRectangle(const glm::vec2& center, const glm::vec2& extents)
    : Shape(shape::BoundingRectangle), _center(center), _extents(extents), _left(center.x - extents.x),
      _right(center.x + extents.x), _top(center.y + extents.y), _bottom(center.y - extents.y)
{
}

void BoundingRectangle::Read(const json& j)
{
    FieldIo::RequireObject(j);
    if (auto it = j.find("center"); it != j.end())
        FieldIo::ReadValue(_center, *it);
    if (auto it = j.find("extents"); it != j.end())
        FieldIo::ReadValue(_extents, *it);
    if (auto it = j.find("left"); it != j.end())
        FieldIo::ReadValue(_left, *it);
    if (auto it = j.find("right"); it != j.end())
        FieldIo::ReadValue(_right, *it);
    if (auto it = j.find("top"); it != j.end())
        FieldIo::ReadValue(_top, *it);
    if (auto it = j.find("bottom"); it != j.end())
        FieldIo::ReadValue(_bottom, *it);
}

void BoundingRectangle::Write(json& j) const
{
    j["center"] = FieldIo::WriteValue(_center);
    j["extents"] = FieldIo::WriteValue(_extents);
    j["left"] = FieldIo::WriteValue(_left);
    j["right"] = FieldIo::WriteValue(_right);
    j["top"] = FieldIo::WriteValue(_top);
    j["bottom"] = FieldIo::WriteValue(_bottom);
}
