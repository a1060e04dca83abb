#include "actions/NestedAction.h"

#include <typeinfo>

NestedAction::NestedAction(float delay, Lanes lanes, bool blocking) : ActionBase(delay, 0.0f, lanes, blocking) {}

NestedAction::NestedAction(const NestedAction& other) : ActionBase(other), _list(other._list.GetTimeScale())
{
    _list.AddClonesOf(other._list);
}

bool NestedAction::RewindAs(const Action& prototype)
{
    const auto* other = dynamic_cast<const NestedAction*>(&prototype);
    if (!other || typeid(*other) != typeid(NestedAction) || other == this)
        return false;
    Action::operator=(*other);
    ResetAsClone();
    _list.Clear();
    _list.SetTimeScale(other->_list.GetTimeScale());
    _list.AddClonesOf(other->_list);
    return true;
}

bool NestedAction::Update(float dt)
{
    _started = true;
    _list.Update(dt);
    return _list.IsEmpty();
}
