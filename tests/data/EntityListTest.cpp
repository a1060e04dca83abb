#include "Probes.h"
#include "TestSupport.h"

#include "data/Archetypes.h"
#include "data/EntityList.h"

namespace
{
std::unique_ptr<Entity> MakeProbe(const std::string& name, float y = 0.0f, int depth = 5)
{
    auto e = std::make_unique<Entity>(name);
    e->AddComponent(std::make_unique<ProbeSprite>());
    e->GetTransform().SetTranslation({0.0f, y});
    e->GetTransform().SetDepth(depth);
    return e;
}

EntityList* g_list = nullptr;

void DestroyB(ProbeSprite&)
{
    if (Entity* b = g_list->FindByName("b"))
        b->Destroy();
}
} // namespace

using EntityListTest = test::ScratchTest;

TEST_F(EntityListTest, DestroyedEntitiesGoTheNextPassAndDetachedOnesLeaveUndeleted)
{
    EntityList list(true);
    g_list = &list;
    auto a = MakeProbe("a");
    a->Get<ProbeSprite>(0)->_onUpdate = &DestroyB;
    list.AddUninitialised(std::move(a));
    list.AddUninitialised(MakeProbe("b"));
    list.InitAll();
    Calls().Clear();

    list.Update(0.0f);
    EXPECT_EQ(Calls().calls, (std::vector<std::string>{"a:0:update", "b:0:update"}));
    Calls().Clear();
    list.Update(0.0f);
    EXPECT_EQ(Calls().calls, (std::vector<std::string>{"b:0:exit", "a:0:update"}));
    EXPECT_EQ(list.Entities().size(), 1u);
    g_list = nullptr;

    EntityList carrier(false);
    Entity* e = carrier.Add(MakeProbe("carried"));
    e->Detach();
    Calls().Clear();
    carrier.Update(0.0f);
    EXPECT_TRUE(carrier.Entities().empty());
    EXPECT_TRUE(Calls().calls.empty()) << "neither updated nor exited";
    auto detached = carrier.TakeDetached();
    ASSERT_EQ(detached.size(), 1u);
    EXPECT_EQ(detached[0].get(), e);
    EXPECT_FALSE(e->IsDetached());
}

TEST_F(EntityListTest, ExitAllEndsEveryEntityOnceAndDeletingCallsNone)
{
    {
        EntityList list(true);
        list.AddUninitialised(MakeProbe("level"));
        list.InitAll();
        list.Add(MakeProbe("spawned"));
        Calls().Clear();
        list.ExitAll();
        list.ExitAll();
        EXPECT_EQ(Calls().calls, (std::vector<std::string>{"level:0:exit", "spawned:0:exit"}))
            << "held-back entities end too, and only once";
        Calls().Clear();
    }
    EXPECT_TRUE(Calls().calls.empty()) << "deleting the list ends nothing again";
}

TEST_F(EntityListTest, FixedStepsFollowTheAccumulator)
{
    EntityList list(false);
    Entity* e = list.Add(MakeProbe("p"));
    auto* probe = e->Get<ProbeSprite>(0);

    list.Update(1.0f / 150.0f);
    list.Update(1.0f / 150.0f);
    EXPECT_EQ(probe->_fixedSteps, 0);
    list.Update(1.0f / 150.0f);
    EXPECT_EQ(probe->_fixedSteps, 1) << "steps come from the accumulated time";

    // A one-second frame (the longest there is) runs a second's worth of steps in one update.
    EntityList fresh(false);
    auto* p2 = fresh.Add(MakeProbe("q"))->Get<ProbeSprite>(0);
    fresh.Update(1.0f);
    EXPECT_EQ(p2->_fixedSteps, 60);
    EXPECT_GE(fresh.Accumulator(), 0.0f);
    EXPECT_LT(fresh.Accumulator(), 1e-5f);
    fresh.Update(1.0f);
    EXPECT_EQ(p2->_fixedSteps, 120);
}

TEST_F(EntityListTest, DrawOrderIsDepthThenHigherYFirstAndFindByNameIsExact)
{
    EntityList list(false);
    list.Add(MakeProbe("front_low", 0.0f, 6));
    list.Add(MakeProbe("low", -10.0f, 5));
    list.Add(MakeProbe("high", 10.0f, 5));
    list.Add(MakeProbe("back", 50.0f, 1));
    Calls().Clear();
    list.RenderAll();
    EXPECT_EQ(Calls().calls,
              (std::vector<std::string>{"back:0:render", "high:0:render", "low:0:render", "front_low:0:render"}));
    // The list itself keeps its insertion order.
    EXPECT_EQ(list.Entities()[0]->GetName(), "front_low");

    EntityList named(false);
    named.Add(MakeProbe("Lamp"));
    Entity* second = named.Add(MakeProbe("lamp"));
    named.Add(MakeProbe("lamp"));
    EXPECT_EQ(named.FindByName("lamp"), second);
    EXPECT_EQ(named.FindByName("LAMP"), nullptr);
}

class ArchetypeTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        CopyTestData("corpus");
    }
};

TEST_F(ArchetypeTest, KeptArchetypesAreFoundByFileNameAndCopiedWithoutRereadingTheFile)
{
    auto a = CreateFromArchetype("lamp", true);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetName(), "lamp");
    EXPECT_EQ(a->GetTransform().GetTranslation(), glm::vec2(10, 4));
    EXPECT_EQ(a->Get<ProbeSprite>(0)->_speed, 2.0f);
    EXPECT_EQ(a->Get<ProbePhysics>(5)->_count, 7);

    std::filesystem::remove("Data/Entity/lamp.json");
    auto b = CreateFromArchetype("lamp", true);
    ASSERT_NE(b, nullptr) << "the kept prototype serves later requests";
    EXPECT_NE(b.get(), a.get());
    EXPECT_NE(b->GetComponent(0), a->GetComponent(0));
    EXPECT_EQ(ArchetypeList().Entities().size(), 1u);
    EXPECT_EQ(CreateFromArchetype("nosuchthing", true), nullptr);
    EXPECT_EQ(CreateFromArchetype("", false), nullptr);

    // The store is keyed by file name, whatever the name key says.
    auto first = CreateFromArchetype("unnamed", true);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetName(), "somethingelse");
    std::filesystem::remove("Data/Entity/unnamed.json");
    for (int i = 0; i < 3; ++i)
    {
        auto again = CreateFromArchetype("unnamed", true);
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(again->GetName(), "somethingelse");
    }
    EXPECT_EQ(ArchetypeList().Entities().size(), 2u) << "one per file, not per request";
    EXPECT_NE(CreateFromArchetype("somethingelse", true), nullptr);
}

TEST_F(ArchetypeTest, UnkeptArchetypesAreReadEveryTime)
{
    ASSERT_NE(CreateFromArchetype("lamp", false), nullptr);
    EXPECT_TRUE(ArchetypeList().Entities().empty());
    test::WriteFile("Data/Entity/lamp.json", R"({"name": "lamp", "transform": {"depth": 9}})");
    EXPECT_EQ(CreateFromArchetype("lamp", false)->GetTransform().GetDepth(), 9);
}
