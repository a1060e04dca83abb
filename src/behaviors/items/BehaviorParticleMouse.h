#pragma once

#include "behaviors/Behavior.h"

// Follows the mouse pointer and leaves a trail: one particle every _spawnRate seconds
// from the entity's emitter (every update when the rate is 0).
class BehaviorParticleMouse : public ComponentBase<BehaviorParticleMouse, Behavior>
{
public:
    void Read(const json& j) override;
    void Write(json& j) const override;
    void Init() override;
    void Update(float dt) override;
    std::string_view GetName() const override { return "behaviorparticlemouse"; }
    std::uint32_t GetFlags() const override { return 1u << ctype::ParticleEmitter; }

    static const FieldDescriptor<BehaviorParticleMouse>& Descriptor();

    float _spawnRate = 0.0f;

private:
    float _spawnTimer = 0.0f;
};

// Follows the mouse pointer and bursts while the click button is held.
class BehaviorParticleMouseClick : public ComponentBase<BehaviorParticleMouseClick, Behavior>
{
public:
    static constexpr int kBurst = 21;

    void Update(float dt) override;
    std::string_view GetName() const override { return "behaviorparticlemouseclick"; }
    std::uint32_t GetFlags() const override { return 1u << ctype::ParticleEmitter; }
};
