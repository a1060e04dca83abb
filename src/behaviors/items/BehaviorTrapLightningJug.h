#pragma once

#include "behaviors/items/BehaviorTrap.h"

// Cut open, it becomes a permanent source of Shock and its light flares.
class BehaviorTrapLightningJug : public ComponentBase<BehaviorTrapLightningJug, BehaviorTrap>
{
public:
    static constexpr float kRadiusFlare = 2.5f;
    static constexpr float kFactorFlare = 4.0f;
    static constexpr float kFalloffFlare = 2.0f;
    static constexpr float kFlashRateDivisor = 10.0f;

    void OnStatusGained(unsigned flag) override;
    std::string_view GetName() const override { return "behaviortraplightningjug"; }
    std::uint32_t GetFlags() const override { return (1u << ctype::Status) | (1u << ctype::Lighting); }

private:
    void Flare() const;
};
