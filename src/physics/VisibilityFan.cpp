#include "physics/VisibilityFan.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kRadiansPerDegree = 0.017453292f;
constexpr float kDegreesPerRadian = 57.29578f;
constexpr float kFar = 100000.0f;
constexpr float kPi = 3.14159265f;
// Fine enough that a bucket holds a handful of walls in a level, coarse enough that
// filling them costs little next to the rays.
constexpr std::uint32_t kBuckets = 256;

glm::vec2 WallNormal(const LineSegment& s)
{
    return {s._end.y - s._start.y, -(s._end.x - s._start.x)};
}

float Degrees(const glm::vec2& from, const glm::vec2& to)
{
    return std::atan2(to.y - from.y, to.x - from.x) * kDegreesPerRadian;
}

void KeepNearWalls(const glm::vec2& origin, const std::vector<LineSegment>& walls, float cullDist,
                   std::vector<LineSegment>& kept)
{
    kept.clear();
    for (const LineSegment& wall : walls)
        if (glm::distance(origin, wall._start) < cullDist || glm::distance(origin, wall._end) < cullDist)
            kept.push_back(wall);
}

// Candidate walls for a ray: all kept walls (plain) or one angular bucket (fast). Both
// hand out wall indices in ascending order, so ties between equally near hits break
// the same way.
struct AllWalls
{
    const std::vector<LineSegment>& walls;
    template <typename F> void ForRay(const glm::vec2&, F&& f) const
    {
        for (std::uint32_t i = 0; i < walls.size(); ++i)
            if (f(i))
                return;
    }
};

std::uint32_t BucketOf(float radians)
{
    float unit = (radians + kPi) / (2.0f * kPi);
    auto b = static_cast<std::int64_t>(std::floor(unit * static_cast<float>(kBuckets)));
    b %= kBuckets;
    if (b < 0)
        b += kBuckets;
    return static_cast<std::uint32_t>(b);
}

struct BucketedWalls
{
    const FanWork& work;
    template <typename F> void ForRay(const glm::vec2& direction, F&& f) const
    {
        const std::uint32_t b = BucketOf(std::atan2(direction.y, direction.x));
        for (std::uint32_t k = work._bucketStart[b]; k < work._bucketStart[b + 1]; ++k)
            if (f(work._bucketItems[k]))
                return;
    }
};

// The buckets a wall's angular span from the origin touches, widened by one on each
// side so rounding in a ray's angle never drops a wall it crosses. Calls f(bucket).
template <typename F> void ForWallBuckets(const glm::vec2& origin, const LineSegment& wall, F&& f)
{
    const glm::vec2 n = WallNormal(wall);
    if (n.x == 0.0f && n.y == 0.0f)
        return; // no length: nothing crosses it
    const float facing = glm::dot(n, wall._start) - glm::dot(n, origin);
    if (facing < 0.0f)
        return; // the origin is behind it: every ray from there passes through
    if (facing == 0.0f)
    {
        // The origin on its line: a ray may cross it in any direction.
        for (std::uint32_t b = 0; b < kBuckets; ++b)
            f(b);
        return;
    }
    const glm::vec2 a = wall._start - origin;
    const glm::vec2 c = wall._end - origin;
    float from = std::atan2(a.y, a.x);
    float to = std::atan2(c.y, c.x);
    if (to < from)
        std::swap(from, to);
    std::uint32_t first = BucketOf(from);
    std::uint32_t last = BucketOf(to);
    // Crossing rays head into the half-plane the normal points to, so the span is the
    // arc whose middle lies there; for an origin close to the line both arcs are near
    // half a turn and their lengths are no guide.
    const float middle = 0.5f * (from + to);
    if (glm::dot(n, glm::vec2(std::cos(middle), std::sin(middle))) < 0.0f)
        std::swap(first, last);
    first = (first + kBuckets - 1) % kBuckets;
    last = (last + 1) % kBuckets;
    for (std::uint32_t b = first;; b = (b + 1) % kBuckets)
    {
        f(b);
        if (b == last)
            break;
    }
}

void FillBuckets(const glm::vec2& origin, FanWork& work)
{
    work._bucketStart.assign(kBuckets + 1, 0);
    for (const LineSegment& wall : work._segments)
        ForWallBuckets(origin, wall, [&](std::uint32_t b) { ++work._bucketStart[b + 1]; });
    for (std::uint32_t b = 0; b < kBuckets; ++b)
        work._bucketStart[b + 1] += work._bucketStart[b];
    work._bucketItems.resize(work._bucketStart[kBuckets]);
    // Filled in wall order, so every bucket lists its walls in ascending index order.
    work._bucketFill.assign(work._bucketStart.begin(), work._bucketStart.end() - 1);
    for (std::uint32_t i = 0; i < work._segments.size(); ++i)
        ForWallBuckets(origin, work._segments[i],
                       [&](std::uint32_t b) { work._bucketItems[work._bucketFill[b]++] = i; });
}

template <typename Walls> bool Blocked(const FanWork& work, const Walls& walls, const glm::vec2& o, const glm::vec2& p)
{
    bool blocked = false;
    walls.ForRay(p - o,
                 [&](std::uint32_t i)
                 {
                     blocked = fan::Crossing(work._segments[i], o, p).has_value();
                     return blocked;
                 });
    return blocked;
}

template <typename Walls>
bool NearestHit(const FanWork& work, const Walls& walls, const glm::vec2& a, const glm::vec2& b, glm::vec2& out)
{
    glm::vec2 best(kFar, kFar);
    float bestLength = glm::length(best);
    bool any = false;
    walls.ForRay(b - a,
                 [&](std::uint32_t i)
                 {
                     if (const auto hit = fan::Crossing(work._segments[i], a, b))
                     {
                         any = true;
                         const float d = glm::distance(a, *hit);
                         if (d < bestLength)
                         {
                             best = *hit - a;
                             bestLength = glm::length(best);
                         }
                     }
                     return false;
                 });
    out = a + best;
    return any;
}

template <typename Walls>
void Sample(FanWork& work, const Walls& walls, const glm::vec2& o, const glm::vec2& p, float turn)
{
    if (Blocked(work, walls, o, p))
        return;
    const glm::vec2 beside = o + fan::Rotate(p - o, turn);
    glm::vec2 s;
    if (!NearestHit(work, walls, o, o + kFar * (beside - o), s))
        s = p;
    work._hits.push_back({o, s, Degrees(o, s)});
    work._hits.push_back({o, p, Degrees(o, p)});
}

template <typename Walls>
void CastAndSort(const glm::vec2& origin, const FanSettings& settings, const Walls& walls, FanWork& work)
{
    work._hits.clear();
    for (std::size_t i = 0; i < work._segments.size(); ++i)
    {
        const LineSegment wall = work._segments[i];
        Sample(work, walls, origin, wall._start, -settings._raycastRot);
        Sample(work, walls, origin, wall._end, settings._raycastRot);
    }
    std::sort(work._hits.begin(), work._hits.end(),
              [](const FanHit& a, const FanHit& b) { return a._angle < b._angle; });
    work._fan.clear();
    work._fan.push_back(origin);
    for (const FanHit& hit : work._hits)
        work._fan.push_back(hit._point);
}
} // namespace

namespace fan
{
std::optional<glm::vec2> Crossing(const LineSegment& segment, const glm::vec2& a, const glm::vec2& b)
{
    const glm::vec2& p1 = segment._start;
    const glm::vec2& p2 = segment._end;
    const glm::vec2 n = WallNormal(segment);
    const glm::vec2 d = b - a;
    const float den = glm::dot(n, d);
    if (den == 0.0f)
        return std::nullopt;
    const float side = glm::dot(n, p1);
    if (!(side >= glm::dot(n, a)))
        return std::nullopt;
    if (!(glm::dot(n, b) > side))
        return std::nullopt;
    const float t = (side - glm::dot(n, a)) / den;
    const glm::vec2 h = a + t * d;
    if (glm::dot(h - p1, p2 - p1) < 0.0f || glm::dot(h - p2, p1 - p2) < 0.0f)
        return std::nullopt;
    return h;
}

glm::vec2 Rotate(const glm::vec2& v, float degrees)
{
    const float r = degrees * kRadiansPerDegree;
    const float c = std::cos(r);
    const float s = std::sin(r);
    return {v.x * c - v.y * s, v.x * s + v.y * c};
}

void Build(const glm::vec2& origin, const std::vector<LineSegment>& walls, const FanSettings& settings, FanWork& work)
{
    KeepNearWalls(origin, walls, settings._cullDist, work._segments);
    FillBuckets(origin, work);
    CastAndSort(origin, settings, BucketedWalls{work}, work);
}

void BuildPlain(const glm::vec2& origin, const std::vector<LineSegment>& walls, const FanSettings& settings,
                FanWork& work)
{
    KeepNearWalls(origin, walls, settings._cullDist, work._segments);
    CastAndSort(origin, settings, AllWalls{work._segments}, work);
}
} // namespace fan
