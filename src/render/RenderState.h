#pragma once

#include <glm/vec4.hpp>

class SceneCamera;

// Renderer state that scenes set and the window and sprites apply once GL is live.
namespace RenderState
{
// The colour the window clears to at the start of each frame's drawing.
inline constexpr glm::vec4 kDefaultClearColour{0.1f, 0.1f, 0.1f, 1.0f};
const glm::vec4& GetClearColour();
void SetClearColour(const glm::vec4& colour);

// While on, sprites draw in window coordinates instead of through the scene camera.
bool IsScreenSpace();
void SetScreenSpace(bool on);

// The camera of the current scene, set by the scene system whenever the current scene
// changes; null without one. Sprites and the cursor see the world through it.
const SceneCamera* GetCamera();
void SetCamera(const SceneCamera* camera);

// While on, lit sprites draw at full ambient (the debug option and the "Toggle Lights"
// cheat flip it).
bool AreLightsDisabled();
void SetLightsDisabled(bool disabled);

// Back to the start-up values (between tests and runs).
void Reset();
} // namespace RenderState
