#pragma once

#include "behaviors/Behavior.h"

// Menu scenes play the theme over a paused level ambience; leaving one stops the
// theme and loads every sound so the level that follows starts without a stall.
class BehaviorMenuMusic : public ComponentBase<BehaviorMenuMusic, Behavior>
{
public:
    void Init() override;
    void Exit() override;
    std::string_view GetName() const override { return "behaviormenumusic"; }
};
