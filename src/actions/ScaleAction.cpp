#include "actions/ScaleAction.h"

#include "data/Entity.h"

ScaleAction::ScaleAction(Entity* target, const glm::vec2& end, float delay, float duration, Lanes lanes, bool blocking,
                         int easing)
    : TweenAction(end, delay, duration, lanes, blocking, easing), _target(target)
{
}

glm::vec2 ScaleAction::Read() const
{
    return _target.Get()->GetTransform().GetScale();
}

void ScaleAction::Apply(const glm::vec2& value)
{
    _target.Get()->GetTransform().SetScale(value);
}

const char* ScaleAction::MissingTargetMessage() const
{
    return "Scale Action Given Null Target, Removing From List";
}
