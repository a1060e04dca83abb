#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>

#include <cstdint>

// The light falling on the screen, drawn once per scene and frame into an offscreen
// texture covering the viewport at a fraction of its resolution: ambient, then every
// lamp over its reach and every flashlight over the part of its fan the walls leave
// open, added up. Lit programs multiply their colour by it ("lightMap" on kTextureUnit,
// sampled with linear filtering where the fragment lies in the viewport), so a pixel's
// light costs the same however many layers cover it. Light changes slowly across the
// screen, so the smaller map loses little but a softer edge, a pixel or so wide.
namespace LightMap
{
inline constexpr int kTextureUnit = 1;
// Each map pixel covers this many screen pixels each way.
inline constexpr int kDownscale = 2;
// The program of the shader table that draws the lights.
inline constexpr const char* kProgramName = "lightmap";

// Makes the map hold the lights in use (LightUniforms) seen through `camera` over
// `ambient`, drawing it unless it already does. Call before binding what a lit draw
// needs: the map draws with its own program, vertex arrays, framebuffer, viewport,
// stencil test and blending (binding through GlState, and putting the framebuffer,
// viewport, stencil test and blending back).
void Prepare(const glm::mat4& camera, float ambient);

// The lights in use changed: the next Prepare draws again.
void Invalidate();

// The map's size in pixels (the viewport's divided by kDownscale, rounded up); (0, 0)
// before the first Prepare.
glm::ivec2 Size();
// How many times the map was drawn (tests and benchmarks).
std::uint64_t Draws();

// Deletes the GL objects; call while the context is still current.
void Release();
} // namespace LightMap
