#pragma once

#include "behaviors/items/BehaviorTrap.h"

// Glue: Sticky from its Status data slows whatever steps in; no code of its own.
class BehaviorTrapGlue : public ComponentBase<BehaviorTrapGlue, BehaviorTrap>
{
public:
    std::string_view GetName() const override { return "behaviortrapglue"; }
};
