#pragma once

#include "physics/Shape.h"

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>

// JSON {"radius", "center"}.
class Circle : public Shape
{
public:
    Circle() : Shape(shape::Circle) {}
    Circle(const glm::vec2& center, float radius) : Shape(shape::Circle), _radius(radius), _center(center) {}

    std::unique_ptr<Shape> Clone() const override { return std::make_unique<Circle>(*this); }
    void Read(const json& j) override;
    void Write(json& j) const override;
    void DebugDraw() const override;

    // Centre moved by the entity matrix; radius scaled by the magnitude of scale.x.
    void PlaceFrom(const Circle& local, const glm::mat4& matrix, float scaleX);

    float _radius = 0.0f;
    glm::vec2 _center{0.0f};
};
