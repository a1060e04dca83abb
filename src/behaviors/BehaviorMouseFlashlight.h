#pragma once

#include "behaviors/Behavior.h"

// Holds its entity's flashlight at the entity and aims it at the mouse, so a level can
// be looked at by torchlight before anyone carries the light.
class BehaviorMouseFlashlight : public ComponentBase<BehaviorMouseFlashlight, Behavior>
{
public:
    std::string_view GetName() const override { return "behaviormouseflashlight"; }
    void Update(float dt) override;
};
