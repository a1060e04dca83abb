#include "render/RenderState.h"

namespace
{
glm::vec4 s_clearColour = RenderState::kDefaultClearColour;
bool s_screenSpace = false;
bool s_lightsDisabled = false;
const SceneCamera* s_camera = nullptr;
} // namespace

namespace RenderState
{
const glm::vec4& GetClearColour()
{
    return s_clearColour;
}

void SetClearColour(const glm::vec4& colour)
{
    s_clearColour = colour;
}

bool IsScreenSpace()
{
    return s_screenSpace;
}

void SetScreenSpace(bool on)
{
    s_screenSpace = on;
}

const SceneCamera* GetCamera()
{
    return s_camera;
}

void SetCamera(const SceneCamera* camera)
{
    s_camera = camera;
}

bool AreLightsDisabled()
{
    return s_lightsDisabled;
}

void SetLightsDisabled(bool disabled)
{
    s_lightsDisabled = disabled;
}

void Reset()
{
    s_lightsDisabled = false;
    s_camera = nullptr;
    s_clearColour = kDefaultClearColour;
    s_screenSpace = false;
}
} // namespace RenderState
