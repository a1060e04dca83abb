#include "TestSupport.h"

#include "behaviors/Status.h"
#include "data/Entity.h"

class StatusTest : public test::ScratchTest
{
};

TEST_F(StatusTest, MasksReadAsNumbersAndAStringIsReportedAndSkipped)
{
    auto e = Entity::FromJson(json::parse(R"({"components": {"status": {
        "tempmask": 3.0, "permmask": "all", "temporary": 65537, "permanent": -1}}})"),
                              "Data/Entity/glue.json");
    ASSERT_NE(e, nullptr) << "one bad key does not drop the entity";
    const Status* s = e->Get<Status>(ctype::Status);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->_tempMask, 3);
    EXPECT_EQ(s->_permMask, 0);
    EXPECT_EQ(s->_temporary, 1) << "wrapped to 16 bits";
    EXPECT_EQ(s->_permanent, 0xFFFF);
    EXPECT_NE(test::ReadTrace().find(
                  "Data/Entity/glue.json: /components/status/permmask: type must be number, but is string"),
              std::string::npos);

    json j;
    s->Write(j);
    EXPECT_EQ(j, json::parse(R"({"tempmask": 3, "permmask": 0, "temporary": 1, "permanent": 65535})"));
}

TEST_F(StatusTest, SpeedMultiplierCountsOnlyAcceptedFlags)
{
    Status s;
    EXPECT_EQ(s.SpeedMultiplier(), 1.0f);
    s._permMask = StatusBit(StatusFlag::Sticky) | StatusBit(StatusFlag::Ignite);
    s._permanent = StatusBit(StatusFlag::Sticky) | StatusBit(StatusFlag::Ignite);
    EXPECT_FLOAT_EQ(s.SpeedMultiplier(), 0.4f);

    Status cut;
    cut._temporary = StatusBit(StatusFlag::Slice);
    EXPECT_EQ(cut.SpeedMultiplier(), 1.0f) << "Slice held without the mask does not slow";
    cut._tempMask = StatusBit(StatusFlag::Slice);
    EXPECT_FLOAT_EQ(cut.SpeedMultiplier(), 0.0001f);
    cut.Update(1.0f / 60.0f);
    EXPECT_EQ(cut._temporary, 0) << "temporary flags last one frame";
    EXPECT_EQ(kStatusFlagNames[static_cast<unsigned>(StatusFlag::Impact)], "Impact");
}

TEST_F(StatusTest, ReceivingGoesThroughTheMasks)
{
    Status trap;
    trap._permanent = StatusBit(StatusFlag::Slice) | StatusBit(StatusFlag::Ignite);
    Status monster;
    monster._tempMask = StatusBit(StatusFlag::Slice);
    EXPECT_EQ(monster.Receive(trap), StatusBit(StatusFlag::Slice));
    EXPECT_EQ(monster._temporary, StatusBit(StatusFlag::Slice));
    EXPECT_EQ(monster._permanent, 0) << "a permanent mask of 0 keeps nothing";
    EXPECT_EQ(monster.Receive(trap), 0) << "nothing new the second time";
}
