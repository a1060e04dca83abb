#include "actions/MoveCameraAction.h"

#include "render/SceneCamera.h"

MoveCameraAction::MoveCameraAction(SceneCamera* target, const glm::vec2& end, float delay, float duration, Lanes lanes,
                                   bool blocking, int easing)
    : TweenAction(end, delay, duration, lanes, blocking, easing), _target(target)
{
}

glm::vec2 MoveCameraAction::Read() const
{
    return _target->GetPosition();
}

void MoveCameraAction::Apply(const glm::vec2& value)
{
    _target->SetPosition(value);
}

const char* MoveCameraAction::MissingTargetMessage() const
{
    return "Move Camera Action Given Null Target, Removing From List";
}
