#include "render/RenderGlobals.h"

#include "render/LightUniforms.h"
#include "render/Mesh.h"
#include "render/RenderState.h"
#include "render/SceneCamera.h"
#include "render/ScreenCamera.h"
#include "render/ShaderSystem.h"
#include "render/SpriteBatch.h"
#include "render/SpriteSource.h"

void ResetRenderGlobals()
{
    SpriteBatch::Release();
    Mesh::ClearTable();
    SpriteSource::ClearTable();
    ShaderSystem::Instance().Exit();
    RenderState::Reset();
    LightUniforms::Release();
    ScreenCamera::Instance().Reset();
    ScreenCamera::SetUploadHook(nullptr);
    FreeCameraSwitch() = false;
    SceneCamera::SetPointerSource(nullptr);
    SceneCamera::SetFactory(nullptr);
}
