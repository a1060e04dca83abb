#pragma once

#include "data/FieldDescriptor.h"

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include <memory>
#include <string>
#include <string_view>

// The "Free Cam" switch: while on, every scene camera leaves its own movement and
// follows the mouse instead. The cheat system flips it.
bool& FreeCameraSwitch();

// What the free camera reads from the mouse each update.
struct PointerState
{
    glm::vec2 _cursor{0.0f}; // pixels from the window centre, y up
    bool _dragHeld = false;  // the "middle click" action is held
    float _scroll = 0.0f;    // scroll delta this frame
};

// The view of a scene: pans, zooms exponentially (1.5^scale), rotates and shakes.
class SceneCamera
{
public:
    SceneCamera() = default;
    virtual ~SceneCamera() = default;

    SceneCamera(const SceneCamera&) = delete;
    SceneCamera& operator=(const SceneCamera&) = delete;

    // Called by the scene's Init.
    virtual void Init() {}
    // Moves the camera when the free camera is off.
    virtual void Follow(float /*dt*/) {}
    virtual std::string_view TypeName() const { return "defaultcam"; }

    // The installed factory's camera for the name, or a plain one when it knows none.
    static std::unique_ptr<SceneCamera> Create(std::string_view typeName);

    // Cameras that look up scenes and entities (the player camera) live in higher
    // layers, which install a maker here; it gives null for names it does not know.
    // Null leaves every name to the plain camera.
    using Factory = std::unique_ptr<SceneCamera> (*)(std::string_view typeName);
    static void SetFactory(Factory factory);

    void Read(const json& j);
    // The descriptor's keys plus "name".
    void Write(json& j) const;

    void Update(float dt);

    // S x R x T, recomputed when something changed.
    const glm::mat4& GetMatrix() const;

    // The camera's position in the world: the negated view translation.
    glm::vec2 GetPosition() const { return {-_translation.x, -_translation.y}; }
    void SetPosition(const glm::vec2& position);

    const glm::vec3& GetTranslation() const { return _translation; }
    void SetTranslation(const glm::vec3& translation);
    const glm::vec3& GetScale() const { return _scale; }
    void SetScale(const glm::vec3& scale);
    float GetRotation() const { return _rotation; }
    void SetRotation(float radians);
    const glm::vec3& GetVelocity() const { return _vel; }
    void SetVelocity(const glm::vec3& velocity) { _vel = velocity; }

    void StartShake(float magnitude, float decay);
    bool IsShaking() const { return _isshaking; }
    const glm::vec3& GetShake() const { return _shake; }
    float GetShakeMagnitude() const { return _mag; }

    bool InFreeCamera() const { return _inFreeCamera; }

    // (x, y) with y = r1 / 32768 * h - h / 2 drawn first, then x from r2 likewise.
    static glm::vec2 RandomShakeOffset(float width, float height);

    // The input system installs the real source; until then the pointer rests.
    using PointerSource = PointerState (*)();
    static void SetPointerSource(PointerSource source);

    static const FieldDescriptor<SceneCamera>& Descriptor();

private:
    void UpdateFreeCamera();

    glm::vec3 _shake{0.0f};
    float _mag = 0.0f;
    float _shaketime = 0.0f;
    float _decay = 0.0f;
    bool _isshaking = false;
    glm::vec3 _translation{0.0f};
    glm::vec3 _vel{0.0f};
    glm::vec3 _scale{1.0f};
    float _rotation = 0.0f;

    mutable glm::mat4 _matrix{1.0f};
    mutable bool _dirty = true;

    bool _inFreeCamera = false;
    glm::vec2 _savedPosition{0.0f};
    glm::vec3 _savedScale{1.0f};
    glm::vec2 _dragStartCursor{0.0f};
    glm::vec2 _dragStartPosition{0.0f};
};
