#pragma once

#include "actions/TweenAction.h"
#include "data/EntityRef.h"

class Entity;

// Turns an entity's transform to an angle in degrees; never blocking, eased in and out.
class RotateAction : public TweenAction<float, RotateAction>
{
public:
    RotateAction(Entity* target, float endAngle, float delay, float duration, Lanes lanes);

private:
    bool HasTarget() const override { return _target.Get() != nullptr; }
    float Read() const override;
    void Apply(const float& value) override;
    const char* MissingTargetMessage() const override;

    EntityRef _target;
};
