#pragma once

#include "actions/Action.h"

// Does nothing for its duration; blocking, it spaces out the actions behind it.
class WaitAction : public ActionBase<WaitAction>
{
public:
    WaitAction(float delay, float duration, Lanes lanes, bool blocking = true);

    bool Update(float dt) override;
};
