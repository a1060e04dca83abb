#pragma once

#include "actions/Action.h"

#include <memory>

// Queues its held action on the list that runs it, and with repeat a copy of itself
// too, so a blocking held action in the same lanes makes a sequence that repeats
// until its lanes are removed or the list is cleared.
class AddAction : public ActionBase<AddAction>
{
public:
    AddAction(const Action& action, bool repeat, float delay, Lanes lanes, bool blocking = false);
    AddAction(const AddAction& other);

    bool Update(float dt) override;
    bool IsValid() const override { return _action && _action->IsValid(); }

private:
    std::unique_ptr<Action> _action;
    bool _repeat;
};
