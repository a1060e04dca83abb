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

// Whether `p` lies in the fan `fan[0..count)`: the bulb at fan[0], then the hits sorted
// by angle. Each wedge between neighbouring hits (the last wraps round to the first) is
// closed by the segment between them, moved `bleed` away from the bulb; a wedge wider
// than half a turn has no wall across it. Fewer than two hits block nothing.
bool Contains(const glm::vec2* fan, std::size_t count, const glm::vec2& p, float bleed = kWallBleed);

// Appends triangles (three points each) covering what Contains accepts within `radius`
// of the bulb. Triangles may overlap along shared rays and reach past the radius; the
// light pass marks coverage, so neither adds light twice.
void Append(const glm::vec2* fan, std::size_t count, float radius, std::vector<glm::vec2>& out,
            float bleed = kWallBleed);
} // namespace fancover
