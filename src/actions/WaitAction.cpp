#include "actions/WaitAction.h"

WaitAction::WaitAction(float delay, float duration, Lanes lanes, bool blocking)
    : ActionBase(delay, duration, lanes, blocking)
{
}

bool WaitAction::Update(float /*dt*/)
{
    _started = true;
    return Done();
}
