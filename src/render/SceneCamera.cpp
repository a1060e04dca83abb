#include "render/SceneCamera.h"

#include "core/StdRandom.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>
#include <cstdlib>

namespace
{
PointerState RestingPointer()
{
    return {};
}

SceneCamera::PointerSource s_pointer = &RestingPointer;
SceneCamera::Factory s_factory = nullptr;

constexpr float kZoomBase = 1.5f;
} // namespace

bool& FreeCameraSwitch()
{
    static bool on = false;
    return on;
}

const FieldDescriptor<SceneCamera>& SceneCamera::Descriptor()
{
    static const FieldDescriptor<SceneCamera> descriptor("SceneCamera", {
                                                                            GLOAMER_FIELD(SceneCamera, _shake),
                                                                            GLOAMER_FIELD(SceneCamera, _mag),
                                                                            GLOAMER_FIELD(SceneCamera, _shaketime),
                                                                            GLOAMER_FIELD(SceneCamera, _decay),
                                                                            GLOAMER_FIELD(SceneCamera, _isshaking),
                                                                            GLOAMER_FIELD(SceneCamera, _translation),
                                                                            GLOAMER_FIELD(SceneCamera, _vel),
                                                                            GLOAMER_FIELD(SceneCamera, _scale),
                                                                            GLOAMER_FIELD(SceneCamera, _rotation),
                                                                        });
    return descriptor;
}

std::unique_ptr<SceneCamera> SceneCamera::Create(std::string_view typeName)
{
    if (s_factory)
        if (auto camera = s_factory(typeName))
            return camera;
    return std::make_unique<SceneCamera>();
}

void SceneCamera::SetFactory(Factory factory)
{
    s_factory = factory;
}

void SceneCamera::SetPointerSource(PointerSource source)
{
    s_pointer = source ? source : &RestingPointer;
}

void SceneCamera::Read(const json& j)
{
    Descriptor().Read(*this, j);
    _dirty = true;
}

void SceneCamera::Write(json& j) const
{
    Descriptor().Write(*this, j);
    j["name"] = std::string(TypeName());
}

void SceneCamera::SetPosition(const glm::vec2& position)
{
    _translation = glm::vec3(-position.x, -position.y, 0.0f);
    _dirty = true;
}

void SceneCamera::SetTranslation(const glm::vec3& translation)
{
    _translation = translation;
    _dirty = true;
}

void SceneCamera::SetScale(const glm::vec3& scale)
{
    _scale = scale;
    _dirty = true;
}

void SceneCamera::SetRotation(float radians)
{
    _rotation = radians;
    _dirty = true;
}

void SceneCamera::StartShake(float magnitude, float decay)
{
    _mag = magnitude;
    _decay = decay;
    _shaketime = 0.0f;
    _isshaking = true;
}

const glm::mat4& SceneCamera::GetMatrix() const
{
    if (_dirty)
    {
        const glm::vec3 zoom(std::pow(kZoomBase, _scale.x), std::pow(kZoomBase, _scale.y),
                             std::pow(kZoomBase, _scale.z));
        const glm::mat4 s = glm::scale(glm::mat4(1.0f), zoom);
        const glm::mat4 r = glm::rotate(glm::mat4(1.0f), _rotation, glm::vec3(0.0f, 0.0f, 1.0f));
        const glm::mat4 t = glm::translate(glm::mat4(1.0f), _isshaking ? _translation + _shake : _translation);
        _matrix = s * r * t;
        _dirty = false;
    }
    return _matrix;
}

void SceneCamera::UpdateFreeCamera()
{
    if (!_inFreeCamera)
    {
        _inFreeCamera = true;
        _savedPosition = GetPosition();
        _savedScale = _scale;
    }
    const PointerState pointer = s_pointer();
    if (!pointer._dragHeld)
    {
        _dragStartCursor = pointer._cursor;
        _dragStartPosition = GetPosition();
    }
    else
    {
        // The world follows the cursor, so the view translation moves with it.
        const float zoom = std::pow(kZoomBase, _scale.x);
        const glm::vec2 moved = -_dragStartPosition + (pointer._cursor - _dragStartCursor) / zoom;
        _translation = glm::vec3(moved, 0.0f);
    }
    _scale += glm::vec3(pointer._scroll * 0.5f);
}

void SceneCamera::Update(float dt)
{
    if (!FreeCameraSwitch())
    {
        if (_inFreeCamera)
        {
            _translation = glm::vec3(-_savedPosition.x, -_savedPosition.y, 0.0f);
            _scale = _savedScale;
            _dirty = true;
        }
        _inFreeCamera = false;
        Follow(dt);
    }
    else
        UpdateFreeCamera();

    if (_isshaking)
    {
        _shake.x = std::cos(50.0f * _shaketime) * _mag;
        _shake.y = std::sin(45.0f * _shaketime) * _mag;
        _shaketime += dt;
        _mag -= dt * _decay;
        if (_mag <= 0.0f)
        {
            _shaketime = 0.0f;
            _isshaking = false;
            _shake = glm::vec3(0.0f);
        }
    }

    _translation += _vel * dt;
    _dirty = true;
}

glm::vec2 SceneCamera::RandomShakeOffset(float width, float height)
{
    // y is drawn first; 15-bit draws keep the offset inside the box whatever RAND_MAX is.
    const float y = StdRandom::Unit() * height - height * 0.5f;
    const float x = StdRandom::Unit() * width - width * 0.5f;
    return {x, y};
}
