#include "TestSupport.h"
#include "physics/Bodies.h"

#include "data/EntityList.h"
#include "physics/CollisionPass.h"
#include "physics/LineBuffer.h"

#include <algorithm>

using test::Ball;
using test::BodyOptions;

namespace
{
const CollisionWorld kWorld{{0.0f, 0.0f}, {400.0f, 400.0f}, nullptr};
constexpr BodyOptions kSoft{.rigid = false};

bool Touched(const std::string& a, const std::string& b)
{
    const auto& calls = Calls().calls;
    return std::find(calls.begin(), calls.end(), a + ":collision:" + b) != calls.end();
}

std::size_t Count(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}
} // namespace

class CollisionPassTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        Calls().Clear();
    }

    EntityList _list{false};
    CollisionPass _pass;
};

TEST_F(CollisionPassTest, NeighbourRegionsRightAboveAndAboveRightOnly)
{
    // Region size 100: four columns and rows.
    _list.Add(Ball("upLeft", {95.0f, 105.0f}, 10.0f, kSoft));
    _list.Add(Ball("downRight", {105.0f, 95.0f}, 10.0f, kSoft));
    _list.Add(Ball("low", {295.0f, 295.0f}, 10.0f, kSoft));
    _list.Add(Ball("high", {305.0f, 305.0f}, 10.0f, kSoft));
    _list.Add(Ball("left", {195.0f, 50.0f}, 10.0f, kSoft));
    _list.Add(Ball("right", {205.0f, 50.0f}, 10.0f, kSoft));
    _pass.Run(_list, kWorld, 100.0f);
    EXPECT_EQ(_pass.Columns(), 4);
    EXPECT_EQ(_pass.Rows(), 4);

    EXPECT_FALSE(Touched("upLeft", "downRight")) << "(c + 1, r - 1) is never tested";
    EXPECT_TRUE(Touched("low", "high")) << "(c + 1, r + 1) is";
    EXPECT_TRUE(Touched("left", "right"));
    EXPECT_TRUE(Touched("right", "left"));
}

TEST_F(CollisionPassTest, BodiesOutsideTheBoundsJoinTheEdgeRegions)
{
    _list.Add(Ball("farLeft", {-500.0f, -90.0f}, 10.0f, kSoft));
    _list.Add(Ball("nearLeft", {-490.0f, -90.0f}, 10.0f, kSoft));
    _list.Add(Ball("farRight", {4000.0f, 5000.0f}, 10.0f, kSoft));
    _list.Add(Ball("nearRight", {4010.0f, 5000.0f}, 10.0f, kSoft));
    // Far apart in the world but clamped into region (0, 0): tested, and missed.
    _list.Add(Ball("corner", {50.0f, 50.0f}, 10.0f, kSoft));
    _pass.Run(_list, kWorld, 100.0f);
    EXPECT_TRUE(Touched("farLeft", "nearLeft"));
    EXPECT_TRUE(Touched("farRight", "nearRight"));
    EXPECT_FALSE(Touched("corner", "farLeft"));
    EXPECT_EQ(_pass.PairTests(), 4u) << "three pairs in region (0, 0), one in (3, 3)";
}

TEST_F(CollisionPassTest, DestroyedEntitiesAndUnplacedCollidersAreLeftOut)
{
    _list.Add(Ball("a", {50.0f, 50.0f}, 10.0f, kSoft));
    _list.Add(Ball("b", {55.0f, 50.0f}, 10.0f, kSoft))->Destroy();
    auto unplaced = std::make_unique<Entity>("c");
    unplaced->AddComponent(std::make_unique<Collider>());
    _list.AddUninitialised(std::move(unplaced));
    _pass.Run(_list, kWorld, 100.0f);
    EXPECT_EQ(_pass.PairTests(), 0u);
    EXPECT_TRUE(Calls().calls.empty());
}

TEST_F(CollisionPassTest, ASceneSmallerThanOneRegionTestsNothingAndSaysSoOnce)
{
    const CollisionWorld small{{0.0f, 0.0f}, {400.0f, 50.0f}, nullptr};
    _list.Add(Ball("a", {10.0f, 10.0f}, 10.0f, kSoft));
    _list.Add(Ball("b", {15.0f, 10.0f}, 10.0f, kSoft));
    _pass.Run(_list, small, 100.0f);
    _pass.Run(_list, small, 100.0f);
    EXPECT_TRUE(Calls().calls.empty());
    EXPECT_EQ(_pass.PairTests(), 0u);
    EXPECT_EQ(Count(test::ReadTrace(), "is smaller than one collision region"), 1u);
}

TEST_F(CollisionPassTest, ANonPositiveRegionSizeMakesOneRegionAndSaysSoOnce)
{
    _list.Add(Ball("a", {10.0f, 10.0f}, 10.0f, kSoft));
    _list.Add(Ball("b", {390.0f, 390.0f}, 10.0f, kSoft));
    _list.Add(Ball("c", {395.0f, 390.0f}, 10.0f, kSoft));
    _pass.Run(_list, kWorld, 0.0f);
    _pass.Run(_list, kWorld, -5.0f);
    EXPECT_EQ(_pass.Columns(), 1);
    EXPECT_EQ(_pass.PairTests(), 3u);
    EXPECT_TRUE(Touched("b", "c"));
    EXPECT_EQ(Count(test::ReadTrace(), "is not positive"), 1u);
}

TEST_F(CollisionPassTest, ATinyRegionSizeIsCappedRatherThanExhaustingMemory)
{
    const CollisionWorld huge{{0.0f, 0.0f}, {1.0e6f, 1.0e6f}, nullptr};
    _list.Add(Ball("a", {10.0f, 10.0f}, 10.0f, kSoft));
    _list.Add(Ball("b", {15.0f, 10.0f}, 10.0f, kSoft));
    _pass.Run(_list, huge, 0.01f);
    EXPECT_LE(static_cast<double>(_pass.Columns()) * _pass.Rows(), 1048576.0);
    EXPECT_TRUE(Touched("a", "b"));
}

TEST_F(CollisionPassTest, RigidBodiesAreSweptAgainstTheSceneWalls)
{
    LineBuffer walls;
    walls._lines = {{{200.0f, 0.0f}, {200.0f, 400.0f}}};
    const CollisionWorld walled{{0.0f, 0.0f}, {400.0f, 400.0f}, &walls};
    Entity* ball = _list.Add(Ball("ball", {250.0f, 100.0f}, 10.0f, {.velocity = {600.0f, 0.0f}}));
    test::PhysicsOf(*ball).SetOldPosition({150.0f, 100.0f});
    _pass.Run(_list, walled, 100.0f);
    EXPECT_LT(ball->GetTransform().GetTranslation().x, 190.0f);
    EXPECT_TRUE(Touched("ball", "wall"));
}

namespace
{
bool ProvideWorld(const EntityList&, CollisionWorld& world)
{
    world = kWorld;
    return true;
}
} // namespace

TEST_F(CollisionPassTest, EntityListsRunThePassBetweenUpdatesAndFixedSteps)
{
    EntityList scene(true);
    auto a = Ball("a", {50.0f, 50.0f}, 10.0f, kSoft);
    a->AddComponent(std::make_unique<ProbeSprite>());
    scene.AddUninitialised(std::move(a));
    scene.AddUninitialised(Ball("b", {55.0f, 50.0f}, 10.0f, kSoft));
    scene.InitAll();

    scene.Update(0.0f);
    EXPECT_FALSE(Touched("a", "b")) << "no scene named yet: no pass";

    CollisionPass::SetWorldProvider(&ProvideWorld);
    Calls().Clear();
    scene.Update(0.0f);
    EXPECT_EQ(Calls().calls, (std::vector<std::string>{"a:0:update", "a:collision:b", "b:collision:a"}));
}
