#include "render/Lighting.h"

#include "core/Cheats.h"
#include "data/DataFileScope.h"
#include "data/Entity.h"
#include "data/JsonError.h"
#include "data/TypeRegistry.h"

#include <algorithm>
#include <cmath>

GLOAMER_REGISTER_COMPONENT(Lighting, ctype::Lighting)

namespace
{
constexpr unsigned kPatternLength = static_cast<unsigned>(Lighting::kFlickerPattern.size());
constexpr float kHalfPi = 1.57079633f;
constexpr float kPi = 3.14159265f;

bool Lit(unsigned index)
{
    return Lighting::kFlickerPattern[index % kPatternLength] == 'm';
}
} // namespace

const FieldDescriptor<Lighting>& Lighting::Descriptor()
{
    static const FieldDescriptor<Lighting> descriptor("Lighting", {
                                                                      GLOAMER_FIELD(Lighting, _position),
                                                                      GLOAMER_FIELD(Lighting, _offset),
                                                                      GLOAMER_FIELD(Lighting, _color),
                                                                      GLOAMER_FIELD(Lighting, _radius),
                                                                      GLOAMER_FIELD(Lighting, _factor),
                                                                      GLOAMER_FIELD(Lighting, _falloff),
                                                                      GLOAMER_FIELD(Lighting, _flashRate),
                                                                      GLOAMER_FIELD(Lighting, _ramp),
                                                                      GLOAMER_FIELD(Lighting, _coneAngle),
                                                                      GLOAMER_FIELD(Lighting, _innerRadius),
                                                                      GLOAMER_FIELD(Lighting, _innerFalloff),
                                                                      GLOAMER_FIELD(Lighting, _coneDirection),
                                                                      GLOAMER_FIELD(Lighting, _effect),
                                                                  });
    return descriptor;
}

void Lighting::Read(const json& j)
{
    Descriptor().Read(*this, j);
    if (_radius < 0.0f)
    {
        const auto it = j.find("radius");
        ReportDataError(DataFileScope::Current(), it != j.end() ? JsonPathOf(*it) : JsonPathOf(j),
                        "a light's radius cannot be negative; the light is skipped");
    }
}

void Lighting::Write(json& j) const
{
    Descriptor().Write(*this, j);
}

void Lighting::Follow()
{
    if (GetOwner())
        _position = GetOwner()->GetTransform().GetTranslation() + _offset;
}

void Lighting::Init()
{
    Follow();
}

float Lighting::FlickerLevel(unsigned index, float timer, float flashRate, float ramp)
{
    if (!Lit(index))
        return 0.0f;
    // index - 1 wraps in unsigned arithmetic, as the pattern position does.
    if (!Lit(index - 1u))
        return std::clamp(timer / flashRate * ramp, 0.0f, 1.0f);
    if (!Lit(index + 1u))
        return std::clamp(1.0f - timer / flashRate * ramp, 0.0f, 1.0f);
    return 1.0f;
}

void Lighting::Update(float dt)
{
    Follow();
    if (Cheats::IsTriggered("Disco"))
        _disco = !_disco;

    if (_disco)
    {
        _timer += 10.0f * dt;
        _current.r = std::sin(_timer) + 0.5f;
        _current.g = std::sin(_timer + kHalfPi) + 0.5f;
        _current.b = std::sin(_timer + kPi) + 0.5f;
        return;
    }
    if (_flashRate <= 0.0f)
    {
        _current = _color;
        return;
    }
    if (_effect == 0)
    {
        _timer += _flashRate * dt;
        _current = _color * (0.5f * std::sin(_timer) + 0.5f);
    }
    else if (_effect == 1)
    {
        _timer += dt;
        _current = _color * FlickerLevel(_index, _timer, _flashRate, _ramp);
        if (_timer >= _flashRate)
        {
            ++_index;
            _timer = 0.0f;
        }
    }
}

void Lighting::AppendTo(SceneLights& lights) const
{
    if (_radius < 0.0f)
        return;
    SceneLights::Light light;
    light._position = _position;
    light._radius = _radius;
    light._factor = _factor;
    light._falloff = _falloff;
    light._colour = _current;
    light._cone = LightCone(_coneAngle, _coneDirection);
    light._innerRadius = _innerRadius;
    light._innerFalloff = _innerFalloff;
    lights.AddLight(light, this);
}
