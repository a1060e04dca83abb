#include "physics/LineBuffer.h"

#include "core/DebugLines.h"
#include "data/FieldDescriptor.h"

#include <glm/vec4.hpp>

namespace
{
constexpr const char* kEmpty = "empty";
}

void LineBuffer::Read(const json& j)
{
    _lines.clear();
    if (j == kEmpty)
        return;
    FieldIo::RequireObject(j);
    if (auto it = j.find("lines"); it != j.end())
        ReadSegments(_lines, *it);
}

void LineBuffer::Write(json& j) const
{
    if (_lines.empty())
    {
        j = kEmpty;
        return;
    }
    j["lines"] = WriteSegments(_lines);
}

void LineBuffer::DebugDraw() const
{
    DebugLines& lines = DebugLines::Instance();
    for (const LineSegment& line : _lines)
        lines.DrawSegment(line._start, line._end, kDebugColour);
}

void LineBuffer::PlaceFrom(const LineBuffer& local, const glm::mat4& matrix)
{
    _lines.resize(local._lines.size());
    for (std::size_t i = 0; i < _lines.size(); ++i)
    {
        _lines[i]._start = glm::vec2(matrix * glm::vec4(local._lines[i]._start, 0.0f, 1.0f));
        _lines[i]._end = glm::vec2(matrix * glm::vec4(local._lines[i]._end, 0.0f, 1.0f));
    }
}
