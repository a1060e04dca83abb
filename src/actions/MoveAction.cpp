#include "actions/MoveAction.h"

#include "data/Entity.h"

MoveAction::MoveAction(Entity* target, const glm::vec2& end, float delay, float duration, Lanes lanes, bool blocking,
                       int easing)
    : TweenAction(end, delay, duration, lanes, blocking, easing), _target(target)
{
}

glm::vec2 MoveAction::Read() const
{
    return _target.Get()->GetTransform().GetTranslation();
}

void MoveAction::Apply(const glm::vec2& value)
{
    _target.Get()->GetTransform().SetTranslation(value);
}

const char* MoveAction::MissingTargetMessage() const
{
    return "Move Action Given Null Target, Removing From List";
}
