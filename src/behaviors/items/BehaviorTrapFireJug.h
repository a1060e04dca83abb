#pragma once

#include "behaviors/items/BehaviorTrap.h"

// Intact (0) until fire or a blade reaches it; then breaking (1) for one update and
// broken (2), a permanent source of Ignite for whatever touches it.
class BehaviorTrapFireJug : public ComponentBase<BehaviorTrapFireJug, BehaviorTrap>
{
public:
    enum State
    {
        Intact = 0,
        Breaking = 1,
        Broken = 2
    };

    void Update(float dt) override;
    void OnStatusGained(unsigned flag) override;
    std::string_view GetName() const override { return "behaviortrapfirejug"; }
    std::uint32_t GetFlags() const override { return 1u << ctype::Status; }
};
