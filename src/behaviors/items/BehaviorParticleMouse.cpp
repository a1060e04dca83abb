#include "behaviors/items/BehaviorParticleMouse.h"

#include "data/Entity.h"
#include "data/TypeRegistry.h"
#include "input/InputSystem.h"
#include "render/ParticleEmitter.h"

GLOAMER_REGISTER_COMPONENT(BehaviorParticleMouse, ctype::Behavior)
GLOAMER_REGISTER_COMPONENT(BehaviorParticleMouseClick, ctype::Behavior)

namespace
{
// Puts the entity under the pointer and returns its emitter, if any.
ParticleEmitter* FollowMouse(Entity* owner)
{
    if (!owner)
        return nullptr;
    owner->GetTransform().SetTranslation(InputSystem::Instance().GetMouseWorldPosition());
    return owner->Get<ParticleEmitter>(ctype::ParticleEmitter);
}
} // namespace

const FieldDescriptor<BehaviorParticleMouse>& BehaviorParticleMouse::Descriptor()
{
    static const FieldDescriptor<BehaviorParticleMouse> descriptor("BehaviorParticleMouse",
                                                                   {
                                                                       GLOAMER_FIELD(BehaviorParticleMouse, _spawnRate),
                                                                   });
    return descriptor;
}

void BehaviorParticleMouse::Read(const json& j)
{
    Behavior::Read(j);
    Descriptor().Read(*this, j);
}

void BehaviorParticleMouse::Write(json& j) const
{
    Behavior::Write(j);
    Descriptor().Write(*this, j);
}

void BehaviorParticleMouse::Init()
{
    _spawnTimer = _spawnRate;
}

void BehaviorParticleMouse::Update(float dt)
{
    Behavior::Update(dt);
    ParticleEmitter* emitter = FollowMouse(GetOwner());
    _spawnTimer -= dt;
    if (_spawnTimer > 0.0f)
        return;
    if (emitter)
        emitter->Emit();
    _spawnTimer = _spawnRate;
}

void BehaviorParticleMouseClick::Update(float dt)
{
    Behavior::Update(dt);
    ParticleEmitter* emitter = FollowMouse(GetOwner());
    if (!emitter || !InputSystem::Instance().IsDown("click button"))
        return;
    for (int i = 0; i < kBurst; ++i)
        emitter->Emit();
}
