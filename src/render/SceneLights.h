#pragma once

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// The flat light and flashlight arrays of one scene, gathered once per frame before
// its sprites draw. Every vector keeps its storage between frames.
struct SceneLights
{
    // What the lit programs hold; lights past this are left out.
    static constexpr std::size_t kMaxLights = 64;

    // One light as it is appended.
    struct Light
    {
        glm::vec2 _position{0.0f};
        float _radius = 0.0f;
        float _factor = 0.0f;
        float _falloff = 0.0f;
        glm::vec4 _colour{1.0f};
        glm::vec4 _cone{0.0f};
        float _innerRadius = 0.0f;
        float _innerFalloff = 0.0f;
    };

    struct Flashlight
    {
        glm::vec2 _coneA{0.0f};
        glm::vec2 _coneB{0.0f};
        float _radius = 0.0f;
        float _factor = 0.0f;
        float _falloff = 0.0f;
        float _innerFalloff = 0.0f;
        float _innerRadius = 0.0f;
    };

    // Lights.
    std::vector<glm::vec2> _positions;
    std::vector<float> _radii;
    std::vector<float> _factors;
    std::vector<float> _falloffs;
    std::vector<glm::vec4> _colours;
    std::vector<glm::vec4> _cones;
    std::vector<float> _innerRadii;
    std::vector<float> _innerFalloffs;
    std::vector<const void*> _lights;

    // Flashlights: fans concatenated, two cone edges each, and the marks 0, then the
    // index of each fan's last vertex.
    std::vector<glm::vec2> _fan;
    std::vector<glm::vec2> _coneEdges;
    std::vector<const void*> _flashlights;
    std::vector<int> _vertCount;
    std::vector<float> _flashRadii;
    std::vector<float> _flashFactors;
    std::vector<float> _flashFalloffs;
    std::vector<float> _flashInnerFalloffs;
    std::vector<float> _flashInnerRadii;

    // Bumped by every Clear, so an upload can tell a new gather from the last one.
    std::uint64_t _generation = 0;
    bool _overflowReported = false;

    void Clear();
    void AddLight(const Light& light, const void* owner);
    // A flashlight already in the list is not added twice.
    void AddFlashlight(const Flashlight& flashlight, const std::vector<glm::vec2>& fan, const void* owner);

    std::size_t LightCount() const { return _lights.size(); }
    std::size_t FlashlightCount() const { return _flashlights.size(); }
    // How many lights a program draws: the first kMaxLights.
    std::size_t DrawnLightCount() const { return LightCount() < kMaxLights ? LightCount() : kMaxLights; }

    // Reports a gather of more lights than the programs hold, once per owner of these
    // arrays (a scene), naming the scene.
    void CheckLimit(std::string_view sceneName);
};

// The cone entry of a light: all zero for a point light (angle exactly 0); otherwise
// two far offsets along its edges, the direction turned by +angle then -angle (degrees).
glm::vec4 LightCone(float coneAngle, float coneDirection);
