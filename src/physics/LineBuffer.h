#pragma once

#include "physics/LineSegment.h"
#include "physics/Shape.h"

#include <glm/mat4x4.hpp>

#include <vector>

// Loose line segments: level walls and other static geometry, in world coordinates
// when a collider holds them. JSON: the string "empty", or {"lines": [...]}.
class LineBuffer : public Shape
{
public:
    LineBuffer() : Shape(shape::LineBuffer) {}

    std::unique_ptr<Shape> Clone() const override { return std::make_unique<LineBuffer>(*this); }
    // Replaces the lines held.
    void Read(const json& j) override;
    void Write(json& j) const override;
    void DebugDraw() const override;

    // Becomes the other buffer with each end moved by the matrix (reuses its storage).
    void PlaceFrom(const LineBuffer& local, const glm::mat4& matrix);

    std::vector<LineSegment> _lines;
};
