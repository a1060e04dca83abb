#include "physics/Intersection.h"

#include "physics/Circle.h"
#include "physics/LineBuffer.h"
#include "physics/Point.h"
#include "physics/Polygon.h"
#include "physics/WallIndex.h"

#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kMaxFloat = std::numeric_limits<float>::max();
// Coincident centres give no direction to separate along; any fixed one will do.
constexpr glm::vec2 kFallbackNormal{0.0f, 1.0f};

CollisionResult Swept(const glm::vec2& normal, float depth, float time)
{
    return {true, normal, depth, time};
}

CollisionResult Overlap(const glm::vec2& normal, float depth)
{
    return {true, normal, depth, CollisionResult::kNoTime};
}

// A box around a movement or a shape, only to skip line tests that cannot hit: every
// swept hit lies on the path, within the radius of the line.
struct Box
{
    glm::vec2 lo{kMaxFloat};
    glm::vec2 hi{-kMaxFloat};

    void Add(const glm::vec2& p)
    {
        lo = glm::min(lo, p);
        hi = glm::max(hi, p);
    }
    // Far above the rounding error of the sweeps, so the skip never changes a result.
    float Slack() const
    {
        const glm::vec2 m = glm::max(glm::abs(lo), glm::abs(hi));
        return 1e-4f * (1.0f + std::max(m.x, m.y));
    }
};

bool Apart(const Box& a, const LineSegment& line, float margin)
{
    const glm::vec2 lo = glm::min(line._start, line._end);
    const glm::vec2 hi = glm::max(line._start, line._end);
    return a.lo.x - margin > hi.x || lo.x - margin > a.hi.x || a.lo.y - margin > hi.y || lo.y - margin > a.hi.y;
}

// Calls test on each line that may be within margin of the box, in buffer order,
// until it returns true.
template <typename Test>
void ForLinesNear(const LineBuffer& lines, const WallIndex* index, const Box& box, float margin, Test&& test)
{
    if (index && index->Covers(lines))
    {
        for (std::uint32_t i : index->Near(box.lo - margin, box.hi + margin))
            if (!Apart(box, lines._lines[i], margin) && test(lines._lines[i]))
                return;
        return;
    }
    for (const LineSegment& line : lines._lines)
        if (!Apart(box, line, margin) && test(line))
            return;
}

struct Span
{
    float min = kMaxFloat;
    float max = -kMaxFloat;

    void Add(float v)
    {
        min = std::min(min, v);
        max = std::max(max, v);
    }
};

Span Project(const Polygon& polygon, const glm::vec2& axis)
{
    Span span;
    for (const LineSegment& side : polygon._sides)
    {
        span.Add(glm::dot(side._start, axis));
        span.Add(glm::dot(side._end, axis));
    }
    return span;
}

// Smallest overlap over the axes tried so far; a negative one is a separating axis.
struct AxisSearch
{
    float smallest = kMaxFloat;
    glm::vec2 normal{0.0f};

    // False once the shapes are known to be apart.
    bool Try(float overlap, const glm::vec2& axis)
    {
        if (overlap < smallest)
        {
            smallest = overlap;
            normal = axis;
        }
        return smallest >= 0.0f;
    }
    // With no usable axis (every side of no length) there is nothing to separate along.
    CollisionResult Result() const { return smallest == kMaxFloat ? CollisionResult{} : Overlap(normal, smallest); }
};

// Overlap of a on an axis against b's span, and the normal pointing from a toward b.
float SpanOverlap(const Span& a, const Span& b, const glm::vec2& axis, glm::vec2& normal)
{
    if (a.max > b.max)
    {
        normal = -axis;
        return b.max - a.min;
    }
    normal = axis;
    return a.max - b.min;
}
} // namespace

namespace intersect
{
CollisionResult PointSegment(const glm::vec2& p, const glm::vec2& q, const LineSegment& segment)
{
    const glm::vec2 n = segment.Normal();
    const glm::vec2 d = q - p;
    const float dn = glm::dot(d, n);
    if (dn == 0.0f)
        return {};
    const float c = glm::dot(segment._start, n);
    const float pn = glm::dot(p, n);
    if (!(pn <= c && c < glm::dot(q, n)))
        return {};
    const float t = (c - pn) / dn;
    const glm::vec2 h = p + d * t;
    const glm::vec2& s = segment._start;
    const glm::vec2& e = segment._end;
    if (glm::dot(h - s, e - s) < 0.0f || glm::dot(h - e, s - e) < 0.0f)
        return {};
    return Swept(n, glm::length(d) * (1.0f - t), t);
}

CollisionResult PointCircle(const glm::vec2& p, const glm::vec2& q, const glm::vec2& center, float radius)
{
    if (p == q)
        return {};
    const glm::vec2 move = q - p;
    const float length = glm::length(move);
    const glm::vec2 u = move / length;
    const glm::vec2 w = center - p;
    const float a = glm::dot(u, w);
    const float w2 = glm::dot(w, w);
    const float r2 = radius * radius;
    if (a < 0.0f && std::sqrt(w2) > radius)
        return {};
    const float offset2 = w2 - a * a;
    if (offset2 > r2)
        return {};
    const float k = std::sqrt(std::max(r2 - offset2, 0.0f));
    float t = (a - k) / length;
    if (!(t >= 0.0f && t <= 1.0f))
    {
        t = (a + k) / length;
        if (!(t >= 0.0f && t <= 1.0f))
            return {};
    }
    const glm::vec2 toCenter = center - (p + move * t);
    const float distance = glm::length(toCenter);
    // Touching at the centre itself (a circle of no size): the way in is the way moved.
    const glm::vec2 normal = distance > 0.0f ? toCenter / distance : u;
    return Swept(normal, (1.0f - t) * length, t);
}

CollisionResult CircleSegment(const glm::vec2& p, const glm::vec2& q, float radius, const LineSegment& segment)
{
    const glm::vec2 n = segment.Normal();
    const glm::vec2 d = q - p;
    const float dn = glm::dot(d, n);
    if (dn == 0.0f)
        return {};
    const glm::vec2& s = segment._start;
    const glm::vec2& e = segment._end;
    const glm::vec2 shiftedStart = s - radius * n;
    const glm::vec2 shiftedEnd = e - radius * n;
    const float c = glm::dot(shiftedStart, n);
    const float pn = glm::dot(p, n);
    const float qn = glm::dot(q, n);

    if (pn <= c && c < qn)
    {
        const float t = (c - pn) / dn;
        const glm::vec2 h = p + d * t;
        if (glm::dot(h - shiftedStart, e - s) < 0.0f)
            return PointCircle(p, q, s, radius);
        if (glm::dot(h - shiftedEnd, s - e) < 0.0f)
            return PointCircle(p, q, e, radius);
        return Swept(n, glm::length(d) * (1.0f - t), t);
    }
    if (pn >= c && qn > c)
    {
        const CollisionResult atStart = PointCircle(p, q, s, radius);
        return atStart._hit ? atStart : PointCircle(p, q, e, radius);
    }
    return {};
}

CollisionResult LineBufferPolygon(const LineBuffer& lines, const Polygon& polygon, const glm::vec2& displacement,
                                  const WallIndex* index)
{
    if (displacement == glm::vec2(0.0f))
        return {};
    Box swept;
    for (const LineSegment& side : polygon._sides)
    {
        swept.Add(side._start);
        swept.Add(side._end);
    }
    swept.Add(swept.lo + displacement);
    swept.Add(swept.hi + displacement);

    CollisionResult best;
    ForLinesNear(lines, index, swept, swept.Slack(),
                 [&](const LineSegment& line)
                 {
                     for (const LineSegment& side : polygon._sides)
                     {
                         const CollisionResult corner = PointSegment(side._end + displacement, side._end, line);
                         if (corner._hit && corner._time < best._time)
                             best = corner;
                         CollisionResult wallEnd = PointSegment(line._start - displacement, line._start, side);
                         if (wallEnd._hit && wallEnd._time < best._time)
                         {
                             wallEnd._normal = -wallEnd._normal;
                             best = wallEnd;
                         }
                     }
                     return false;
                 });
    return best;
}

CollisionResult LineBufferCircle(const LineBuffer& lines, const Circle& circle, const glm::vec2& oldCenter,
                                 const WallIndex* index)
{
    if (oldCenter == circle._center)
        return {};
    Box path;
    path.Add(oldCenter);
    path.Add(circle._center);

    CollisionResult best;
    ForLinesNear(lines, index, path, std::fabs(circle._radius) + path.Slack(),
                 [&](const LineSegment& line)
                 {
                     const CollisionResult result = CircleSegment(oldCenter, circle._center, circle._radius, line);
                     if (result._hit && result._time < best._time)
                         best = result;
                     return false;
                 });
    return best;
}

CollisionResult LineBufferPoint(const LineBuffer& lines, const Point& point, const glm::vec2& oldPosition,
                                const WallIndex* index)
{
    Box path;
    path.Add(point._center);
    path.Add(oldPosition);
    CollisionResult first;
    ForLinesNear(lines, index, path, path.Slack(),
                 [&](const LineSegment& line)
                 {
                     first = PointSegment(point._center, oldPosition, line);
                     return first._hit;
                 });
    return first;
}

CollisionResult CircleCircle(const Circle& a, const Circle& b)
{
    const glm::vec2 d = b._center - a._center;
    const float distance = glm::length(d);
    const float reach = a._radius + b._radius;
    if (!(reach > distance))
        return {};
    return Overlap(distance > 0.0f ? d / distance : kFallbackNormal, reach - distance + 0.1f);
}

CollisionResult CirclePoint(const Circle& a, const Point& b)
{
    const glm::vec2 d = b._center - a._center;
    const float distance = glm::length(d);
    if (!(a._radius > distance))
        return {};
    // From the circle toward the point, like every other overlap test, so a rigid
    // response pushes the two apart rather than further in.
    return Overlap(distance > 0.0f ? d / distance : kFallbackNormal, a._radius - distance);
}

CollisionResult PolygonPolygon(const Polygon& a, const Polygon& b)
{
    if (a._sides.size() < 3)
        return {};
    AxisSearch search;
    for (const Polygon* owner : {&a, &b})
    {
        for (const LineSegment& side : owner->_sides)
        {
            const glm::vec2 axis = side.Normal();
            if (axis == glm::vec2(0.0f))
                continue;
            glm::vec2 normal;
            const float overlap = SpanOverlap(Project(a, axis), Project(b, axis), axis, normal);
            if (!search.Try(overlap, normal))
                return {};
        }
    }
    return search.Result();
}

CollisionResult PolygonCircle(const Polygon& a, const Circle& b)
{
    if (a._sides.size() < 3)
        return {};
    auto circleSpan = [&](const glm::vec2& axis)
    {
        const float c = glm::dot(b._center, axis);
        return Span{c - b._radius, c + b._radius};
    };

    AxisSearch search;
    for (const LineSegment& side : a._sides)
    {
        const glm::vec2 axis = -side.Normal();
        if (axis == glm::vec2(0.0f))
            continue;
        glm::vec2 normal;
        const float overlap = SpanOverlap(Project(a, axis), circleSpan(axis), axis, normal);
        if (!search.Try(overlap, normal))
            return {};
    }

    const glm::vec2* nearest = &a._sides.front()._start;
    for (const LineSegment& side : a._sides)
        if (glm::dot(side._start - b._center, side._start - b._center) <
            glm::dot(*nearest - b._center, *nearest - b._center))
            nearest = &side._start;
    const glm::vec2 toCenter = b._center - *nearest;
    const float distance = glm::length(toCenter);
    if (distance > 0.0f)
    {
        const glm::vec2 axis = toCenter / distance;
        glm::vec2 ignored;
        const float overlap = SpanOverlap(Project(a, axis), circleSpan(axis), axis, ignored);
        if (!search.Try(overlap, axis))
            return {};
    }
    return search.Result();
}

CollisionResult PolygonPoint(const Polygon& a, const Point& b)
{
    if (a._sides.size() < 3)
        return {};
    AxisSearch search;
    for (const LineSegment& side : a._sides)
    {
        const glm::vec2 axis = side.Normal();
        if (axis == glm::vec2(0.0f))
            continue;
        const Span span = Project(a, axis);
        const float q = glm::dot(b._center, axis);
        const float overlap = span.max > q ? q - span.min : span.max - q;
        // The point leaves through the low end of the span, so the way out is -axis:
        // from the polygon toward the point, as for circles.
        if (!search.Try(overlap, -axis))
            return {};
    }
    return search.Result();
}
} // namespace intersect

namespace
{
using PairTest = CollisionResult (*)(const Shape&, const Shape&, const PriorMotion&);

CollisionResult Untested(const Shape&, const Shape&, const PriorMotion&)
{
    return {};
}

template <typename A, typename B, CollisionResult (*Test)(const A&, const B&)>
CollisionResult Overlapping(const Shape& a, const Shape& b, const PriorMotion&)
{
    return Test(static_cast<const A&>(a), static_cast<const B&>(b));
}

CollisionResult LinesPolygon(const Shape& a, const Shape& b, const PriorMotion& motion)
{
    return intersect::LineBufferPolygon(static_cast<const LineBuffer&>(a), static_cast<const Polygon&>(b),
                                        motion._displacement);
}

CollisionResult LinesCircle(const Shape& a, const Shape& b, const PriorMotion& motion)
{
    return intersect::LineBufferCircle(static_cast<const LineBuffer&>(a), static_cast<const Circle&>(b),
                                       motion._oldCenter);
}

CollisionResult LinesPoint(const Shape& a, const Shape& b, const PriorMotion& motion)
{
    return intersect::LineBufferPoint(static_cast<const LineBuffer&>(a), static_cast<const Point&>(b),
                                      motion._oldCenter);
}

constexpr PairTest X = &Untested;
constexpr PairTest kTests[shape::Count][shape::Count] = {
    {X, &LinesPolygon, &LinesCircle, &LinesPoint, X, X},
    {X, &Overlapping<Polygon, Polygon, &intersect::PolygonPolygon>,
     &Overlapping<Polygon, Circle, &intersect::PolygonCircle>, &Overlapping<Polygon, Point, &intersect::PolygonPoint>,
     X, X},
    {X, X, &Overlapping<Circle, Circle, &intersect::CircleCircle>, &Overlapping<Circle, Point, &intersect::CirclePoint>,
     X, X},
    {X, X, X, X, X, X},
    {X, X, X, X, X, X},
    {X, X, X, X, X, X},
};
} // namespace

namespace intersect
{
CollisionResult Shapes(const Shape& first, const Shape& second, const PriorMotion& motion)
{
    const std::uint32_t a = first.GetType();
    const std::uint32_t b = second.GetType();
    if (a >= shape::Count || b >= shape::Count)
        return {};
    return kTests[a][b](first, second, motion);
}
} // namespace intersect
