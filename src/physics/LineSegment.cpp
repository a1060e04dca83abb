#include "physics/LineSegment.h"

#include "data/FieldDescriptor.h"

#include <glm/geometric.hpp>

glm::vec2 LineSegment::Normal() const
{
    const glm::vec2 d = _end - _start;
    const float length = glm::length(d);
    if (length == 0.0f)
        return glm::vec2(0.0f);
    return glm::vec2(d.y, -d.x) / length;
}

void LineSegment::Read(const json& j)
{
    FieldIo::RequireObject(j);
    if (auto it = j.find("start"); it != j.end())
        FieldIo::ReadValue(_start, *it);
    if (auto it = j.find("end"); it != j.end())
        FieldIo::ReadValue(_end, *it);
}

json LineSegment::Write() const
{
    json j = json::object();
    j["start"] = FieldIo::WriteValue(_start);
    j["end"] = FieldIo::WriteValue(_end);
    return j;
}

void ReadSegments(std::vector<LineSegment>& out, const json& array)
{
    if (!array.is_array())
        throw json::type_error::create(302, std::string("type must be array, but is ") + array.type_name(), &array);
    for (const json& element : array)
    {
        LineSegment segment;
        segment.Read(element);
        out.push_back(segment);
    }
}

json WriteSegments(const std::vector<LineSegment>& segments)
{
    json array = json::array();
    for (const LineSegment& segment : segments)
        array.push_back(segment.Write());
    return array;
}
