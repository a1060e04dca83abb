#pragma once

#include "behaviors/Behavior.h"

// Sets the objective text when read and, once every registered object is collected,
// tells the camera flash it may fire ("apertureReady", every update from then on).
class BehaviorScoreKeeper : public ComponentBase<BehaviorScoreKeeper, Behavior>
{
public:
    void Read(const json& j) override;
    void Write(json& j) const override;
    void Update(float dt) override;
    std::string_view GetName() const override { return "behaviorscorekeeper"; }

    static constexpr const char* kObjectiveText = "Collect the Objects:";

    int currcollectables = 0;
    int maxcollectables = 0;
};
