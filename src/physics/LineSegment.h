#pragma once

#include <glm/vec2.hpp>
#include <nlohmann/json_fwd.hpp>

#include <vector>

using json = nlohmann::json;

// A wall or a polygon side: a plain value, not a shape. JSON {"start", "end"}.
struct LineSegment
{
    glm::vec2 _start{0.0f};
    glm::vec2 _end{0.0f};

    // (dy, -dx) / length: for a wall, the side it may be crossed toward. Zero for a
    // segment of no length, which has no side.
    glm::vec2 Normal() const;

    void Read(const json& j);
    json Write() const;
};

// Appends one segment per element of a JSON array (a type error for anything else).
void ReadSegments(std::vector<LineSegment>& out, const json& array);
json WriteSegments(const std::vector<LineSegment>& segments);
