#include "behaviors/items/BehaviorInventory.h"

#include "behaviors/items/ArchetypeOrReport.h"
#include "behaviors/items/BehaviorTrap.h"
#include "core/MessageSystem.h"
#include "core/Trace.h"
#include "data/TypeRegistry.h"

GLOAMER_REGISTER_COMPONENT(BehaviorInventory, ctype::Behavior)

BehaviorInventory::SharedState& BehaviorInventory::Shared()
{
    static SharedState state;
    return state;
}

const std::string& BehaviorInventory::SlotMessageName(int slot)
{
    static const std::array<std::string, kSlots> names = []
    {
        std::array<std::string, kSlots> n;
        for (int i = 0; i < kSlots; ++i)
            n[static_cast<std::size_t>(i)] = "item count, slot ID:" + std::to_string(i);
        return n;
    }();
    return names[static_cast<std::size_t>(slot)];
}

void BehaviorInventory::Clear()
{
    for (std::unique_ptr<Entity>& slot : Shared()._slots)
    {
        if (slot)
            slot->Exit();
        slot.reset();
    }
}

void BehaviorInventory::Init()
{
    Clear();
    SharedState& state = Shared();
    for (int i = 0; i < kSlots; ++i)
    {
        std::unique_ptr<Entity> trap = ArchetypeOrReport(kSlotArchetypes[i], "its inventory slot stays empty");
        if (!trap)
            continue;
        trap->Init();
        if (auto* behavior = trap->Get<Behavior>(ctype::Behavior))
            behavior->SetStateNext(0);
        Trace::Message("Trap added to inventory");
        state._slots[static_cast<std::size_t>(i)] = std::move(trap);
    }
    state._selected = 0;
    const Entity* first = state._slots[0].get();
    const auto* trap = first ? first->Get<BehaviorTrap>(ctype::Behavior) : nullptr;
    state._maxDeployTime = trap ? trap->_deployTime : 0.0f;
    state._deployTime = state._maxDeployTime;
}

void BehaviorInventory::Update(float dt)
{
    Behavior::Update(dt);
    SharedState& state = Shared();
    state._selected = 0;
    MessageSystem& messages = MessageSystem::Instance();
    messages.Post("inventoryselection", true)._arguments.emplace_back(state._selected);
    // Without a deploy time there is nothing to count down: report it as done.
    const float deployed =
        state._maxDeployTime != 0.0f ? (state._maxDeployTime - state._deployTime) / state._maxDeployTime : 0.0f;
    messages.Post("deploytime", true)._arguments.emplace_back(deployed);
    for (int i = 0; i < kSlots; ++i)
        messages.Post(SlotMessageName(i), true)
            ._arguments.emplace_back(Shared()._slots[static_cast<std::size_t>(i)] != nullptr);
}

void BehaviorInventory::Exit()
{
    Clear();
}
