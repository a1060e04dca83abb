#pragma once

#include <glm/vec2.hpp>

class Scene;
struct LineSegment;

namespace sightline
{
// True when the segments a0-a1 and b0-b1 share a point (touching counts).
bool SegmentsCross(const glm::vec2& a0, const glm::vec2& a1, const glm::vec2& b0, const glm::vec2& b1);

// True when the segment from `from` to `to` crosses none of the scene's walls: the
// segments of every enabled line-buffer collider.
bool IsClear(const Scene& scene, const glm::vec2& from, const glm::vec2& to);
} // namespace sightline
