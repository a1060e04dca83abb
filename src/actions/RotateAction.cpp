#include "actions/RotateAction.h"

#include "data/Entity.h"

RotateAction::RotateAction(Entity* target, float endAngle, float delay, float duration, Lanes lanes)
    : TweenAction(endAngle, delay, duration, lanes, false, 3), _target(target)
{
}

float RotateAction::Read() const
{
    return _target.Get()->GetTransform().GetRotation();
}

void RotateAction::Apply(const float& value)
{
    _target.Get()->GetTransform().SetRotation(value);
}

const char* RotateAction::MissingTargetMessage() const
{
    return "Rotate Action Given Null Target, Removing From List";
}
