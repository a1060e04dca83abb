#include "TestSupport.h"

#include "data/Entity.h"
#include "physics/Status.h"

using StatusTest = test::ScratchTest;

TEST_F(StatusTest, MasksAreReadAsNumbersAndGateSpeedAndReceiving)
{
    auto e = Entity::FromJson(json::parse(R"({"components": {"status": {
        "tempmask": 3.0, "permmask": "all", "temporary": 65537, "permanent": -1}}})"),
                              "Data/Entity/glue.json");
    ASSERT_NE(e, nullptr) << "one bad key does not drop the entity";
    const Status* s = e->Get<Status>(ctype::Status);
    EXPECT_EQ(s->_tempMask, 3);
    EXPECT_EQ(s->_permMask, 0);
    EXPECT_EQ(s->_temporary, 1) << "wrapped to 16 bits";
    EXPECT_EQ(s->_permanent, 0xFFFF);
    EXPECT_NE(test::ReadTrace().find(
                  "Data/Entity/glue.json: /components/status/permmask: type must be number, but is string"),
              std::string::npos);

    Status held;
    held._permMask = StatusBit(StatusFlag::Sticky) | StatusBit(StatusFlag::Ignite);
    held._permanent = held._permMask;
    EXPECT_FLOAT_EQ(held.SpeedMultiplier(), 0.4f);

    Status trap;
    trap._permanent = StatusBit(StatusFlag::Slice) | StatusBit(StatusFlag::Ignite);
    Status monster;
    monster._temporary = StatusBit(StatusFlag::Slice);
    EXPECT_EQ(monster.SpeedMultiplier(), 1.0f) << "Slice held without the mask does not slow";
    monster._tempMask = StatusBit(StatusFlag::Slice);
    monster._temporary = 0;
    EXPECT_EQ(monster.Receive(trap), StatusBit(StatusFlag::Slice));
    EXPECT_FLOAT_EQ(monster.SpeedMultiplier(), 0.0001f);
    EXPECT_EQ(monster._permanent, 0) << "a permanent mask of 0 keeps nothing";
    EXPECT_EQ(monster.Receive(trap), 0) << "nothing new the second time";
    monster.Update(1.0f / 60.0f);
    EXPECT_EQ(monster._temporary, 0) << "temporary flags last one frame";
}
