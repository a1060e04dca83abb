#pragma once

#include "audio/Sound.h"
#include "behaviors/Behavior.h"
#include "data/EntityRef.h"
#include "data/Timer.h"

#include <memory>

class Shape;

// The camera flash that ends the monster. It clicks and refuses until every object of
// the level is collected; then each use flashes the "flash" light, and a flash with the
// monster inside the hit box kills it and spends the device (state 1).
class BehaviorAperture : public ComponentBase<BehaviorAperture, Behavior>
{
public:
    static constexpr const char* kNotReadyText = "I cant use this yet";
    // The flash jumps to kFlashFactor and fades from kFadeScale to 0 over the timer.
    static constexpr float kFlashFactor = 15.0f;
    static constexpr float kFadeScale = 10.0f;
    // With flashing disabled in the options the light only swells gently and fades.
    static constexpr float kGentleFactor = 2.0f;

    BehaviorAperture() = default;
    BehaviorAperture(const BehaviorAperture& other);

    // "flashhitbox": {"type": 1 or 2, "shape": {...}}, a polygon or circle placed at the
    // device. One of zero size is reported: that flash could never hit.
    void Read(const json& j) override;
    void Write(json& j) const override;
    void Init() override;
    void Update(float dt) override;
    void Render() override;
    std::string_view GetName() const override { return "behavioraperture"; }
    std::uint32_t GetFlags() const override { return 0x100; }

    // The hit box where the device stands, or null without a usable one.
    const Shape* GetPlacedHitBox() const { return _placed.get(); }
    bool IsMonsterInHitBox() const { return _hit; }

    static const FieldDescriptor<BehaviorAperture>& Descriptor();
    // False for a missing shape or one that covers no area.
    static bool HasArea(const Shape& shape);

    float _activationRadius = 0.0f;
    bool _ready = false;
    bool _showactivationradius = false;
    bool _showflashhitbox = false;
    Timer _flashtimer{0.0f, 1.0f};
    bool _flashon = false;

private:
    enum class Lamp
    {
        Unknown,
        NotReady,
        Ready,
        OnTarget
    };

    void FadeFlash(float dt);
    void PlaceHitBox();
    bool MonsterInHitBox() const;
    void Fire();
    void ShowLamp();

    Sound _clickSound;
    Sound _flashSound;
    std::unique_ptr<Shape> _hitBox;
    std::unique_ptr<Shape> _placed;
    EntityRef _player;
    EntityRef _monster;
    EntityRef _flash;
    bool _hit = false;
    bool _gentle = false; // the running flash was fired with flashing disabled
    Lamp _lamp = Lamp::Unknown;
};
