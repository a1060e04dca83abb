#pragma once

#include "audio/Sound.h"
#include "behaviors/items/BehaviorTrap.h"
#include "data/Timer.h"

// Armed (0) until it cuts something, then sprung (1): it holds Slice for _timer's
// duration and then is spent (2), harmless, showing its closed frame.
class BehaviorTrapBear : public ComponentBase<BehaviorTrapBear, BehaviorTrap>
{
public:
    enum State
    {
        Armed = 0,
        Sprung = 1,
        Spent = 2
    };

    static constexpr unsigned kSprungFrame = 2;
    static constexpr unsigned kSpentFrame = 1;
    static constexpr unsigned kSnapParticles = 6;

    void Read(const json& j) override;
    void Write(json& j) const override;
    void Init() override;
    void Update(float dt) override;
    void OnStatusGiven(unsigned flag) override;
    std::string_view GetName() const override { return "behaviortrapbear"; }
    std::uint32_t GetFlags() const override { return 0x801; }

    Sound& GetTrapSound() { return _trapSound; }

    Timer _timer{3.0f, 3.0f};

private:
    void ShowFrame(unsigned frame) const;
    // Only an armed trap snaps: the sound and the burst of particles.
    void Snap();

    Sound _trapSound;
};
