#pragma once

#include "behaviors/Behavior.h"
#include "data/Entity.h"

#include <array>
#include <memory>
#include <string>

// A row of four trap prototypes shared by the whole program, broadcast every update
// as messages for whatever display wants them: the selected slot, the deploy
// progress and, per slot, whether it holds a trap.
class BehaviorInventory : public ComponentBase<BehaviorInventory, Behavior>
{
public:
    static constexpr int kSlots = 4;
    static constexpr const char* kSlotArchetypes[kSlots] = {"glueTrap", "beartrap", "glueTrap", "glueTrap"};

    struct SharedState
    {
        std::array<std::unique_ptr<Entity>, kSlots> _slots;
        int _selected = 0;
        float _deployTime = 0.0f;
        float _maxDeployTime = 0.0f;
    };

    // Fills the shared row afresh from the archetypes; a missing one leaves its slot
    // empty (the loader reports it).
    void Init() override;
    void Update(float dt) override;
    // Ends and empties the shared row, so no prototype outlives the scene that made it.
    void Exit() override;
    std::string_view GetName() const override { return "behaviorinventory"; }

    static SharedState& Shared();
    // "item count, slot ID:" and the slot's number.
    static const std::string& SlotMessageName(int slot);
    // Ends and deletes the shared prototypes (also between tests).
    static void Clear();
};
