#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

// The projection that puts the world on the screen: always 1920 units wide, centred
// on the origin, whatever the framebuffer's size.
struct ScreenProjection
{
    glm::vec3 _eye{0.0f, 0.0f, 1.0f};
    glm::mat4 _view{1.0f};
    glm::mat4 _projection{1.0f};
    float _pixelScale = 1.0f; // world units per framebuffer pixel
};

inline constexpr float kDesignWidth = 1920.0f;

// Pure math for a framebuffer of width x height pixels (both > 0).
ScreenProjection MakeScreenProjection(int width, int height);

// The process-wide screen camera.
class ScreenCamera
{
public:
    static ScreenCamera& Instance();

    // Called with the framebuffer size at start-up and on every size change. A size
    // of zero (a minimised window) keeps the previous projection.
    void Resize(int width, int height);

    const ScreenProjection& Get() const { return _current; }
    const glm::mat4& GetProjection() const { return _current._projection; }
    float GetPixelScale() const { return _current._pixelScale; }

    // The renderer's half of a resize: set the GL viewport and upload the projection
    // as "projection" to every shader program. Installed by the shader system once
    // programs exist; without it a resize only computes the matrices.
    using UploadHook = void (*)(int width, int height, const glm::mat4& projection);
    static void SetUploadHook(UploadHook hook);

    // The 1920 x 1080 projection (between tests and runs).
    void Reset();

private:
    ScreenCamera();

    ScreenProjection _current;
};
