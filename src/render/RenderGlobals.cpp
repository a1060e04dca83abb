#include "render/RenderGlobals.h"

#include "render/Mesh.h"
#include "render/RenderState.h"
#include "render/SceneCamera.h"
#include "render/ScreenCamera.h"
#include "render/ShaderSystem.h"
#include "render/SpriteSource.h"

void ResetRenderGlobals()
{
    Mesh::ClearTable();
    SpriteSource::ClearTable();
    ShaderSystem::Instance().Exit();
    RenderState::Reset();
    ScreenCamera::Instance().Reset();
    ScreenCamera::SetUploadHook(nullptr);
    FreeCameraSwitch() = false;
    SceneCamera::SetPointerSource(nullptr);
    SceneCamera::SetFactory(nullptr);
}
