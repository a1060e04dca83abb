#include "render/SceneLights.h"

#include "core/Trace.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace
{
constexpr float kRadiansPerDegree = 0.017453292f;
constexpr float kFar = 100000.0f;

glm::vec2 Turned(const glm::vec2& v, float degrees)
{
    const float r = degrees * kRadiansPerDegree;
    const float c = std::cos(r);
    const float s = std::sin(r);
    return {v.x * c - v.y * s, v.x * s + v.y * c};
}
} // namespace

void SceneLights::Clear()
{
    _positions.clear();
    _radii.clear();
    _factors.clear();
    _falloffs.clear();
    _colours.clear();
    _cones.clear();
    _innerRadii.clear();
    _innerFalloffs.clear();
    _lights.clear();
    _fan.clear();
    _coneEdges.clear();
    _flashlights.clear();
    _vertCount.clear();
    _flashRadii.clear();
    _flashFactors.clear();
    _flashFalloffs.clear();
    _flashInnerFalloffs.clear();
    _flashInnerRadii.clear();
    ++_generation;
}

void SceneLights::AddLight(const Light& light, const void* owner)
{
    _positions.push_back(light._position);
    _radii.push_back(light._radius);
    _factors.push_back(light._factor);
    _falloffs.push_back(light._falloff);
    _colours.push_back(light._colour);
    _cones.push_back(light._cone);
    _innerRadii.push_back(light._innerRadius);
    _innerFalloffs.push_back(light._innerFalloff);
    _lights.push_back(owner);
}

void SceneLights::AddFlashlight(const Flashlight& flashlight, const std::vector<glm::vec2>& fan, const void* owner)
{
    if (std::find(_flashlights.begin(), _flashlights.end(), owner) != _flashlights.end())
        return;
    _coneEdges.push_back(flashlight._coneA);
    _coneEdges.push_back(flashlight._coneB);
    _fan.insert(_fan.end(), fan.begin(), fan.end());
    _flashRadii.push_back(flashlight._radius);
    _flashFactors.push_back(flashlight._factor);
    _flashFalloffs.push_back(flashlight._falloff);
    _flashInnerFalloffs.push_back(flashlight._innerFalloff);
    _flashInnerRadii.push_back(flashlight._innerRadius);
    _flashlights.push_back(owner);
    if (_vertCount.empty())
        _vertCount.push_back(0);
    _vertCount.push_back(static_cast<int>(_fan.size()) - 1);
}

void SceneLights::CheckLimit(std::string_view sceneName)
{
    if (LightCount() <= kMaxLights || _overflowReported)
        return;
    _overflowReported = true;
    Trace::Error("scene '" + std::string(sceneName) + "': Number of lights is greater than shader's static array! (" +
                 std::to_string(LightCount()) + " lights, the first " + std::to_string(kMaxLights) + " are drawn)");
}

glm::vec4 LightCone(float coneAngle, float coneDirection)
{
    if (coneAngle == 0.0f)
        return glm::vec4(0.0f);
    const float r = coneDirection * kRadiansPerDegree;
    const glm::vec2 d = glm::vec2(std::cos(r), std::sin(r)) * kFar;
    const glm::vec2 a = Turned(d, coneAngle);
    const glm::vec2 b = Turned(d, -coneAngle);
    return {a.x, a.y, b.x, b.y};
}
