#pragma once

#include <glm/vec2.hpp>

#include <limits>

class Circle;
class LineBuffer;
class Point;
class Polygon;
class Shape;
class WallIndex;
struct LineSegment;

// What every test returns. Swept tests give the fraction of the movement at which
// contact happens and the length of movement left after it; overlap tests give the
// penetration depth and no time.
struct CollisionResult
{
    static constexpr float kNoTime = std::numeric_limits<float>::max();

    bool _hit = false;
    glm::vec2 _normal{0.0f};
    float _depth = 0.0f;
    float _time = kNoTime;
};

// Where the second body of a line-buffer test stood before this frame's movement.
struct PriorMotion
{
    glm::vec2 _displacement{0.0f}; // polygons: old position - position
    glm::vec2 _oldCenter{0.0f};    // circles: the old centre; points: the old position
};

namespace intersect
{
// A point moving from p to q against a one-sided segment: only crossings toward the
// segment's normal count.
CollisionResult PointSegment(const glm::vec2& p, const glm::vec2& q, const LineSegment& segment);
// A point moving from p to q against a circle.
CollisionResult PointCircle(const glm::vec2& p, const glm::vec2& q, const glm::vec2& center, float radius);
// A circle of the given radius whose centre moves from p to q against a one-sided segment.
CollisionResult CircleSegment(const glm::vec2& p, const glm::vec2& q, float radius, const LineSegment& segment);

// Swept tests of a body against static lines; the earliest contact wins. An index
// built from the same lines only saves time: the result is the same without it.
CollisionResult LineBufferPolygon(const LineBuffer& lines, const Polygon& polygon, const glm::vec2& displacement,
                                  const WallIndex* index = nullptr);
CollisionResult LineBufferCircle(const LineBuffer& lines, const Circle& circle, const glm::vec2& oldCenter,
                                 const WallIndex* index = nullptr);
// The first line in buffer order that the point crosses, sweeping from where it is
// back to where it was.
CollisionResult LineBufferPoint(const LineBuffer& lines, const Point& point, const glm::vec2& oldPosition,
                                const WallIndex* index = nullptr);

// Overlap tests; normals point from the first shape toward the second.
CollisionResult CircleCircle(const Circle& a, const Circle& b);
CollisionResult CirclePoint(const Circle& a, const Point& b);
CollisionResult PolygonPolygon(const Polygon& a, const Polygon& b);
CollisionResult PolygonCircle(const Polygon& a, const Circle& b);
CollisionResult PolygonPoint(const Polygon& a, const Point& b);

// The test for two shapes, the lower type number first; pairs without a test (and a
// pair given the other way round) do not collide.
CollisionResult Shapes(const Shape& first, const Shape& second, const PriorMotion& motion);
} // namespace intersect
