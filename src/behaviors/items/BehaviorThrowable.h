#pragma once

#include "audio/Sound.h"
#include "behaviors/Behavior.h"

#include <glm/vec2.hpp>

class ParticleEmitter;

// Something the player can pick up into the off hand and throw. Lying still with uses
// left it is highlighted and shows its tip; each hit on something other than the
// player uses it up, and it breaks when none are left (-1 never runs out).
class BehaviorThrowable : public ComponentBase<BehaviorThrowable, Behavior>
{
public:
    static constexpr int kEndless = -1;
    static constexpr float kHighlight = 2.0f;

    void Read(const json& j) override;
    void Write(json& j) const override;
    void Init() override;
    void Update(float dt) override;
    void OnCollision(Entity& self, Entity& other) override;
    std::string_view GetName() const override { return "behaviorthrowable"; }
    std::uint32_t GetFlags() const override;

    bool HasUsesLeft() const { return _numUse > 0 || _numUse == kEndless; }

    static const FieldDescriptor<BehaviorThrowable>& Descriptor();

    float _radius = 0.0f;
    int _numUse = 1;

private:
    // Hands a copy of this entity to the player and takes this one out of the scene.
    void PickUp();
    void Highlight(bool on);
    void Emit(int count) const;

    Sound _hitsound;
    Sound _breaksound;
    glm::vec2 _playerPosition{0.0f};
    bool _knowsPlayer = false;
    int _highlighted = -1;       // -1 not yet set, else whether the light is raised
    Component* _light = nullptr; // the own light last written, to notice a new one
    ParticleEmitter* _emitter = nullptr;
};
