#pragma once

#include "physics/LineSegment.h"

#include <glm/vec2.hpp>

#include <cstdint>
#include <optional>
#include <vector>

// What a flashlight sees: rays cast from its origin at the ends of nearby walls, the
// hits sorted by angle into a triangle fan. Walls are one-sided: a wall blocks only
// rays that start on its left (the side its Normal() points away from) or on its line.

struct FanSettings
{
    float _cullDist = 2000.0f; // walls with both ends at least this far away are ignored
    float _raycastRot = 0.3f;  // degrees the extra ray beside each wall end is turned
};

// One visibility sample: the ray from _origin to _point, at _angle degrees.
struct FanHit
{
    glm::vec2 _origin{0.0f};
    glm::vec2 _point{0.0f};
    float _angle = 0.0f;
};

// Storage reused between updates, so a steady flashlight allocates nothing.
struct FanWork
{
    std::vector<LineSegment> _segments; // the walls kept for this origin
    std::vector<FanHit> _hits;          // sorted by angle once built
    std::vector<glm::vec2> _fan;        // the origin, then every hit point in order

    // The fast build's angular buckets: for each, the indices of the kept walls whose
    // angular span from the origin touches it.
    std::vector<std::uint32_t> _bucketStart;
    std::vector<std::uint32_t> _bucketItems;
    std::vector<std::uint32_t> _bucketFill;
};

namespace fan
{
// Where the ray from a to b crosses the segment, or nothing: parallel rays, rays that
// do not go from the segment's left (or its line) to strictly its right, and rays that
// pass beside its ends miss.
std::optional<glm::vec2> Crossing(const LineSegment& segment, const glm::vec2& a, const glm::vec2& b);

// `v` turned counter-clockwise by `degrees`.
glm::vec2 Rotate(const glm::vec2& v, float degrees);

// Builds work._segments, _hits and _fan for `origin` over `walls`. The result is the
// straightforward all-walls algorithm's (BuildPlain), point for point; the angular
// buckets only skip walls that no ray in a bucket can reach.
void Build(const glm::vec2& origin, const std::vector<LineSegment>& walls, const FanSettings& settings, FanWork& work);

// Every ray tested against every kept wall: quadratic, kept as the reference the fast
// build is measured and checked against.
void BuildPlain(const glm::vec2& origin, const std::vector<LineSegment>& walls, const FanSettings& settings,
                FanWork& work);
} // namespace fan
