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

TEST_F(GroupSystemTest, GroupsAreKeyedByNameAndScene)
{
    Group* lamps = groups.Create("lamps", level1);
    EXPECT_EQ(groups.Find("lamps", level1), lamps);
    EXPECT_EQ(groups.Find("lamps", level2), nullptr);
    Group* other = groups.Create("lamps", level2);
    EXPECT_EQ(groups.Find("lamps", level2), other);
    EXPECT_EQ(groups.GetAll(), (std::vector<Group*>{lamps, other}));
}

TEST_F(GroupSystemTest, AddRecordsThePositionAtJoiningAndNamesTheEntity)
{
    Group* g = groups.Create("spawns", level1);
    Entity e("spawn");
    e.GetTransform().SetTranslation({4, 5});
    groups.Add(*g, e);
    e.GetTransform().SetTranslation({9, 9});
    ASSERT_EQ(g->_records.size(), 1u);
    EXPECT_EQ(g->_records[0]._position, glm::vec2(4, 5));
    EXPECT_EQ(g->_members[0].Get(), &e);
    EXPECT_EQ(e.GetGroupName(), "spawns");
}

TEST_F(GroupSystemTest, ADeletedMemberLeavesItsGroup)
{
    Group* g = groups.Create("lamps", level1);
    Entity kept("kept");
    auto gone = std::make_unique<Entity>("gone");
    groups.Add(*g, *gone);
    groups.Add(*g, kept);
    gone.reset();
    ASSERT_EQ(groups.Find("lamps", level1), g);
    ASSERT_EQ(g->_members.size(), 1u);
    EXPECT_EQ(g->_members[0].Get(), &kept);
    ASSERT_EQ(g->_records.size(), 1u);
    EXPECT_EQ(g->_records[0]._entity.Get(), &kept);
}

TEST_F(GroupSystemTest, ClearedGroupsMatchNoFindButStayRegistered)
{
    Group* g = groups.Create("spawns", level1);
    Entity e;
    groups.Add(*g, e);
    groups.Clear(*g);
    EXPECT_TRUE(g->_members.empty());
    EXPECT_TRUE(g->_records.empty());
    EXPECT_EQ(groups.Find("spawns", level1), nullptr);
    EXPECT_EQ(groups.GetAll().size(), 1u);
}

TEST_F(GroupSystemTest, HundredGroupsFitAndTheNextStopsTheProgram)
{
    for (int i = 0; i < 100; ++i)
        groups.Create("g" + std::to_string(i), level1);
    EXPECT_DEATH(groups.Create("one too many", level1),
                 "controller container overflow: controller count cannot exceed 100");
}
