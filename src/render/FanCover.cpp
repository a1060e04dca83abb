#include "render/FanCover.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kPi = 3.14159265f;
// Open wedges are covered in slices no wider than this, so each slice's far edge stays
// close to the circle it must enclose.
constexpr float kSlice = kPi / 4.0f;
// An edge this short (or a wall line this close to the bulb) has no usable direction.
constexpr float kDegenerate = 0.001f;

float Cross(const glm::vec2& a, const glm::vec2& b)
{
    return a.x * b.y - a.y * b.x;
}

float Angle(const glm::vec2& v)
{
    return std::atan2(v.y, v.x);
}

// The anticlockwise turn from a0 to a1, in [0, 2 pi).
float Turn(const glm::vec2& a0, const glm::vec2& a1)
{
    const float turn = std::atan2(Cross(a0, a1), glm::dot(a0, a1));
    return turn < 0.0f ? turn + 2.0f * kPi : turn;
}

// A wedge wider than half a turn (or exactly half, whose wall runs through the bulb)
// has nothing across it.
bool IsOpen(const glm::vec2& a0, const glm::vec2& a1)
{
    const float c = Cross(a0, a1);
    return c < 0.0f || (c == 0.0f && glm::dot(a0, a1) < 0.0f);
}

// Calls emit(from, span) for each part of the directions from `from` turning `span`
// (at most a full turn) that `keep` holds: none, one or two.
template <class Emit> void Clip(float from, float span, const fancover::Sweep& keep, Emit emit)
{
    if (keep.span >= fancover::kFullTurn)
    {
        emit(from, span);
        return;
    }
    float start = std::fmod(keep.from - from, fancover::kFullTurn);
    if (start < 0.0f)
        start += fancover::kFullTurn;
    for (const float s : {start - fancover::kFullTurn, start})
    {
        const float a = std::max(s, 0.0f);
        const float b = std::min(s + keep.span, span);
        if (b > a)
            emit(from + a, b - a);
    }
}

// Where the ray from `o` at `angle` meets the line through p0 and p1.
glm::vec2 OnLine(const glm::vec2& o, const glm::vec2& p0, const glm::vec2& p1, float angle)
{
    const glm::vec2 direction(std::cos(angle), std::sin(angle));
    const glm::vec2 along = p1 - p0;
    const float across = Cross(direction, along);
    if (std::abs(across) < kDegenerate * kDegenerate)
        return p0;
    return o + direction * (Cross(p0 - o, along) / across);
}

// The part of the disc from angle `from` turning `span` radians anticlockwise.
void AppendSector(const glm::vec2& o, float from, float span, float radius, std::vector<glm::vec2>& out)
{
    if (span <= 0.0f)
        return;
    const int slices = std::max(1, static_cast<int>(std::ceil(span / kSlice)));
    const float step = span / static_cast<float>(slices);
    // A slice's far edge is a chord; pushed out so its middle still clears the circle.
    const float reach = radius / std::cos(step * 0.5f) + 1.0f;
    for (int i = 0; i < slices; ++i)
    {
        const float a = from + step * static_cast<float>(i);
        const float b = a + step;
        out.push_back(o);
        out.push_back(o + reach * glm::vec2(std::cos(a), std::sin(a)));
        out.push_back(o + reach * glm::vec2(std::cos(b), std::sin(b)));
    }
}
} // namespace

namespace fancover
{
Sweep ConeSweep(const glm::vec2& edgeA, const glm::vec2& edgeB, float rim)
{
    if (glm::length(edgeA) < kDegenerate || glm::length(edgeB) < kDegenerate)
        return {};
    const float span = Turn(edgeB, edgeA);
    // Edges (nearly) a half turn apart leave the light program's axis to rounding.
    if (std::abs(span - kPi) < 0.01f)
        return {};
    const float half = span * 0.5f;
    const float outer = std::cos(half) - rim;
    if (outer <= -1.0f)
        return {};
    // A hair more than the rim, so rounding never trims light the program draws.
    const float pad = std::acos(outer) - half + 0.01f;
    if (span + 2.0f * pad >= kFullTurn)
        return {};
    return {Angle(edgeB) - pad, span + 2.0f * pad};
}

bool Contains(const glm::vec2* fan, std::size_t count, const glm::vec2& p, float bleed)
{
    if (count < 3)
        return true; // no walls near the bulb: nothing blocks it
    const glm::vec2 o = fan[0];
    const std::size_t last = count - 1;
    const float a = Angle(p - o);
    // The wedge whose angles hold p's; before the first hit or from the last on, the
    // wedge that wraps round.
    std::size_t k = last;
    std::size_t next = 1;
    if (a >= Angle(fan[1] - o) && a < Angle(fan[last] - o))
    {
        k = 1;
        while (k + 1 < last && Angle(fan[k + 1] - o) <= a)
            ++k;
        next = k + 1;
    }
    const glm::vec2 v0 = fan[k];
    const glm::vec2 v1 = fan[next];
    if (Cross(v0 - o, v1 - o) < 0.0f)
        return true;
    const glm::vec2 edge = v1 - v0;
    const float len = glm::length(edge);
    if (len < kDegenerate)
        return glm::length(p - o) <= glm::length(v0 - o) + bleed;
    const float toOrigin = Cross(edge, o - v0);
    const float toPoint = Cross(edge, p - v0);
    const float side = toOrigin > 0.0f ? 1.0f : (toOrigin < 0.0f ? -1.0f : 0.0f);
    return side * toPoint / len > -bleed;
}

void Append(const glm::vec2* fan, std::size_t count, float radius, std::vector<glm::vec2>& out, float bleed,
            const Sweep& within)
{
    if (count == 0 || radius <= 0.0f)
        return;
    const glm::vec2 o = fan[0];
    const auto sector = [&](float from, float span)
    { Clip(from, span, within, [&](float a, float s) { AppendSector(o, a, s, radius, out); }); };
    if (count < 3)
    {
        sector(0.0f, 2.0f * kPi);
        return;
    }
    for (std::size_t k = 1; k < count; ++k)
    {
        const glm::vec2 a0 = fan[k] - o;
        const glm::vec2 a1 = fan[k + 1 < count ? k + 1 : 1] - o;
        if (IsOpen(a0, a1))
        {
            sector(Angle(a0), Turn(a0, a1));
            continue;
        }
        const glm::vec2 edge = a1 - a0;
        const float len = glm::length(edge);
        // Along each side ray the light stops where the wall line, moved out by the
        // bleed, crosses it: at (h + bleed) / h of the way, h being the bulb's distance
        // from the wall line.
        float scale = 0.0f;
        if (len < kDegenerate)
        {
            const float d = glm::length(a0);
            scale = d > 0.0f ? (d + bleed) / d : 0.0f;
        }
        else
        {
            const float h = std::abs(Cross(edge, -a0)) / len;
            if (h < kDegenerate)
            {
                // The wall runs (almost) through the bulb: nothing of the wedge is cut.
                const float span = Turn(a0, a1);
                if (span > 0.0f && span <= kPi)
                    sector(Angle(a0), span);
                continue;
            }
            scale = (h + bleed) / h;
        }
        const glm::vec2 p0 = o + a0 * scale;
        const glm::vec2 p1 = o + a1 * scale;
        const float from = Angle(a0);
        const float span = Turn(a0, a1);
        Clip(from, span, within,
             [&](float a, float s)
             {
                 // A wedge kept whole keeps its exact corners; a cut one ends on the same line.
                 const bool whole = a == from && s == span;
                 out.push_back(o);
                 out.push_back(whole || len < kDegenerate ? p0 : OnLine(o, p0, p1, a));
                 out.push_back(whole || len < kDegenerate ? p1 : OnLine(o, p0, p1, a + s));
             });
    }
}
} // namespace fancover
