#include "core/DebugLines.h"

#include <cmath>

DebugLines& DebugLines::Instance()
{
    static DebugLines instance;
    return instance;
}

void DebugLines::DrawSegment(const glm::vec2& start, const glm::vec2& end, const glm::vec4& colour)
{
    _segments.push_back({start, end});
    _colours.push_back(colour);
}

void DebugLines::DrawCircle(const glm::vec2& centre, float radius, const glm::vec4& colour)
{
    constexpr float kStep = 3.14159265f / 16.0f;
    for (int i = 0; i < kCircleSegments; ++i)
    {
        const float a0 = static_cast<float>(i) * kStep;
        const float a1 = static_cast<float>(i + 1) * kStep;
        DrawSegment(centre + radius * glm::vec2(std::cos(a0), std::sin(a0)),
                    centre + radius * glm::vec2(std::cos(a1), std::sin(a1)), colour);
    }
}

void DebugLines::DrawRectangle(float left, float right, float top, float bottom, const glm::vec4& colour)
{
    DrawSegment({left, top}, {right, top}, colour);
    DrawSegment({right, top}, {right, bottom}, colour);
    DrawSegment({right, bottom}, {left, bottom}, colour);
    DrawSegment({left, bottom}, {left, top}, colour);
}

void DebugLines::Clear()
{
    _segments.clear();
    _colours.clear();
}
