#include "actions/NestedAction.h"

NestedAction::NestedAction(float delay, Lanes lanes, bool blocking) : ActionBase(delay, 0.0f, lanes, blocking) {}

NestedAction::NestedAction(const NestedAction& other) : ActionBase(other), _list(other._list.GetTimeScale())
{
    _list.AddClonesOf(other._list);
}

bool NestedAction::Update(float dt)
{
    _started = true;
    _list.Update(dt);
    return _list.IsEmpty();
}
