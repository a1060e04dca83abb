#include "render/FanCover.h"
#include "physics/LineSegment.h"
#include "physics/VisibilityFan.h"

#include <glm/geometric.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace
{
float Cross(glm::vec2 a, glm::vec2 b)
{
    return a.x * b.y - a.y * b.x;
}

bool InTriangles(const std::vector<glm::vec2>& triangles, glm::vec2 p)
{
    for (std::size_t i = 0; i + 2 < triangles.size(); i += 3)
    {
        const float d0 = Cross(triangles[i + 1] - triangles[i], p - triangles[i]);
        const float d1 = Cross(triangles[i + 2] - triangles[i + 1], p - triangles[i + 1]);
        const float d2 = Cross(triangles[i] - triangles[i + 2], p - triangles[i + 2]);
        const bool negative = d0 < 0.0f || d1 < 0.0f || d2 < 0.0f;
        const bool positive = d0 > 0.0f || d1 > 0.0f || d2 > 0.0f;
        if (!(negative && positive))
            return true;
    }
    return false;
}

bool InSweep(const fancover::Sweep& sweep, glm::vec2 direction)
{
    if (sweep.span >= fancover::kFullTurn)
        return true;
    float turn = std::fmod(std::atan2(direction.y, direction.x) - sweep.from, fancover::kFullTurn);
    if (turn < 0.0f)
        turn += fancover::kFullTurn;
    return turn <= sweep.span;
}

// The triangles must hold every point of the disc in the sweep's directions that the
// fan test accepts, and none it rejects. Points within a hair of a boundary (where float
// rounding may go either way) are not judged. Returns how many points disagreed.
int Disagreements(const std::vector<glm::vec2>& fan, float radius, std::mt19937& random, int samples = 4000,
                  const fancover::Sweep& sweep = {})
{
    std::vector<glm::vec2> triangles;
    fancover::Append(fan.data(), fan.size(), radius, triangles, fancover::kWallBleed, sweep);
    EXPECT_EQ(triangles.size() % 3, 0u);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    int wrong = 0;
    for (int i = 0; i < samples; ++i)
    {
        const glm::vec2 p = fan[0] + radius * glm::vec2(unit(random), unit(random));
        if (glm::length(p - fan[0]) >= radius * 0.999f)
            continue;
        const auto accepted = [&](glm::vec2 q)
        { return fancover::Contains(fan.data(), fan.size(), q) && InSweep(sweep, q - fan[0]); };
        const bool inside = accepted(p);
        bool settled = true;
        for (const glm::vec2 nudge :
             {glm::vec2(0.05f, 0.0f), glm::vec2(-0.05f, 0.0f), glm::vec2(0.0f, 0.05f), glm::vec2(0.0f, -0.05f)})
            settled = settled && accepted(p + nudge) == inside &&
                      InTriangles(triangles, p + nudge) == InTriangles(triangles, p);
        if (settled && InTriangles(triangles, p) != inside)
            ++wrong;
    }
    return wrong;
}

// A bulb and `hits` points sorted by angle, at random distances: wedges of every width,
// some wider than half a turn when the hits are few.
std::vector<glm::vec2> RandomFan(std::mt19937& random, int hits)
{
    std::uniform_real_distribution<float> angle(-3.14159f, 3.14159f);
    std::uniform_real_distribution<float> distance(20.0f, 600.0f);
    std::vector<float> angles;
    for (int i = 0; i < hits; ++i)
        angles.push_back(angle(random));
    std::sort(angles.begin(), angles.end());
    const glm::vec2 bulb(37.0f, -12.0f);
    std::vector<glm::vec2> fan = {bulb};
    for (const float a : angles)
        fan.push_back(bulb + distance(random) * glm::vec2(std::cos(a), std::sin(a)));
    return fan;
}
} // namespace

TEST(FanCoverTest, TheFanTestBlocksBehindWallsWithALittleBleedAndNothingWithoutThem)
{
    // A wall across the bulb's view at y = 100, seen from below, and the fan closing
    // round through a point far below (hits sorted by angle).
    const std::vector<glm::vec2> fan = {{0.0f, 0.0f}, {1.0f, -500.0f}, {100.0f, 100.0f}, {-100.0f, 100.0f}};
    EXPECT_TRUE(fancover::Contains(fan.data(), fan.size(), {0.0f, 90.0f}));
    EXPECT_TRUE(fancover::Contains(fan.data(), fan.size(), {0.0f, 102.0f})) << "the wall's face";
    EXPECT_FALSE(fancover::Contains(fan.data(), fan.size(), {0.0f, 104.0f})) << "behind the wall";
    EXPECT_FALSE(fancover::Contains(fan.data(), fan.size(), {10.0f, 300.0f}));

    const std::vector<glm::vec2> open = {{0.0f, 0.0f}, {50.0f, 0.0f}};
    EXPECT_TRUE(fancover::Contains(open.data(), open.size(), {-400.0f, 300.0f})) << "one hit blocks nothing";
}

TEST(FanCoverTest, TrianglesCoverExactlyWhatTheFanTestAccepts)
{
    std::mt19937 random(7);
    for (const int hits : {0, 1, 2, 3, 5, 40, 300})
        for (int round = 0; round < 6; ++round)
        {
            const std::vector<glm::vec2> fan = RandomFan(random, hits);
            EXPECT_EQ(Disagreements(fan, 700.0f, random), 0) << hits << " hits, round " << round;
        }
}

TEST(FanCoverTest, TrianglesCoverTheFanOfARoomWithAPillar)
{
    // A closed room (its walls stop light from inside) with a pillar (stopping light
    // from outside). A wall stops light from its left, running start to end.
    const auto box = [](glm::vec2 lo, glm::vec2 hi, bool inward)
    {
        std::vector<LineSegment> walls = {{{lo.x, lo.y}, {hi.x, lo.y}},
                                          {{hi.x, lo.y}, {hi.x, hi.y}},
                                          {{hi.x, hi.y}, {lo.x, hi.y}},
                                          {{lo.x, hi.y}, {lo.x, lo.y}}};
        if (!inward)
            for (LineSegment& wall : walls)
                std::swap(wall._start, wall._end);
        return walls;
    };
    std::vector<LineSegment> walls = box({-400.0f, -300.0f}, {400.0f, 300.0f}, true);
    for (const LineSegment& wall : box({50.0f, 40.0f}, {120.0f, 90.0f}, false))
        walls.push_back(wall);

    std::mt19937 random(11);
    for (const glm::vec2 bulb : {glm::vec2(0.0f, 0.0f), glm::vec2(-300.0f, 200.0f), glm::vec2(200.0f, 150.0f)})
    {
        FanWork work;
        fan::Build(bulb, walls, {}, work);
        ASSERT_GT(work._fan.size(), 4u);
        EXPECT_EQ(Disagreements(work._fan, 820.0f, random, 6000), 0) << bulb.x << ", " << bulb.y;
        // Something of the room is hidden behind the pillar from each of these bulbs.
        const glm::vec2 hidden = bulb + 1.8f * (glm::vec2(85.0f, 65.0f) - bulb);
        EXPECT_FALSE(fancover::Contains(work._fan.data(), work._fan.size(), hidden)) << bulb.x << ", " << bulb.y;
    }
}

TEST(FanCoverTest, ASweepKeepsOnlyItsDirectionsOfTheCover)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<float> angle(-3.14159f, 3.14159f);
    for (const int hits : {0, 2, 3, 40, 300})
        for (const float span : {0.2f, 1.1f, 3.3f, 6.1f})
        {
            const std::vector<glm::vec2> fan = RandomFan(random, hits);
            const fancover::Sweep sweep{angle(random), span};
            EXPECT_EQ(Disagreements(fan, 700.0f, random, 4000, sweep), 0) << hits << " hits, span " << span;
        }
}

TEST(FanCoverTest, AConesSweepHoldsEveryDirectionItsSoftRimLights)
{
    // The light program's cone test, rim included.
    const auto lit = [](glm::vec2 direction, glm::vec2 a, glm::vec2 b, float rim)
    {
        a = glm::normalize(a);
        b = glm::normalize(b);
        glm::vec2 axis = a + b;
        axis = glm::dot(axis, axis) < 1e-8f ? glm::vec2(a.y, -a.x) : glm::normalize(axis);
        if (Cross(b, a) < 0.0f)
            axis = -axis;
        return glm::dot(glm::normalize(direction), axis) > glm::dot(a, axis) - rim;
    };
    const float rim = 0.015f;
    const glm::vec2 aim(0.6f, 0.8f);
    for (const float half : {0.0f, 0.2f, 0.42f, 1.4f, 1.5707964f, 2.6f})
    {
        const glm::vec2 a = 300.0f * glm::vec2(aim.x * std::cos(half) - aim.y * std::sin(half),
                                               aim.x * std::sin(half) + aim.y * std::cos(half));
        const glm::vec2 b = 300.0f * glm::vec2(aim.x * std::cos(half) + aim.y * std::sin(half),
                                               -aim.x * std::sin(half) + aim.y * std::cos(half));
        const fancover::Sweep sweep = fancover::ConeSweep(a, b, rim);
        int lost = 0;
        for (int i = 0; i < 3600; ++i)
        {
            const float t = static_cast<float>(i) * fancover::kFullTurn / 3600.0f;
            const glm::vec2 direction(std::cos(t), std::sin(t));
            if (lit(direction, a, b, rim) && !InSweep(sweep, direction))
                ++lost;
        }
        EXPECT_EQ(lost, 0) << "half angle " << half;
        if (half < 1.0f)
        {
            EXPECT_LT(sweep.span, 2.0f * half + 0.4f) << "a narrow cone keeps a narrow sweep";
            EXPECT_TRUE(InSweep(sweep, aim));
            EXPECT_FALSE(InSweep(sweep, -aim));
        }
    }
    EXPECT_GE(fancover::ConeSweep({0.0f, 0.0f}, {1.0f, 0.0f}, rim).span, fancover::kFullTurn) << "no cone";
}
