#include "TestSupport.h"

#include "data/Entity.h"
#include "data/GroupSystem.h"

class GroupSystemTest : public test::ScratchTest
{
protected:
    GroupSystem& groups = GroupSystem::Instance();
    const Scene* level1 = reinterpret_cast<const Scene*>(0x10);
    const Scene* level2 = reinterpret_cast<const Scene*>(0x20);
};

TEST_F(GroupSystemTest, GroupsAreKeyedByNameAndSceneClearedOnesStayAndAHundredFit)
{
    Group* lamps = groups.Create("lamps", level1);
    EXPECT_EQ(groups.Find("lamps", level1), lamps);
    EXPECT_EQ(groups.Find("lamps", level2), nullptr);
    Group* other = groups.Create("lamps", level2);
    EXPECT_EQ(groups.Find("lamps", level2), other);
    EXPECT_EQ(groups.GetAll(), (std::vector<Group*>{lamps, other}));

    // Joining records the position at that moment and names the entity's group.
    Entity e("spawn");
    e.GetTransform().SetTranslation({4, 5});
    groups.Add(*lamps, e);
    e.GetTransform().SetTranslation({9, 9});
    ASSERT_EQ(lamps->_records.size(), 1u);
    EXPECT_EQ(lamps->_records[0]._position, glm::vec2(4, 5));
    EXPECT_EQ(lamps->_members[0].Get(), &e);
    EXPECT_EQ(e.GetGroupName(), "lamps");

    groups.Clear(*lamps);
    EXPECT_TRUE(lamps->_members.empty());
    EXPECT_TRUE(lamps->_records.empty());
    EXPECT_EQ(groups.Find("lamps", level1), nullptr);
    EXPECT_EQ(groups.GetAll().size(), 2u) << "a cleared group stays registered";

    Group* g = groups.Create("posts", level1);
    Entity kept("kept");
    auto gone = std::make_unique<Entity>("gone");
    groups.Add(*g, *gone);
    groups.Add(*g, kept);
    gone.reset();
    ASSERT_EQ(groups.Find("posts", level1), g);
    ASSERT_EQ(g->_members.size(), 1u);
    EXPECT_EQ(g->_members[0].Get(), &kept);
    ASSERT_EQ(g->_records.size(), 1u);
    EXPECT_EQ(g->_records[0]._entity.Get(), &kept);

    for (std::size_t i = groups.GetAll().size(); i < 100; ++i)
        groups.Create("g" + std::to_string(i), level1);
    EXPECT_DEATH(groups.Create("one too many", level1),
                 "controller container overflow: controller count cannot exceed 100");
}
