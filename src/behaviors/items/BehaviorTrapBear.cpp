#include "behaviors/items/BehaviorTrapBear.h"

#include "data/Entity.h"
#include "data/TypeRegistry.h"
#include "physics/Status.h"
#include "render/ParticleEmitter.h"
#include "render/Sprite.h"

GLOAMER_REGISTER_COMPONENT(BehaviorTrapBear, ctype::Behavior)

void BehaviorTrapBear::Read(const json& j)
{
    BehaviorTrap::Read(j);
    if (auto it = j.find("timer"); it != j.end())
        FieldIo::ReadValue(_timer, *it);
}

void BehaviorTrapBear::Write(json& j) const
{
    BehaviorTrap::Write(j);
    j["timer"] = FieldIo::WriteValue(_timer);
}

void BehaviorTrapBear::Init()
{
    _trapSound.Set("beartrap_close", 0.85f, false, true);
}

void BehaviorTrapBear::ShowFrame(unsigned frame) const
{
    if (Sprite* sprite = GetOwner() ? GetOwner()->Get<Sprite>(ctype::Sprite) : nullptr)
        sprite->SetFrame(frame);
}

void BehaviorTrapBear::OnStatusGiven(unsigned flag)
{
    if (flag != static_cast<unsigned>(StatusFlag::Slice))
        return;
    // Two things cut in the same frame make one snap, not two.
    if (_state == Armed && _stateNext == Armed)
        Snap();
    // Sprung or spent, a fresh cut shows the jaws closed on it again.
    ShowFrame(kSprungFrame);
    _stateNext = Sprung;
}

void BehaviorTrapBear::Snap()
{
    _trapSound.Play();
    ParticleEmitter* emitter = GetOwner() ? GetOwner()->Get<ParticleEmitter>(ctype::ParticleEmitter) : nullptr;
    if (!emitter)
        return;
    // One burst of splinters as the jaws meet; the trap never sprays on its own.
    for (unsigned i = 0; i < kSnapParticles; ++i)
        emitter->Emit();
    emitter->SetActive(false);
}

void BehaviorTrapBear::Update(float dt)
{
    Behavior::Update(dt);
    if (_state != Sprung)
        return;
    _timer.timer -= dt;
    if (_timer.timer > 0.0f)
        return;
    _timer.timer = _timer.duration;
    ShowFrame(kSpentFrame);
    _stateNext = Spent;
    if (Status* status = OwnStatus())
        status->_permanent &= static_cast<std::uint16_t>(~StatusBit(StatusFlag::Slice));
}
