#include "behaviors/items/BehaviorUnlock.h"

#include "behaviors/items/ObjectiveSystem.h"
#include "data/Entity.h"
#include "data/TypeRegistry.h"
#include "render/Sprite.h"

GLOAMER_REGISTER_COMPONENT(BehaviorUnlock, ctype::Behavior)

const FieldDescriptor<BehaviorUnlock>& BehaviorUnlock::Descriptor()
{
    static const FieldDescriptor<BehaviorUnlock> descriptor("BehaviorUnlock", {
                                                                                  GLOAMER_FIELD(BehaviorUnlock, _id),
                                                                              });
    return descriptor;
}

void BehaviorUnlock::Read(const json& j)
{
    Behavior::Read(j);
    Descriptor().Read(*this, j);
}

void BehaviorUnlock::Write(json& j) const
{
    Behavior::Write(j);
    Descriptor().Write(*this, j);
}

void BehaviorUnlock::Update(float dt)
{
    Behavior::Update(dt);
    Sprite* sprite = GetOwner() ? GetOwner()->Get<Sprite>(ctype::Sprite) : nullptr;
    if (!sprite)
        return;
    const auto id = static_cast<std::uint32_t>(static_cast<int>(_id));
    bool collected = false;
    for (const ObjectiveSystem::Record& record : ObjectiveSystem::Instance().GetRegister())
        collected = collected || (record._id == id && record._collected);
    // Tints are 0..1: black for a collected object, untouched white otherwise.
    sprite->SetTint(collected ? glm::vec4(0.0f, 0.0f, 0.0f, 1.0f) : glm::vec4(1.0f));
}
