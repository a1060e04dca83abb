#include "data/Transform.h"

#include "data/TypeRegistry.h"

#include <glm/gtc/matrix_transform.hpp>

GLOAMER_REGISTER_COMPONENT(Transform, ctype::Transform)

const FieldDescriptor<Transform>& Transform::Descriptor()
{
    static const FieldDescriptor<Transform> descriptor("Transform", {
                                                                        GLOAMER_FIELD(Transform, _translation),
                                                                        GLOAMER_FIELD(Transform, _scale),
                                                                        GLOAMER_FIELD(Transform, _rotation),
                                                                        GLOAMER_FIELD(Transform, _depth),
                                                                    });
    return descriptor;
}

std::unique_ptr<Component> Transform::Clone() const
{
    auto copy = std::make_unique<Transform>();
    copy->CopyValues(*this);
    return copy;
}

void Transform::CopyValues(const Transform& other)
{
    _translation = other._translation;
    _scale = other._scale;
    _rotation = other._rotation;
    _depth = other._depth;
    _stale = true;
}

void Transform::Read(const json& j)
{
    Descriptor().Read(*this, j);
    _stale = true;
}

void Transform::Write(json& j) const
{
    Descriptor().Write(*this, j);
}

void Transform::SetTranslation(const glm::vec2& translation)
{
    _translation = translation;
    _stale = true;
}

void Transform::SetScale(const glm::vec2& scale)
{
    _scale = scale;
    _stale = true;
}

void Transform::SetRotation(float degrees)
{
    _rotation = degrees;
    _stale = true;
}

const glm::mat4& Transform::GetMatrix() const
{
    if (_stale)
    {
        glm::mat4 m = glm::translate(glm::mat4(1.0f), glm::vec3(_translation, 0.0f));
        m = glm::rotate(m, _rotation * 0.017453292f, glm::vec3(0.0f, 0.0f, 1.0f));
        _matrix = glm::scale(m, glm::vec3(_scale, 1.0f));
        _stale = false;
    }
    return _matrix;
}
