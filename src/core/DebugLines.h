#pragma once

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <vector>

// Coloured line segments any code may push during a frame. Nothing here touches GL:
// the debug system draws the whole list at the end of the frame and empties it.
class DebugLines
{
public:
    struct Segment
    {
        glm::vec2 _start;
        glm::vec2 _end;
    };

    static constexpr int kCircleSegments = 32;

    static DebugLines& Instance();

    void DrawSegment(const glm::vec2& start, const glm::vec2& end, const glm::vec4& colour);
    void DrawCircle(const glm::vec2& centre, float radius, const glm::vec4& colour);
    void DrawRectangle(float left, float right, float top, float bottom, const glm::vec4& colour);

    // Parallel lists: colour i belongs to segment i.
    const std::vector<Segment>& Segments() const { return _segments; }
    const std::vector<glm::vec4>& Colours() const { return _colours; }

    // Keeps the capacity, so a steady stream of debug lines allocates nothing.
    void Clear();

private:
    std::vector<Segment> _segments;
    std::vector<glm::vec4> _colours;
};
