#include "render/Sprite.h"

#include "data/TypeRegistry.h"

#include <algorithm>

GLOAMER_REGISTER_COMPONENT(Sprite, ctype::Sprite)

namespace
{
float s_grainFactor = 0.0f;
float s_ambientLighting = 0.0f;

glm::vec4 Clamped(float r, float g, float b, float a)
{
    return glm::clamp(glm::vec4(r, g, b, a), 0.0f, 1.0f);
}
} // namespace

const FieldDescriptor<Sprite>& Sprite::Descriptor()
{
    static const FieldDescriptor<Sprite> descriptor("Sprite", {
                                                                  GLOAMER_FIELD(Sprite, _blendMode),
                                                                  GLOAMER_FIELD(Sprite, _text),
                                                                  GLOAMER_FIELD(Sprite, _tint),
                                                                  GLOAMER_FIELD(Sprite, _frameIndex),
                                                                  GLOAMER_FIELD(Sprite, _parallax),
                                                              });
    return descriptor;
}

StaticSettings& Sprite::Settings()
{
    static StaticSettings settings("Sprite",
                                   {{&s_grainFactor, "_grainFactor"}, {&s_ambientLighting, "_ambientLighting"}});
    settings.EnsureLoaded();
    return settings;
}

float& Sprite::GrainFactor()
{
    Settings();
    return s_grainFactor;
}

float& Sprite::AmbientLighting()
{
    Settings();
    return s_ambientLighting;
}

void Sprite::Read(const json& j)
{
    Descriptor().Read(*this, j);
    if (auto it = j.find("brightness"); it != j.end() && j.contains("shader"))
        _brightness = it->get<float>();
    if (auto it = j.find("textcenter"); it != j.end())
        _textCenter = it->get<bool>();
    SetFrame(_frameIndex);
}

void Sprite::Write(json& j) const
{
    Descriptor().Write(*this, j);
    j["textcenter"] = _textCenter;
}

void Sprite::SetTint(float r, float g, float b, float a)
{
    _tint = Clamped(r, g, b, a);
}

void Sprite::SetOutlineColour(float r, float g, float b, float a)
{
    _outlineColour = Clamped(r, g, b, a);
}

void Sprite::RenderWithMatrix(const glm::mat4& /*world*/)
{
    // Like Render, this draws nothing until sprites have meshes and shaders.
}

void Sprite::SetFrame(unsigned index)
{
    _frameIndex = index;
    // Without a sprite source there is no grid to pick a frame from.
    _frameTransform = glm::mat3(1.0f);
}
