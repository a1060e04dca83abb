#pragma once

#include "physics/Shape.h"

#include <glm/vec2.hpp>

// JSON {"center"}.
class Point : public Shape
{
public:
    Point() : Shape(shape::Point) {}
    explicit Point(const glm::vec2& center) : Shape(shape::Point), _center(center) {}

    std::unique_ptr<Shape> Clone() const override { return std::make_unique<Point>(*this); }
    void Read(const json& j) override;
    void Write(json& j) const override;

    // Moved by the entity position only: a point has no size to rotate or scale.
    void PlaceFrom(const Point& local, const glm::vec2& position) { _center = local._center + position; }

    glm::vec2 _center{0.0f};
};
