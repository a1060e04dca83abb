#pragma once

#include <cstddef>

struct SceneLights;

// The light and flashlight arrays reach the light map's program (see LightMap) through
// two uniform blocks, uploaded once per frame however many programs and sprites draw.
// Layout (std140), which the light map's shaders repeat:
//   LightBlock: vec4 lightPosRadius[64] (x, y, radius, factor), lightColors[64],
//               lightCones[64], lightShape[64] (falloff, inner radius, inner falloff, 0)
//   FlashlightBlock: vec4 flashCone[4] (edge A, edge B), flashShape[4] (radius, factor,
//               falloff, inner falloff), flashRange[4] (inner radius, first and last
//               fan vertex, 0), fanPoints[1000] (two fan vertices each)
// Both stay under the 16 KB a GL 3.3 driver must allow for a block, and the plain
// uniforms left stay far under its 1,024 fragment uniform components.
namespace LightUniforms
{
inline constexpr unsigned kLightBinding = 0;
inline constexpr unsigned kFlashlightBinding = 1;
inline constexpr std::size_t kMaxFlashlights = 4;
inline constexpr std::size_t kMaxFanVertices = 2000;

// Makes `lights` the set lit programs draw with, uploading it when it was gathered
// since the last upload. Null: no lights. Flashlights past the limits are left out
// and reported once.
void Use(const SceneLights* lights);

// The set in use; null for none.
const SceneLights* InUse();

// What "lightCount" and "totalFlashlights" are for the set in use.
int DrawnLights();
int DrawnFlashlights();

// Connects a freshly linked program's blocks (if it declares them) to the shared buffers.
void BindBlocks(unsigned program);

// Deletes the buffers; call while the context is still current.
void Release();

// How many of the set's flashlights fit, in order, within the limits above.
std::size_t FittingFlashlights(const SceneLights& lights);
} // namespace LightUniforms
