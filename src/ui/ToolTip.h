#pragma once

#include "behaviors/UiLinks.h"
#include "data/Component.h"
#include "data/FieldDescriptor.h"

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>

#include <memory>

class Sprite;

// A hint drawn above every entity near its own entity: shown while the player is
// close (kind 0), while the mouse is over the entity (kind 1), or for a while after a
// trigger, rising as it fades (kind 2).
class ToolTip : public ComponentBase<ToolTip>, public TipDisplay
{
public:
    enum Kind
    {
        NearPlayer = 0,
        MouseHover = 1,
        Timed = 2,
    };
    static constexpr float kRiseHeight = 60.0f;

    ToolTip() : ComponentBase<ToolTip>(ctype::ToolTip) {}
    ToolTip(const ToolTip& other);
    ToolTip& operator=(const ToolTip&) = delete;
    ~ToolTip() override;

    void Read(const json& j) override;
    void Write(json& j) const override;
    // Sprites the data left out come from the "default_sprite" archetype.
    void Init() override;
    void Update(float dt) override;
    void Render() override;

    // The text goes on the fill sprite.
    void ShowText(const std::string& text) override;

    int GetKind() const { return _type; }
    bool IsVisible() const override { return _visible; }
    void SetVisible(bool visible) override { _visible = visible; }
    void Trigger() { _trigger = true; }
    bool IsEnabled() const { return _enabled; }
    void SetEnabled(bool enabled) { _enabled = enabled; }
    float GetRise() const { return _rise; }
    float GetTimer() const { return _timer; }
    const glm::mat4& GetFillMatrix() const { return _fillMatrix; }
    const glm::mat4& GetBackgroundMatrix() const { return _backgroundMatrix; }
    Sprite* GetFillSprite() const { return _fill.get(); }
    Sprite* GetBackgroundSprite() const { return _background.get(); }

    static const FieldDescriptor<ToolTip>& Descriptor();

private:
    void TimeShowing(float dt);

    glm::vec2 _translationDist{0.0f};
    glm::vec2 _fillTranslationFC{0.0f};
    glm::vec2 _backgroundScale{1.0f};
    glm::vec2 _fillScale{1.0f};
    float _rotation = 0.0f;
    float _distance = 1.0f;
    glm::vec2 _textScale{0.0f};
    float _displayTime = 0.0f;
    int _type = NearPlayer;
    bool _visible = false;
    bool _trigger = false;
    float _timer = 0.0f;
    float _rise = 0.0f;
    glm::vec2 _playerPosition{0.0f};
    bool _enabled = true;
    std::unique_ptr<Sprite> _fill;
    std::unique_ptr<Sprite> _background;
    glm::mat4 _fillMatrix{1.0f};
    glm::mat4 _backgroundMatrix{1.0f};
};
