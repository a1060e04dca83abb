#pragma once

#include "actions/Action.h"
#include "actions/ActionList.h"

// A whole action list run as one action: finished when its own list is empty. Its
// list's time scale multiplies with the outer list's.
class NestedAction : public ActionBase<NestedAction>
{
public:
    NestedAction(float delay, Lanes lanes, bool blocking = false);
    NestedAction(const NestedAction& other);

    bool Update(float dt) override;
    bool IsValid() const override { return _list.AllValid(); }
    // Refills its list from the prototype's, so its children are reused too.
    bool RewindAs(const Action& prototype) override;

    ActionList& GetList() { return _list; }
    const ActionList& GetList() const { return _list; }

private:
    ActionList _list;
};
