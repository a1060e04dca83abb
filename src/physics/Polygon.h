#pragma once

#include "physics/LineSegment.h"
#include "physics/Shape.h"

#include <glm/mat4x4.hpp>

#include <initializer_list>
#include <vector>

// A closed outline given as its sides, each from one vertex to the next. JSON {"sides"}.
class Polygon : public Shape
{
public:
    Polygon() : Shape(shape::Polygon) {}
    // Sides from each vertex to the next, the last closing back to the first.
    Polygon(std::initializer_list<glm::vec2> vertices);

    std::unique_ptr<Shape> Clone() const override { return std::make_unique<Polygon>(*this); }
    // Appends the sides in the file to the ones already held.
    void Read(const json& j) override;
    void Write(json& j) const override;
    // Every side, and each side's normal from its midpoint, 10 units long.
    void DebugDraw() const override;

    // Becomes the local polygon moved by the entity matrix (reuses its storage).
    void PlaceFrom(const Polygon& local, const glm::mat4& matrix);

    std::vector<LineSegment> _sides;
};
