#pragma once

#include "behaviors/Behavior.h"

class Status;

// Base of the traps: their effect is the status flags they hold and give on contact.
// _deployTime and _numUses are carried and saved for the data; no trap reads them.
class BehaviorTrap : public Behavior
{
public:
    void Read(const json& j) override;
    void Write(json& j) const override;

    static const FieldDescriptor<BehaviorTrap>& Descriptor();

    float _deployTime = 99999.0f;
    int _numUses = 0;

protected:
    BehaviorTrap() = default;
    // A copy is a freshly placed trap, so it starts armed.
    BehaviorTrap(const BehaviorTrap& other) : Behavior(other), _deployTime(other._deployTime), _numUses(other._numUses)
    {
        _stateNext = 0;
    }

    // The trap's own Status, or null when its entity has none.
    Status* OwnStatus() const;
};
