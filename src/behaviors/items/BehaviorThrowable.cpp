#include "behaviors/items/BehaviorThrowable.h"

#include "behaviors/UiLinks.h"
#include "behaviors/items/LightFields.h"
#include "core/MessageSystem.h"
#include "data/Entity.h"
#include "data/TypeRegistry.h"
#include "input/InputSystem.h"
#include "physics/Collider.h"
#include "physics/Physics.h"
#include "render/Lighting.h"
#include "render/ParticleEmitter.h"

#include <glm/geometric.hpp>

GLOAMER_REGISTER_COMPONENT(BehaviorThrowable, ctype::Behavior)

const FieldDescriptor<BehaviorThrowable>& BehaviorThrowable::Descriptor()
{
    static const FieldDescriptor<BehaviorThrowable> descriptor("BehaviorThrowable",
                                                               {
                                                                   GLOAMER_FIELD(BehaviorThrowable, _radius),
                                                                   GLOAMER_FIELD(BehaviorThrowable, _numUse),
                                                               });
    return descriptor;
}

std::uint32_t BehaviorThrowable::GetFlags() const
{
    return (1u << ctype::Physics) | (1u << ctype::Collider) | (1u << ctype::Lighting) | (1u << ctype::ParticleEmitter) |
           (1u << ctype::ToolTip);
}

void BehaviorThrowable::Read(const json& j)
{
    Behavior::Read(j);
    Descriptor().Read(*this, j);
}

void BehaviorThrowable::Write(json& j) const
{
    Behavior::Write(j);
    Descriptor().Write(*this, j);
}

void BehaviorThrowable::Init()
{
    _hitsound.Set("bump_1", 1.0f, false, true);
    _breaksound.Set("wood_break", 0.8f, false, true);
    _highlighted = -1;
    _light = nullptr;
    _emitter = GetOwner() ? GetOwner()->Get<ParticleEmitter>(ctype::ParticleEmitter) : nullptr;
}

void BehaviorThrowable::Emit(int count) const
{
    for (int i = 0; _emitter && i < count; ++i)
        _emitter->Emit();
}

void BehaviorThrowable::Highlight(bool on)
{
    Entity* owner = GetOwner();
    if (auto* tip = dynamic_cast<TipDisplay*>(owner->GetComponent(ctype::ToolTip)))
        tip->SetVisible(on);
    // Written only when the highlight or the light itself changes.
    Component* light = LightFields::Find(owner);
    if (light != _light || _highlighted != static_cast<int>(on))
        LightFields::SetFactor(owner, on ? kHighlight : 0.0f);
    _light = light;
    _highlighted = on;
}

void BehaviorThrowable::Update(float dt)
{
    Behavior::Update(dt);
    Entity* owner = GetOwner();
    if (!owner || owner->IsDestroyed())
        return;
    Physics* physics = owner->Get<Physics>(ctype::Physics);
    const bool still = !physics || physics->GetVelocity() == glm::vec2(0.0f);
    if (still)
        if (Collider* collider = owner->Get<Collider>(ctype::Collider))
            collider->SetEnabled(false);
    Highlight(still && HasUsesLeft());

    MessageSystem& messages = MessageSystem::Instance();
    if (const Message* player = messages.Get("playerdata"))
        if (const glm::vec2* position = player->Arg<glm::vec2>(0))
        {
            _playerPosition = *position;
            _knowsPlayer = true;
        }
    if (_knowsPlayer && HasUsesLeft() && InputSystem::Instance().IsTriggered("interact") &&
        glm::distance(_playerPosition, owner->GetTransform().GetTranslation()) < _radius)
        PickUp();
}

void BehaviorThrowable::PickUp()
{
    MessageSystem& messages = MessageSystem::Instance();
    // The board keeps one message per name: a second pick-up in the same frame would
    // replace the first and lose that item, so it waits for a later press.
    if (messages.Get("throwable"))
        return;
    Entity* owner = GetOwner();
    auto parcel = std::make_shared<std::unique_ptr<Entity>>(owner->Clone());
    messages.Send(Message("throwable", {EntityParcel(std::move(parcel))}, 0.0f, true));
    owner->Destroy();
}

void BehaviorThrowable::OnCollision(Entity& self, Entity& other)
{
    if (other.GetName() == "player" || self.IsDestroyed() || _hitsound.IsPlaying())
        return;
    _hitsound.Play();
    Emit(1);
    if (_numUse == kEndless)
        return;
    --_numUse;
    if (_numUse < 1)
    {
        Emit(2);
        _breaksound.Play();
        self.Destroy();
    }
}
