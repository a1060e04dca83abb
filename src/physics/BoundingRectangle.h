#pragma once

#include "physics/Shape.h"

#include <glm/vec2.hpp>

// An axis-aligned box (y grows upward). It is carried by colliders but takes part in
// no collision test. JSON: all six values, each read as given without re-deriving
// the edges.
class BoundingRectangle : public Shape
{
public:
    BoundingRectangle() : Shape(shape::BoundingRectangle) {}
    BoundingRectangle(const glm::vec2& center, const glm::vec2& extents);

    std::unique_ptr<Shape> Clone() const override { return std::make_unique<BoundingRectangle>(*this); }
    void Read(const json& j) override;
    void Write(json& j) const override;

    glm::vec2 _center{0.0f};
    glm::vec2 _extents{0.0f}; // half sizes
    float _left = 0.0f;
    float _right = 0.0f;
    float _top = 0.0f;
    float _bottom = 0.0f;
};
