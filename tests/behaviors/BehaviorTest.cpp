#include "RecordingBehavior.h"
#include "TestSupport.h"

#include "core/MessageSystem.h"

class BehaviorTest : public test::ScratchTest
{
protected:
    RecordingBehavior& Add(Entity& e)
    {
        return *static_cast<RecordingBehavior*>(e.AddComponent(std::make_unique<RecordingBehavior>()));
    }
};

TEST_F(BehaviorTest, StateChangesWaitForTheNextUpdateAndStartRunsOnTheFirst)
{
    Entity e;
    RecordingBehavior& b = Add(e);
    b.Read(json::parse(R"({"statenext": 3})"));
    EXPECT_EQ(b.GetState(), 0);
    b.Update(0.0f);
    EXPECT_EQ(b.GetState(), 3);

    b.SetStateNext(4);
    b.SetStateNext(5);
    EXPECT_EQ(b.GetState(), 3) << "readers see the old state until the next update";
    b.Update(0.0f);
    EXPECT_EQ(b.GetState(), 5) << "the last write wins";
    json j;
    b.Write(j);
    EXPECT_EQ(j, json::parse(R"({"state": 5, "statenext": 5})"));

    Entity other;
    RecordingBehavior& starter = Add(other);
    Behavior::ToggleInspecting();
    starter.Update(0.0f);
    EXPECT_EQ(starter._starts, 1) << "the update that ran Start does not look for the message";
    starter.Update(0.0f);
    EXPECT_EQ(starter._starts, 1) << "seen now, acted on at the next update";
    starter.Update(0.0f);
    EXPECT_EQ(starter._starts, 2);
    EXPECT_NE(test::ReadTrace().find("Reset Updated Tracker"), std::string::npos);

    // Consumed, the message is gone after the frame.
    MessageSystem::Instance().Update(0.0f);
    starter.Update(0.0f);
    starter.Update(0.0f);
    EXPECT_EQ(starter._starts, 2);

    // A copy belongs to a new entity and starts again.
    auto copy = starter.Clone();
    copy->Update(0.0f);
    EXPECT_EQ(static_cast<RecordingBehavior&>(*copy)._starts, 3);
}
