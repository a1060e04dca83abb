#include "behaviors/BehaviorMouseFlashlight.h"

#include "data/Entity.h"
#include "data/TypeRegistry.h"
#include "input/InputSystem.h"
#include "scene/Flashlight.h"

GLOAMER_REGISTER_COMPONENT(BehaviorMouseFlashlight, ctype::Behavior)

void BehaviorMouseFlashlight::Update(float dt)
{
    Behavior::Update(dt);
    Entity* owner = GetOwner();
    if (!owner)
        return;
    if (auto* flashlight = owner->Get<Flashlight>(ctype::Flashlight))
    {
        flashlight->_origin = owner->GetTransform().GetTranslation();
        flashlight->_aimPoint = InputSystem::Instance().GetMouseWorldPosition();
    }
}
