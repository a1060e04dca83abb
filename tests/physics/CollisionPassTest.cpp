#include "TestSupport.h"
#include "physics/Bodies.h"

#include "data/EntityList.h"
#include "physics/CollisionPass.h"
#include "physics/LineBuffer.h"

#include <algorithm>

using test::Ball;

namespace
{
const CollisionWorld kWorld{{0.0f, 0.0f}, {400.0f, 400.0f}, nullptr};
constexpr test::BodyOptions kSoft{.rigid = false};

bool Touched(const std::string& a, const std::string& b)
{
    const auto& calls = Calls().calls;
    return std::find(calls.begin(), calls.end(), a + ":collision:" + b) != calls.end();
}

} // namespace

class CollisionPassTest : public test::ScratchTest
{
protected:
    void AddPair(const std::string& a, const glm::vec2& at, const std::string& b, const glm::vec2& bt)
    {
        _list.Add(Ball(a, at, 10.0f, kSoft));
        _list.Add(Ball(b, bt, 10.0f, kSoft));
    }

    EntityList _list{false};
    CollisionPass _pass;
};

TEST_F(CollisionPassTest, NeighbourRegionsAndBodiesBeyondTheBounds)
{
    // Region size 100: four columns and rows.
    AddPair("upLeft", {95.0f, 105.0f}, "downRight", {105.0f, 95.0f});
    AddPair("low", {295.0f, 295.0f}, "high", {305.0f, 305.0f});
    AddPair("farLeft", {-500.0f, -90.0f}, "nearLeft", {-490.0f, -90.0f});
    AddPair("farRight", {4000.0f, 5000.0f}, "nearRight", {4010.0f, 5000.0f});
    _list.Add(Ball("gone", {-495.0f, -90.0f}, 10.0f, kSoft))->Destroy();
    _pass.Run(_list, kWorld, 100.0f);
    EXPECT_EQ(_pass.Columns(), 4);
    EXPECT_EQ(_pass.Rows(), 4);

    EXPECT_FALSE(Touched("upLeft", "downRight")) << "(c + 1, r - 1) is never tested";
    EXPECT_TRUE(Touched("low", "high")) << "(c + 1, r + 1) is";
    EXPECT_TRUE(Touched("high", "low"));
    EXPECT_TRUE(Touched("farLeft", "nearLeft")) << "clamped into region (0, 0)";
    EXPECT_TRUE(Touched("farRight", "nearRight")) << "clamped into region (3, 3)";
    EXPECT_FALSE(Touched("farLeft", "gone")) << "destroyed entities are left out";
}

TEST_F(CollisionPassTest, RegionSizesThatDoNotFitAreReportedOnceAndNeverFail)
{
    AddPair("a", {10.0f, 10.0f}, "b", {15.0f, 10.0f});
    _list.Add(Ball("far", {390.0f, 390.0f}, 10.0f, kSoft));

    const CollisionWorld narrow{{0.0f, 0.0f}, {400.0f, 50.0f}, nullptr};
    _pass.Run(_list, narrow, 100.0f);
    _pass.Run(_list, narrow, 100.0f);
    EXPECT_TRUE(Calls().calls.empty()) << "a scene smaller than one region tests nothing";

    _pass.Run(_list, kWorld, 0.0f);
    _pass.Run(_list, kWorld, -5.0f);
    EXPECT_EQ(_pass.Columns(), 1) << "no usable size: the whole scene is one region";
    EXPECT_EQ(_pass.PairTests(), 3u);
    EXPECT_TRUE(Touched("a", "b"));

    const std::string trace = test::ReadTrace();
    for (const std::string line : {"is smaller than one collision region", "is not positive"})
        EXPECT_EQ(trace.find(line), trace.rfind(line)) << line;

    // A tiny size is capped rather than asking for billions of regions.
    _pass.Run(_list, {{0.0f, 0.0f}, {1.0e6f, 1.0e6f}, nullptr}, 0.01f);
    EXPECT_LE(static_cast<double>(_pass.Columns()) * _pass.Rows(), 1048576.0);
}

TEST_F(CollisionPassTest, RigidBodiesMeetTheSceneWallsAndListsRunThePassAfterTheirUpdates)
{
    LineBuffer walls;
    walls._lines = {{{200.0f, 0.0f}, {200.0f, 400.0f}}};
    Entity* ball = _list.Add(Ball("ball", {250.0f, 100.0f}, 10.0f, {.velocity = {600.0f, 0.0f}}));
    test::PhysicsOf(*ball).SetOldPosition({150.0f, 100.0f});
    _pass.Run(_list, {{0.0f, 0.0f}, {400.0f, 400.0f}, &walls}, 100.0f);
    EXPECT_LT(ball->GetTransform().GetTranslation().x, 190.0f);
    EXPECT_TRUE(Touched("ball", "wall"));

    EntityList scene(true);
    auto a = Ball("a", {50.0f, 50.0f}, 10.0f, kSoft);
    a->AddComponent(std::make_unique<ProbeSprite>());
    scene.AddUninitialised(std::move(a));
    scene.AddUninitialised(Ball("b", {55.0f, 50.0f}, 10.0f, kSoft));
    scene.InitAll();
    scene.Update(0.0f);
    EXPECT_FALSE(Touched("a", "b")) << "no pass handed in: no collisions";

    Calls().Clear();
    scene.Update(0.0f, [this](EntityList& list) { _pass.Run(list, kWorld, 100.0f); });
    EXPECT_EQ(Calls().calls, (std::vector<std::string>{"a:0:update", "a:collision:b", "b:collision:a"}));
}
