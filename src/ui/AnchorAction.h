#pragma once

#include "actions/Action.h"
#include "data/EntityRef.h"

class Anchor;
class Entity;

// Switches an entity's anchor on or off once the action has run its course.
class AnchorAction : public ActionBase<AnchorAction>
{
public:
    AnchorAction(Entity* target, bool enabled, float delay, float duration, Lanes lanes, bool blocking = false);

    bool Update(float dt) override;
    // Flips the value it will set.
    void Reverse() override;
    bool IsValid() const override { return GetAnchor() != nullptr; }

    bool GetEnd() const { return _end; }

private:
    Anchor* GetAnchor() const;

    EntityRef _target;
    bool _end;
};
