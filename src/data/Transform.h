#pragma once

#include "data/Component.h"
#include "data/FieldDescriptor.h"

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>

// Where an entity is: position, scale, rotation (degrees, counter-clockwise) and draw
// depth. The world matrix is rebuilt only after something changed.
class Transform : public Component
{
public:
    Transform() : Component(ctype::Transform) {}

    std::unique_ptr<Component> Clone() const override;
    void Read(const json& j) override;
    void Write(json& j) const override;
    std::string_view GetName() const override { return "transform"; }

    const glm::vec2& GetTranslation() const { return _translation; }
    const glm::vec2& GetScale() const { return _scale; }
    float GetRotation() const { return _rotation; }
    int GetDepth() const { return _depth; }

    void SetTranslation(const glm::vec2& translation);
    void SetScale(const glm::vec2& scale);
    void SetRotation(float degrees);
    void SetDepth(int depth) { _depth = depth; }

    // Translate x RotateZ x Scale, rebuilt first when stale.
    const glm::mat4& GetMatrix() const;
    bool IsStale() const { return _stale; }

    // Copies the values of another transform; the matrix becomes stale.
    void CopyValues(const Transform& other);

    static const FieldDescriptor<Transform>& Descriptor();

private:
    glm::vec2 _translation{0.0f, 0.0f};
    glm::vec2 _scale{1.0f, 1.0f};
    float _rotation = 0.0f;
    int _depth = 5;
    mutable glm::mat4 _matrix{0.0f};
    mutable bool _stale = true;
};
