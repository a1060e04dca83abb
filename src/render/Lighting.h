#pragma once

#include "data/Component.h"
#include "data/FieldDescriptor.h"
#include "render/SceneLights.h"

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <string_view>

// Makes its entity a point or cone light that follows the entity and shines steady,
// pulses, flickers through a fixed pattern, or cycles colours while "Disco" is on.
class Lighting : public ComponentBase<Lighting>
{
public:
    // 'm' lit, 'a' dark; each character lasts _flashRate seconds.
    static constexpr std::string_view kFlickerPattern = "mmamammmmammamamaaamammma";

    Lighting() : ComponentBase<Lighting>(ctype::Lighting) {}

    // A negative radius is reported; such a light is never gathered.
    void Read(const json& j) override;
    void Write(json& j) const override;
    void Init() override;
    void Update(float dt) override;

    // Appends this light to a scene's arrays (nothing for a light with a bad radius).
    void AppendTo(SceneLights& lights) const;

    const glm::vec4& GetCurrentColour() const { return _current; }
    bool IsDisco() const { return _disco; }

    // How lit the flicker is at pattern position `index`, `timer` seconds into it: 0 on
    // a dark character, 1 on a lit one, ramping up after a dark one or down before one.
    static float FlickerLevel(unsigned index, float timer, float flashRate, float ramp);

    static const FieldDescriptor<Lighting>& Descriptor();

    glm::vec2 _position{0.0f};
    glm::vec2 _offset{0.0f};
    glm::vec4 _color{1.0f};
    float _radius = 0.0f;
    float _factor = 0.0f;
    float _falloff = 0.0f;
    float _flashRate = 0.0f;
    float _ramp = 0.0f;
    float _coneAngle = 0.0f;
    float _innerRadius = 0.0f;
    float _innerFalloff = 0.0f;
    float _coneDirection = 0.0f;
    unsigned _effect = 0;

private:
    void Follow();

    glm::vec4 _current{1.0f};
    float _timer = 0.0f;
    unsigned _index = 0;
    bool _disco = false;
};
