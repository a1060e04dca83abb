#pragma once

#include "actions/Action.h"

#include <functional>

// Calls a function on every run until its duration is over (once for duration 0).
class CallbackAction : public ActionBase<CallbackAction>
{
public:
    using Callback = std::function<void(CallbackAction&)>;

    CallbackAction(Callback callback, float delay, float duration, Lanes lanes, bool blocking = false);

    bool Update(float dt) override;
    bool IsValid() const override { return static_cast<bool>(_callback); }

private:
    Callback _callback;
};
