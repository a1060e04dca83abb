#pragma once

#include <glm/vec2.hpp>

#include <cstddef>
#include <vector>

// The region a flashlight's beam may reach, as triangles the light pass rasterises
// once per frame instead of searching the fan for every lit fragment.
namespace fancover
{
// How far light reaches past a fan edge, so the face of the wall that stops it shows.
inline constexpr float kWallBleed = 3.0f;
inline constexpr float kFullTurn = 6.28318531f;

// The directions from `from` turning `span` radians anticlockwise; a span of a full
// turn or more holds every direction.
struct Sweep
{
    float from = 0.0f;
    float span = kFullTurn;
};

// The directions a cone between the edge offsets `edgeA` and `edgeB` lights (the turn
// anticlockwise from B to A), widened to hold a soft rim that fades out `rim` below the
// cosine of its half angle. A zero edge gives the full turn.
Sweep ConeSweep(const glm::vec2& edgeA, const glm::vec2& edgeB, float rim);

// Whether `p` lies in the fan `fan[0..count)`: the bulb at fan[0], then the hits sorted
// by angle. Each wedge between neighbouring hits (the last wraps round to the first) is
// closed by the segment between them, moved `bleed` away from the bulb; a wedge wider
// than half a turn has no wall across it. Fewer than two hits block nothing.
bool Contains(const glm::vec2* fan, std::size_t count, const glm::vec2& p, float bleed = kWallBleed);

// Appends triangles (three points each) covering what Contains accepts within `radius`
// of the bulb, in the directions of `within`. Triangles may overlap along shared rays
// and reach past the radius; the light pass marks coverage, so neither adds light twice.
void Append(const glm::vec2* fan, std::size_t count, float radius, std::vector<glm::vec2>& out,
            float bleed = kWallBleed, const Sweep& within = {});
} // namespace fancover
