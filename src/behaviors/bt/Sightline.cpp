#include "behaviors/bt/Sightline.h"

#include "data/Entity.h"
#include "physics/Collider.h"
#include "physics/LineBuffer.h"
#include "scene/Scene.h"

#include <algorithm>

namespace
{
float Cross(const glm::vec2& a, const glm::vec2& b)
{
    return a.x * b.y - a.y * b.x;
}

// Which side of the line a-b the point p lies on: -1, 0 or 1.
int Side(const glm::vec2& a, const glm::vec2& b, const glm::vec2& p)
{
    const float c = Cross(b - a, p - a);
    return (c > 0.0f) - (c < 0.0f);
}

// p lies on the line through a-b; is it within the segment's box?
bool WithinBox(const glm::vec2& a, const glm::vec2& b, const glm::vec2& p)
{
    return p.x >= std::min(a.x, b.x) && p.x <= std::max(a.x, b.x) && p.y >= std::min(a.y, b.y) &&
           p.y <= std::max(a.y, b.y);
}

bool CrossesAny(const LineBuffer& walls, const glm::vec2& from, const glm::vec2& to)
{
    for (const LineSegment& wall : walls._lines)
        if (sightline::SegmentsCross(from, to, wall._start, wall._end))
            return true;
    return false;
}
} // namespace

namespace sightline
{
bool SegmentsCross(const glm::vec2& a0, const glm::vec2& a1, const glm::vec2& b0, const glm::vec2& b1)
{
    const int s1 = Side(a0, a1, b0);
    const int s2 = Side(a0, a1, b1);
    const int s3 = Side(b0, b1, a0);
    const int s4 = Side(b0, b1, a1);
    if (s1 != s2 && s3 != s4 && s1 * s2 <= 0 && s3 * s4 <= 0)
        return true;
    // Collinear or an end on the other segment.
    return (s1 == 0 && WithinBox(a0, a1, b0)) || (s2 == 0 && WithinBox(a0, a1, b1)) ||
           (s3 == 0 && WithinBox(b0, b1, a0)) || (s4 == 0 && WithinBox(b0, b1, a1));
}

bool IsClear(const Scene& scene, const glm::vec2& from, const glm::vec2& to)
{
    for (const auto& entity : scene.GetEntities().Entities())
    {
        const Collider* collider = entity->Get<Collider>(ctype::Collider);
        if (!collider || !collider->IsEnabled() || collider->GetShapeType() != shape::LineBuffer)
            continue;
        const Shape* shape = collider->GetWorldShape();
        if (shape && CrossesAny(static_cast<const LineBuffer&>(*shape), from, to))
            return false;
    }
    const LineBuffer* walls = scene.GetTilemapWalls();
    return !(walls && CrossesAny(*walls, from, to));
}
} // namespace sightline
