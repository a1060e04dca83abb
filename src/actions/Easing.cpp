#include "actions/Easing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

float Ease(int curve, float t)
{
    constexpr float c1 = 1.70158f;
    constexpr float c2 = 2.5949094f;
    constexpr float c3 = 2.70158f;
    constexpr float pi = std::numbers::pi_v<float>;
    switch (curve)
    {
    case 1:
        return 1.0f - std::cos(t * pi / 2.0f);
    case 2:
        return std::sin(t * pi / 2.0f);
    case 3:
        return (1.0f - std::cos(pi * t)) / 2.0f;
    case 4:
        return t == 0.0f ? 0.0f : std::pow(2.0f, 10.0f * t - 10.0f);
    case 5:
        return t == 1.0f ? 1.0f : 1.0f - std::pow(2.0f, -10.0f * t);
    case 6:
        if (t == 0.0f)
            return 0.0f;
        if (t == 1.0f)
            return 1.0f;
        if (t < 0.5f)
            return std::pow(2.0f, 20.0f * t - 10.0f) / 2.0f;
        return (2.0f - std::pow(2.0f, 10.0f - 20.0f * t)) / 2.0f;
    case 7:
        return c3 * t * t * t - c1 * t * t;
    case 8:
    {
        const float u = t - 1.0f;
        return 1.0f + c3 * u * u * u + c1 * u * u;
    }
    case 9:
    {
        const float u = 2.0f * t;
        if (t < 0.5f)
            return u * u * ((c2 + 1.0f) * u - c2) / 2.0f;
        const float v = u - 2.0f;
        return (v * v * ((c2 + 1.0f) * v + c2) + 2.0f) / 2.0f;
    }
    case 10:
    {
        constexpr float n = 7.5625f;
        if (t < 0.36363637f)
            return n * t * t;
        if (t < 0.72727275f)
        {
            const float u = t - 0.54545456f;
            return n * u * u + 0.75f;
        }
        if (t < 0.90909091f)
        {
            const float u = t - 0.8181818f;
            return n * u * u + 0.9375f;
        }
        const float u = t - 0.95454544f;
        return n * u * u + 0.984375f;
    }
    default:
        return t;
    }
}

float LerpValue(float start, float end, float eased)
{
    return start + (end - start) * eased;
}

glm::vec2 LerpValue(const glm::vec2& start, const glm::vec2& end, float eased)
{
    return start + (end - start) * eased;
}

glm::vec4 LerpValue(const glm::vec4& start, const glm::vec4& end, float eased)
{
    return start + (end - start) * eased;
}

char LerpValue(char start, char end, float eased)
{
    return static_cast<char>(static_cast<int>(LerpValue(static_cast<float>(start), static_cast<float>(end), eased)));
}

bool LerpValue(bool start, bool end, float eased)
{
    return LerpValue(start ? 1.0f : 0.0f, end ? 1.0f : 0.0f, eased) != 0.0f;
}

std::string LerpValue(const std::string& start, const std::string& end, float eased)
{
    const auto mismatch = std::mismatch(start.begin(), start.end(), end.begin(), end.end());
    const std::size_t prefix = static_cast<std::size_t>(mismatch.first - start.begin());
    const long removed = static_cast<long>(start.size() - prefix);
    const long typed = static_cast<long>(end.size() - prefix);
    const long k = static_cast<long>(eased * static_cast<float>(removed + typed));
    if (k < removed)
        return start.substr(0, static_cast<std::size_t>(static_cast<long>(start.size()) - std::max(k, 0L)));
    const long shown = std::min(static_cast<long>(end.size()), static_cast<long>(prefix) + k - removed);
    return end.substr(0, static_cast<std::size_t>(shown));
}
