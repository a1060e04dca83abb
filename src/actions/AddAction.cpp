#include "actions/AddAction.h"

#include "actions/ActionList.h"
#include "core/Trace.h"

AddAction::AddAction(const Action& action, bool repeat, float delay, Lanes lanes, bool blocking)
    : ActionBase(delay, 0.0f, lanes, blocking), _action(action.Clone()), _repeat(repeat)
{
}

AddAction::AddAction(const AddAction& other)
    : ActionBase(other), _action(other._action ? other._action->Clone() : nullptr), _repeat(other._repeat)
{
}

bool AddAction::Update(float /*dt*/)
{
    _started = true;
    if (!IsValid() || !_owner)
    {
        Trace::Error("Add Action does not have a valid action to add, removing from list");
        return true;
    }
    _owner->Add(*_action);
    if (_repeat)
        _owner->Requeue(*this);
    return true;
}
