#pragma once

#include "behaviors/Behavior.h"

// A sound source that levels may place. It has no behaviour of its own yet beyond
// the base state machine, but files that name it load.
class BehaviorSoundEmitter : public ComponentBase<BehaviorSoundEmitter, Behavior>
{
public:
    std::string_view GetName() const override { return "behaviorsoundemitter"; }
};
