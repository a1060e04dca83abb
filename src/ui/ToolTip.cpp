#include "ui/ToolTip.h"

#include "core/MessageSystem.h"
#include "data/Entity.h"
#include "data/TypeRegistry.h"
#include "input/InputSystem.h"
#include "render/Sprite.h"
#include "scene/Scene.h"
#include "ui/ProgressBar.h"

#include <glm/ext/matrix_transform.hpp>
#include <glm/geometric.hpp>
#include <glm/trigonometric.hpp>

#include <algorithm>
#include <cmath>

GLOAMER_REGISTER_COMPONENT(ToolTip, ctype::ToolTip)

namespace
{
std::unique_ptr<Sprite> CopySprite(const Sprite* sprite)
{
    if (!sprite)
        return nullptr;
    return std::unique_ptr<Sprite>(static_cast<Sprite*>(sprite->Clone().release()));
}

void SetAlpha(Sprite* sprite, float alpha)
{
    if (!sprite)
        return;
    const glm::vec4 tint = sprite->GetTint();
    sprite->SetTint(tint.r, tint.g, tint.b, alpha);
}
} // namespace

const FieldDescriptor<ToolTip>& ToolTip::Descriptor()
{
    static const FieldDescriptor<ToolTip> descriptor("ToolTip", {
                                                                    GLOAMER_FIELD(ToolTip, _translationDist),
                                                                    GLOAMER_FIELD(ToolTip, _fillTranslationFC),
                                                                    GLOAMER_FIELD(ToolTip, _backgroundScale),
                                                                    GLOAMER_FIELD(ToolTip, _fillScale),
                                                                    GLOAMER_FIELD(ToolTip, _rotation),
                                                                    GLOAMER_FIELD(ToolTip, _distance),
                                                                    GLOAMER_FIELD(ToolTip, _textScale),
                                                                    GLOAMER_FIELD(ToolTip, _displayTime),
                                                                });
    return descriptor;
}

ToolTip::ToolTip(const ToolTip& other)
    : ComponentBase<ToolTip>(other), _translationDist(other._translationDist),
      _fillTranslationFC(other._fillTranslationFC), _backgroundScale(other._backgroundScale),
      _fillScale(other._fillScale), _rotation(other._rotation), _distance(other._distance),
      _textScale(other._textScale), _displayTime(other._displayTime), _type(other._type), _visible(other._visible),
      _trigger(other._trigger), _timer(other._timer), _rise(other._rise), _playerPosition(other._playerPosition),
      _enabled(other._enabled), _fill(CopySprite(other._fill.get())), _background(CopySprite(other._background.get())),
      _fillMatrix(other._fillMatrix), _backgroundMatrix(other._backgroundMatrix)
{
}

ToolTip::~ToolTip() = default;

void ToolTip::Read(const json& j)
{
    Descriptor().Read(*this, j);
    for (const auto& [key, target] : {std::pair{"fillsprite", &_fill}, std::pair{"backgroundsprite", &_background}})
        if (auto it = j.find(key); it != j.end())
        {
            auto sprite = std::make_unique<Sprite>();
            sprite->Read(*it);
            *target = std::move(sprite);
        }
    if (auto it = j.find("type"); it != j.end())
        FieldIo::ReadValue(_type, *it);
}

void ToolTip::Write(json& j) const
{
    Descriptor().Write(*this, j);
    if (_background)
        _background->Write(j["backgroundsprite"]);
    if (_fill)
        _fill->Write(j["fillsprite"]);
    j["type"] = _type;
}

void ToolTip::Init()
{
    FillMissingSprites(_fill, _background);
}

void ToolTip::ShowText(const std::string& text)
{
    if (_fill)
        _fill->SetText(text);
    if (_type == Timed)
        _trigger = true;
    else
        _visible = true;
}

void ToolTip::TimeShowing(float dt)
{
    if (!_visible)
    {
        _timer = 0.0f;
        return;
    }
    if (_timer <= 0.0f)
    {
        SetAlpha(_background.get(), 0.0f);
        _timer = _displayTime;
    }
    _timer -= dt;
    // The text fades over the showing, from a little above full.
    SetAlpha(_fill.get(), std::clamp(_timer + 0.2f / _displayTime, 0.0f, 1.0f));
    _rise = _displayTime > 0.0f ? (_displayTime - _timer) / _displayTime * kRiseHeight : 0.0f;
    if (_timer <= 0.0f)
    {
        _visible = false;
        _rise = 0.0f;
    }
}

void ToolTip::Update(float dt)
{
    if (_type == Timed)
        TimeShowing(dt);

    if (const Message* data = MessageSystem::Instance().Get("playerdata", false))
        if (const glm::vec2* position = data->Arg<glm::vec2>(0))
            _playerPosition = *position;

    const Transform* transform = GetOwner() ? &GetOwner()->GetTransform() : nullptr;
    const glm::vec2 e = transform ? transform->GetTranslation() : glm::vec2(0.0f);
    const glm::vec3 background(e.x + _translationDist.x, e.y + _translationDist.y + _rise, 0.0f);
    _backgroundMatrix = glm::scale(
        glm::rotate(glm::translate(glm::mat4(1.0f), background), glm::radians(_rotation), glm::vec3(0.0f, 0.0f, 1.0f)),
        glm::vec3(_backgroundScale, 1.0f));
    const glm::vec3 fill = background + glm::vec3(_fillTranslationFC, 0.0f);
    _fillMatrix = glm::scale(glm::translate(glm::mat4(1.0f), fill), glm::vec3(_fillScale, 1.0f));

    switch (_type)
    {
    case NearPlayer:
        _visible = glm::distance(_playerPosition, e) < _distance;
        break;
    case MouseHover:
    {
        const glm::vec2 half = transform ? transform->GetScale() * 0.5f : glm::vec2(0.0f);
        const glm::vec2 offset = glm::abs(InputSystem::Instance().GetMouseWorldPosition() - e);
        _visible = offset.x < half.x && offset.y < half.y;
        break;
    }
    case Timed:
        if (_trigger)
        {
            _visible = true;
            _trigger = false;
        }
        break;
    default:
        break;
    }
}

void ToolTip::Render()
{
    if (!_visible || !_enabled || !_fill || !_background || !GetOwner())
        return;
    if (Scene* scene = GetOwner()->GetScene())
    {
        scene->AddDrawItem(_background.get(), _backgroundMatrix);
        scene->AddDrawItem(_fill.get(), _fillMatrix);
    }
}
