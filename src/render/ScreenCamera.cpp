#include "render/ScreenCamera.h"

#include "core/Screen.h"

#include <glm/gtc/matrix_transform.hpp>

namespace
{
ScreenCamera::UploadHook s_upload = nullptr;
}

ScreenProjection MakeScreenProjection(int width, int height)
{
    ScreenProjection p;
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    p._pixelScale = kDesignWidth / w;
    p._eye = glm::vec3(0.0f, 0.0f, 1.0f);
    p._view = glm::lookAt(p._eye, glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    const float halfW = w * 0.5f * p._pixelScale;
    const float halfH = h * 0.5f * p._pixelScale;
    p._projection = glm::ortho(-halfW + p._eye.x, halfW + p._eye.x, -halfH + p._eye.y, halfH + p._eye.y, -1.0f, 1.0f);
    return p;
}

ScreenCamera& ScreenCamera::Instance()
{
    static ScreenCamera instance;
    return instance;
}

ScreenCamera::ScreenCamera()
{
    Reset();
}

void ScreenCamera::Reset()
{
    _current = MakeScreenProjection(Screen::kVirtualSize.width, Screen::kVirtualSize.height);
}

void ScreenCamera::SetUploadHook(UploadHook hook)
{
    s_upload = hook;
}

void ScreenCamera::Resize(int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    _current = MakeScreenProjection(width, height);
    if (s_upload)
        s_upload(width, height, _current._projection);
}
