#include "RecordingBehavior.h"
#include "TestSupport.h"

#include "core/MessageSystem.h"

class BehaviorTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        Calls().Clear();
        _behavior = static_cast<RecordingBehavior*>(_entity.AddComponent(std::make_unique<RecordingBehavior>()));
    }

    Entity _entity{"guard"};
    RecordingBehavior* _behavior = nullptr;
};

TEST_F(BehaviorTest, StateChangesTakeEffectOnTheNextUpdate)
{
    _behavior->Read(json::parse(R"({"statenext": 3})"));
    EXPECT_EQ(_behavior->GetState(), 0);
    _behavior->Update(0.0f);
    EXPECT_EQ(_behavior->GetState(), 3);

    _behavior->SetStateNext(4);
    _behavior->SetStateNext(5);
    EXPECT_EQ(_behavior->GetState(), 3) << "readers see the old state until the next update";
    _behavior->Update(0.0f);
    EXPECT_EQ(_behavior->GetState(), 5) << "the last write wins";

    json j;
    _behavior->Write(j);
    EXPECT_EQ(j, json::parse(R"({"state": 5, "statenext": 5})"));

    RecordingBehavior blank;
    blank.Read(json::object());
    blank.Update(0.0f);
    EXPECT_EQ(blank.GetState(), 0);
}

TEST_F(BehaviorTest, StartRunsOnTheFirstUpdateOnly)
{
    _behavior->Update(0.0f);
    _behavior->Update(0.0f);
    EXPECT_EQ(_behavior->_starts, 1);

    // A copy belongs to a new entity and starts again.
    auto copy = _behavior->Clone();
    static_cast<RecordingBehavior&>(*copy).Update(0.0f);
    EXPECT_EQ(static_cast<RecordingBehavior&>(*copy)._starts, 2);
}

TEST_F(BehaviorTest, ToggleInspectingRunsStartAgainOnTheFollowingUpdate)
{
    Behavior::ToggleInspecting();
    _behavior->Update(0.0f);
    EXPECT_EQ(_behavior->_starts, 1) << "the update that ran Start does not look for the message";
    ASSERT_NE(MessageSystem::Instance().Get(Behavior::kToggleInspecting), nullptr);

    _behavior->Update(0.0f);
    EXPECT_EQ(_behavior->_starts, 1) << "seen now, acted on at the next update";
    _behavior->Update(0.0f);
    EXPECT_EQ(_behavior->_starts, 2);
    EXPECT_NE(test::ReadTrace().find("Reset Updated Tracker"), std::string::npos);

    // The message is taken down at the end of the frame it was read in.
    MessageSystem::Instance().Update(0.0f);
    EXPECT_EQ(MessageSystem::Instance().Get(Behavior::kToggleInspecting), nullptr);
    _behavior->Update(0.0f);
    _behavior->Update(0.0f);
    EXPECT_EQ(_behavior->_starts, 2);
}
