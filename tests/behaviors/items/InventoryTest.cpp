#include "ItemTestSupport.h"

#include "behaviors/items/BehaviorInventory.h"
#include "behaviors/items/BehaviorTrapsTextGUI.h"
#include "data/Archetypes.h"

namespace
{
constexpr const char* kBag = R"({"entities": [{"name": "bag", "components": {"behaviorinventory": {}}}]})";

class InventoryTest : public test::ItemTest
{
protected:
    void SetUp() override
    {
        ItemTest::SetUp();
        CopyContent();
    }

    static std::vector<bool> SlotFlags()
    {
        std::vector<bool> flags;
        for (int i = 0; i < BehaviorInventory::kSlots; ++i)
        {
            const Message* m = MessageSystem::Instance().Get("item count, slot ID:" + std::to_string(i));
            const bool* held = m ? m->Arg<bool>(0) : nullptr;
            if (!held)
                return {};
            flags.push_back(*held);
        }
        return flags;
    }
};
} // namespace

TEST_F(InventoryTest, EveryUpdateBroadcastsTheSelectionTheDeployProgressAndEachSlot)
{
    Load("baglab", kBag);
    EXPECT_EQ(test::Count(test::ReadTrace(), "Trap added to inventory"), 4u);
    Step();
    const Message* selection = MessageSystem::Instance().Get("inventoryselection");
    ASSERT_NE(selection, nullptr);
    EXPECT_EQ(*selection->Arg<int>(0), 0);
    const Message* deploy = MessageSystem::Instance().Get("deploytime");
    ASSERT_NE(deploy, nullptr);
    EXPECT_FLOAT_EQ(*deploy->Arg<float>(0), 0.0f);
    EXPECT_EQ(SlotFlags(), (std::vector<bool>{true, true, true, true}));
    EXPECT_EQ(BehaviorInventory::SlotMessageName(0), "item count, slot ID:0");

    // Consumed messages come back with the next update.
    for (int i = 0; i < BehaviorInventory::kSlots; ++i)
        MessageSystem::Instance().Get(BehaviorInventory::SlotMessageName(i), true);
    Step();
    EXPECT_EQ(SlotFlags().size(), 4u);
}

TEST_F(InventoryTest, AMissingTrapArchetypeIsReportedAndLeavesItsSlotsEmpty)
{
    std::filesystem::remove("Data/Entity/glueTrap.json");
    ClearArchetypes();
    Load("baglab", kBag);
    Step();
    // Only the bear trap in the second slot could be made.
    EXPECT_EQ(SlotFlags(), (std::vector<bool>{false, true, false, false}));
    const std::string trace = test::ReadTrace();
    EXPECT_EQ(test::Count(trace, "Data/Entity/glueTrap.json: no archetype \"glueTrap\" could be made"), 3u) << trace;
    EXPECT_EQ(test::Count(trace, "Trap added to inventory"), 1u);
}

TEST_F(InventoryTest, LeavingTheLevelEndsTheSharedRow)
{
    Load("baglab", kBag);
    EXPECT_NE(BehaviorInventory::Shared()._slots[1], nullptr);
    Load("emptylab", "{}");
    for (const auto& slot : BehaviorInventory::Shared()._slots)
        EXPECT_EQ(slot, nullptr);
}

TEST(TrapsTextGUITest, CaptionsStartEmptyAndReadWhatTheDataGives)
{
    BehaviorTrapsTextGUI captions;
    EXPECT_EQ(captions._captions[4], "Empty");
    captions.Read(json::parse(R"({"value": 3, "captions": ["bear", "glue"]})"));
    EXPECT_EQ(captions._value, 3u);
    EXPECT_EQ(captions._captions[0], "bear");
    EXPECT_EQ(captions._captions[1], "glue");
    EXPECT_EQ(captions._captions[2], "Empty");
    EXPECT_THROW(captions.Read(json::parse(R"({"captions": "bear"})")), json::type_error);
}
