#include "TestSupport.h"
#include "physics/Bodies.h"

#include "behaviors/bt/BehaviorTree.h"
#include "behaviors/bt/Sightline.h"
#include "core/StdRandom.h"
#include "physics/Collider.h"
#include "physics/Physics.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <cstdlib>

namespace
{
std::unique_ptr<Entity> At(const std::string& name, const glm::vec2& position)
{
    auto e = std::make_unique<Entity>(name);
    e->GetTransform().SetTranslation(position);
    return e;
}
} // namespace

// A monster at the origin in the current scene, ticking one leaf at a time.
class LeafFunctionsTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        test::WriteFile("Data/Level/arena.json", "{}");
        SceneSystem::Instance().ChangeScene("arena", false);
        ASSERT_TRUE(SceneSystem::Instance().Init());
        _scene = SceneSystem::Instance().GetCurrentScene();
        ASSERT_NE(_scene, nullptr);
        _monster = Add(At("monster", {0.0f, 0.0f}));
        _tree.Bind(nullptr, _monster);
    }

    Entity* Add(std::unique_ptr<Entity> entity)
    {
        Entity* added = _scene->AddEntity(std::move(entity));
        _scene->GetEntities().InitAll();
        return added;
    }

    BTNode::Status Tick(unsigned function, unsigned rE, unsigned wE, const std::string& ext = {})
    {
        _tree.Root(0).SetLeaf(function, rE, wE, ext);
        return _tree.Tick(0);
    }

    Blackboard& Board() { return _tree.GetBlackboard(); }

    Scene* _scene = nullptr;
    Entity* _monster = nullptr;
    BehaviorTree _tree;
};

TEST_F(LeafFunctionsTest, EntityQueriesLookTheNameUpInTheCurrentSceneOnEveryTick)
{
    Entity* player = Add(At("player", {30.0f, 40.0f}));
    Board().ResetVec2(1);
    Board().ResetFloat(2);

    EXPECT_EQ(Tick(leaf::kPositionOfEntity, 0, 1, "player"), BTNode::Ignore);
    EXPECT_EQ(Board().GetVec2(1), glm::vec2(30.0f, 40.0f));
    EXPECT_EQ(Tick(leaf::kDistanceToEntity, 0, 2, "player"), BTNode::Ignore);
    EXPECT_FLOAT_EQ(Board().GetFloat(2), 50.0f);

    player->GetTransform().SetTranslation({-6.0f, 8.0f});
    EXPECT_EQ(Tick(leaf::kPositionOfEntity, 0, 1, "player"), BTNode::Ignore);
    EXPECT_EQ(Board().GetVec2(1), glm::vec2(-6.0f, 8.0f));
    EXPECT_EQ(Tick(leaf::kDistanceToEntity, 0, 2, "player"), BTNode::Ignore);
    EXPECT_FLOAT_EQ(Board().GetFloat(2), 10.0f);

    player->Destroy();
    _scene->Update(0.0f);
    EXPECT_EQ(Tick(leaf::kPositionOfEntity, 0, 1, "player"), BTNode::Error) << "a deleted entity is not found";
    EXPECT_EQ(Tick(leaf::kDistanceToEntity, 0, 2, "player"), BTNode::Error);
    EXPECT_EQ(Board().GetVec2(1), glm::vec2(-6.0f, 8.0f)) << "a failed query writes nothing";
    EXPECT_FLOAT_EQ(Board().GetFloat(2), 10.0f);
}

TEST_F(LeafFunctionsTest, DistanceCopyAndComparisonsReadAndWriteTheirKeys)
{
    _monster->GetTransform().SetTranslation({1.0f, 1.0f});
    Board().ResetVec2(0);
    Board().GetVec2(0) = {4.0f, 5.0f};
    Board().ResetVec2(1);
    Board().ResetFloat(2);
    EXPECT_EQ(Tick(leaf::kDistanceTo, 0, 2), BTNode::Ignore);
    EXPECT_FLOAT_EQ(Board().GetFloat(2), 5.0f);

    _tree.Root(0).SetVec2CopyLeaf(0, 1);
    EXPECT_EQ(_tree.Tick(0), BTNode::Ignore);
    EXPECT_EQ(Board().GetVec2(1), glm::vec2(4.0f, 5.0f));
    EXPECT_THROW(Tick(leaf::kCopy, 0, 1), std::bad_cast) << "the float table copies floats";

    Board().ResetFloat(3);
    Board().GetFloat(3) = 5.0f;
    EXPECT_EQ(Tick(leaf::kIsEqual, 2, 3), BTNode::Success);
    EXPECT_EQ(Tick(leaf::kIsGreater, 2, 3), BTNode::Failure);
    Board().GetFloat(3) = 5.5f;
    EXPECT_EQ(Tick(leaf::kIsEqual, 2, 3), BTNode::Failure);
    EXPECT_EQ(Tick(leaf::kIsGreater, 2, 3), BTNode::Success) << "float[wE] > float[rE]";
    EXPECT_EQ(Tick(leaf::kIsGreater, 3, 2), BTNode::Failure);
    EXPECT_EQ(Tick(leaf::kCopy, 3, 2), BTNode::Ignore);
    EXPECT_FLOAT_EQ(Board().GetFloat(2), 5.5f);

    EXPECT_EQ(Tick(leaf::kCustom, 0, 0), BTNode::Error) << "the placeholder row";
    EXPECT_EQ(Tick(leaf::kDefaultNothing, 0, 0), BTNode::Ignore);
}

TEST_F(LeafFunctionsTest, CloseEnoughIsStrictlyInsideTheRadius)
{
    Board().ResetFloat(0);
    Board().ResetVec2(1);
    Board().GetVec2(1) = {3.0f, 4.0f};
    Board().GetFloat(0) = 5.0f;
    EXPECT_EQ(Tick(leaf::kCloseEnoughTo, 0, 1), BTNode::Failure) << "a radius equal to the distance";
    Board().GetFloat(0) = 5.001f;
    EXPECT_EQ(Tick(leaf::kCloseEnoughTo, 0, 1), BTNode::Success);
    Board().GetFloat(0) = 4.999f;
    EXPECT_EQ(Tick(leaf::kCloseEnoughTo, 0, 1), BTNode::Failure);
}

TEST_F(LeafFunctionsTest, RandomPositionDrawsYFirstWithinTheArea)
{
    Board().ResetVec2(0);
    Board().GetVec2(0) = {200.0f, 100.0f};
    Board().ResetVec2(1);
    std::srand(42);
    const float first = StdRandom::Unit();
    const float second = StdRandom::Unit();
    std::srand(42);
    EXPECT_EQ(Tick(leaf::kRandomPos, 0, 1), BTNode::Ignore);
    EXPECT_FLOAT_EQ(Board().GetVec2(1).y, first * 100.0f - 50.0f);
    EXPECT_FLOAT_EQ(Board().GetVec2(1).x, second * 200.0f - 100.0f);

    for (int i = 0; i < 200; ++i)
    {
        Tick(leaf::kRandomPos, 0, 1);
        const glm::vec2 p = Board().GetVec2(1);
        ASSERT_TRUE(p.x >= -100.0f && p.x < 100.0f && p.y >= -50.0f && p.y < 50.0f) << p.x << ", " << p.y;
    }
}

TEST_F(LeafFunctionsTest, ActionsSteerThePhysicsAndSetTheOwnersNextState)
{
    auto* physics = static_cast<Physics*>(_monster->AddComponent(std::make_unique<Physics>()));
    auto* owner = static_cast<RecordingBehavior*>(_monster->AddComponent(std::make_unique<RecordingBehavior>()));
    _tree.Bind(owner, _monster);

    Board().ResetFloat(0);
    Board().GetFloat(0) = 150.0f;
    Board().ResetVec2(1);
    Board().GetVec2(1) = {0.0f, -300.0f};
    EXPECT_EQ(Tick(leaf::kGoTo, 0, 1), BTNode::Running);
    EXPECT_NEAR(physics->GetVelocity().x, 0.0f, 1e-4f);
    EXPECT_NEAR(physics->GetVelocity().y, -150.0f, 1e-4f);

    Board().SetInt(2, 4);
    EXPECT_EQ(Tick(leaf::kSetState, 2, 0), BTNode::Success);
    EXPECT_EQ(owner->GetStateNext(), 4);
    EXPECT_EQ(owner->GetState(), 0) << "the state changes on the owner's next update";

    BehaviorTree unbound;
    unbound.GetBlackboard().SetInt(0, 1);
    unbound.Root(0).SetLeaf(leaf::kSetState, 0, 0);
    EXPECT_EQ(unbound.Tick(0), BTNode::Error) << "no owner to set a state on";
}

TEST_F(LeafFunctionsTest, SightlineIsBlockedByLineWallsOfTheCurrentScene)
{
    Entity* wall = Add(test::Wall({100.0f, -50.0f}, {100.0f, 50.0f}));
    Board().ResetVec2(0);

    // Through the wall, short of it, above its end, grazing its end.
    for (const auto& [target, seen] : {std::pair{glm::vec2(200.0f, 0.0f), BTNode::Failure},
                                       {glm::vec2(90.0f, 0.0f), BTNode::Success},
                                       {glm::vec2(200.0f, 200.0f), BTNode::Success},
                                       {glm::vec2(200.0f, 100.0f), BTNode::Failure}})
    {
        Board().GetVec2(0) = target;
        EXPECT_EQ(Tick(leaf::kDirectSightline, 0, 0), seen) << target.x << ", " << target.y;
    }

    wall->Get<Collider>(ctype::Collider)->SetEnabled(false);
    Board().GetVec2(0) = {200.0f, 0.0f};
    EXPECT_EQ(Tick(leaf::kDirectSightline, 0, 0), BTNode::Success) << "a disabled wall hides nothing";
}

TEST(SightlineTest, SegmentsCrossWhenTheyShareAnyPoint)
{
    using sightline::SegmentsCross;
    EXPECT_TRUE(SegmentsCross({0, 0}, {10, 10}, {0, 10}, {10, 0}));
    EXPECT_FALSE(SegmentsCross({0, 0}, {4, 4}, {0, 10}, {10, 0})) << "stops before the other";
    EXPECT_TRUE(SegmentsCross({0, 0}, {5, 5}, {0, 10}, {10, 0})) << "an end on the other";
    EXPECT_FALSE(SegmentsCross({0, 0}, {10, 0}, {0, 1}, {10, 1})) << "parallel";
    EXPECT_TRUE(SegmentsCross({0, 0}, {10, 0}, {5, 0}, {20, 0})) << "overlapping on one line";
    EXPECT_FALSE(SegmentsCross({0, 0}, {10, 0}, {11, 0}, {20, 0})) << "on one line, apart";
    EXPECT_TRUE(SegmentsCross({3, 3}, {3, 3}, {0, 0}, {6, 6})) << "a point on the segment";
}
