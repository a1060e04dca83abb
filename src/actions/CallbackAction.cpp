#include "actions/CallbackAction.h"

#include <utility>

CallbackAction::CallbackAction(Callback callback, float delay, float duration, Lanes lanes, bool blocking)
    : ActionBase(delay, duration, lanes, blocking), _callback(std::move(callback))
{
}

bool CallbackAction::Update(float /*dt*/)
{
    _started = true;
    if (_callback)
        _callback(*this);
    return Done();
}
