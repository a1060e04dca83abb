#pragma once

#include "behaviors/UiLinks.h"
#include "data/Component.h"
#include "data/FieldDescriptor.h"

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>

#include <memory>

class Sprite;

// A bar that fills from one edge to show a fraction, drawn with two sprites of its own:
// the background at full size and the fill scaled by the value.
class ProgressBar : public ComponentBase<ProgressBar>, public ProgressDisplay
{
public:
    ProgressBar() : ComponentBase<ProgressBar>(ctype::ProgressBar) {}
    ProgressBar(const ProgressBar& other);
    ProgressBar& operator=(const ProgressBar&) = delete;
    ~ProgressBar() override;

    void Read(const json& j) override;
    void Write(json& j) const override;
    // Sprites the data left out come from the "default_sprite" archetype.
    void Init() override;
    void Update(float dt) override;
    void Render() override;

    void SetValue(float value) override { _value = value; }
    float GetValue() const override { return _value; }
    void SetVisible(bool visible) override { _visible = visible; }
    bool IsVisible() const override { return _visible; }

    const glm::mat4& GetFillMatrix() const { return _fillMatrix; }
    const glm::mat4& GetBackgroundMatrix() const { return _backgroundMatrix; }
    Sprite* GetFillSprite() const { return _fill.get(); }
    Sprite* GetBackgroundSprite() const { return _background.get(); }

    static const FieldDescriptor<ProgressBar>& Descriptor();

private:
    glm::vec2 _translation{0.0f};
    glm::vec2 _scale{1.0f};
    int _depth = 0;
    float _borderWidth = 0.0f;
    bool _forceRun = false;
    bool _vertical = false;
    float _value = 0.0f;
    bool _visible = false;
    std::unique_ptr<Sprite> _fill;
    std::unique_ptr<Sprite> _background;
    glm::mat4 _fillMatrix{1.0f};
    glm::mat4 _backgroundMatrix{1.0f};
};

// A copy of the sprite of the archetype "default_sprite" (kept in the archetype
// store), or null (reported) when there is none.
std::unique_ptr<Sprite> DefaultSprite();
// Gives each missing one a copy of the default sprite.
void FillMissingSprites(std::unique_ptr<Sprite>& fill, std::unique_ptr<Sprite>& background);
