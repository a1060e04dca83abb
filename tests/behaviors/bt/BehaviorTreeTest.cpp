#include "TestSupport.h"

#include "behaviors/bt/BTBranch.h"
#include "behaviors/bt/BTLeaf.h"
#include "behaviors/bt/BehaviorTree.h"

#include <functional>
#include <memory>
#include <vector>

namespace
{
using Status = BTNode::Status;

// A leaf that counts its ticks and answers a fixed result.
LeafFunction Answer(Status result, int& ticks)
{
    return [result, &ticks](Blackboard&, unsigned, unsigned, const std::string&)
    {
        ++ticks;
        return result;
    };
}

struct Outcome
{
    Status result;
    std::vector<int> ticks;
};

// Root 0 holds a branch of the kind over leaves answering the given results.
Outcome TickBranch(BTNode::Kind kind, const std::vector<Status>& results)
{
    Outcome outcome{BTNode::Error, std::vector<int>(results.size(), 0)};
    BehaviorTree tree;
    const BTAccessor branch = tree.Root(0).SetBranch(kind);
    for (unsigned i = 0; i < results.size(); ++i)
        branch.Child(i).SetLeaf(Answer(results[i], outcome.ticks[i]), 0, 0);
    outcome.result = tree.Tick(0);
    return outcome;
}

using Ticks = std::vector<int>;
} // namespace

TEST(BehaviorTreeTest, EmptyCompositesChildlessDecoratorsAndEmptySlotsGiveTheirFixedResults)
{
    EXPECT_EQ(TickBranch(BTNode::Sequence, {}).result, BTNode::Success);
    EXPECT_EQ(TickBranch(BTNode::Fallback, {}).result, BTNode::Failure);
    EXPECT_EQ(TickBranch(BTNode::Parallel, {}).result, BTNode::Failure);
    EXPECT_EQ(TickBranch(BTNode::Decorator, {}).result, BTNode::Error);
    EXPECT_EQ(TickBranch(BTNode::Decorator_Invert, {}).result, BTNode::Error);
    EXPECT_EQ(TickBranch(BTNode::Decorator_Repeat, {}).result, BTNode::Error);

    // An empty slot among the children has nothing to run.
    int ticks = 0;
    BehaviorTree tree;
    tree.Root(0).SetBranch(BTNode::Sequence).Child(1).SetLeaf(Answer(BTNode::Success, ticks), 0, 0);
    EXPECT_EQ(tree.Tick(0), BTNode::Error);
    EXPECT_EQ(ticks, 0);
}

TEST(BehaviorTreeTest, SequencePassesOverIgnoreAndStopsAtTheFirstResultBelowSuccess)
{
    Outcome o = TickBranch(BTNode::Sequence, {BTNode::Ignore, BTNode::Success, BTNode::Ignore});
    EXPECT_EQ(o.result, BTNode::Success);
    EXPECT_EQ(o.ticks, (Ticks{1, 1, 1}));

    for (Status stop : {BTNode::Failure, BTNode::Running, BTNode::Error})
    {
        o = TickBranch(BTNode::Sequence, {BTNode::Success, stop, BTNode::Success});
        EXPECT_EQ(o.result, stop);
        EXPECT_EQ(o.ticks, (Ticks{1, 1, 0})) << "stopped at " << stop;
    }
}

TEST(BehaviorTreeTest, FallbackPassesOverFailureAndIgnoreAndStopsAtAnythingElse)
{
    EXPECT_EQ(TickBranch(BTNode::Fallback, {BTNode::Ignore, BTNode::Failure}).result, BTNode::Failure);

    Outcome o = TickBranch(BTNode::Fallback, {BTNode::Failure, BTNode::Running, BTNode::Success});
    EXPECT_EQ(o.result, BTNode::Running);
    EXPECT_EQ(o.ticks, (Ticks{1, 1, 0}));

    o = TickBranch(BTNode::Fallback, {BTNode::Ignore, BTNode::Error, BTNode::Success});
    EXPECT_EQ(o.result, BTNode::Error);
    EXPECT_EQ(o.ticks, (Ticks{1, 1, 0}));
    EXPECT_EQ(TickBranch(BTNode::Fallback, {BTNode::Failure, BTNode::Success}).result, BTNode::Success);
}

TEST(BehaviorTreeTest, ParallelTicksEveryChildUnlessOneErrs)
{
    Outcome o = TickBranch(BTNode::Parallel, {BTNode::Success, BTNode::Running});
    EXPECT_EQ(o.result, BTNode::Running);
    EXPECT_EQ(TickBranch(BTNode::Parallel, {BTNode::Running, BTNode::Success}).result, BTNode::Running)
        << "Running wins whatever its place";
    EXPECT_EQ(TickBranch(BTNode::Parallel, {BTNode::Failure, BTNode::Ignore}).result, BTNode::Failure);

    o = TickBranch(BTNode::Parallel, {BTNode::Failure, BTNode::Success, BTNode::Ignore});
    EXPECT_EQ(o.result, BTNode::Success);
    EXPECT_EQ(o.ticks, (Ticks{1, 1, 1}));

    o = TickBranch(BTNode::Parallel, {BTNode::Error, BTNode::Success});
    EXPECT_EQ(o.result, BTNode::Error);
    EXPECT_EQ(o.ticks, (Ticks{1, 0})) << "the child after an Error is not ticked";

    o = TickBranch(BTNode::Parallel, {BTNode::Running, BTNode::Error, BTNode::Success});
    EXPECT_EQ(o.result, BTNode::Error) << "an Error overrides the Running seen before it";
    EXPECT_EQ(o.ticks, (Ticks{1, 1, 0}));
}

TEST(BehaviorTreeTest, DecoratorsPassInvertAndRepeatTheirChild)
{
    for (Status s : {BTNode::Error, BTNode::Running, BTNode::Failure, BTNode::Success, BTNode::Ignore})
        EXPECT_EQ(TickBranch(BTNode::Decorator, {s}).result, s);

    EXPECT_EQ(TickBranch(BTNode::Decorator_Invert, {BTNode::Failure}).result, BTNode::Success);
    EXPECT_EQ(TickBranch(BTNode::Decorator_Invert, {BTNode::Success}).result, BTNode::Failure);
    EXPECT_EQ(TickBranch(BTNode::Decorator_Invert, {BTNode::Running}).result, BTNode::Running);
    EXPECT_EQ(TickBranch(BTNode::Decorator_Invert, {BTNode::Ignore}).result, BTNode::Ignore);
    EXPECT_EQ(TickBranch(BTNode::Decorator_Invert, {BTNode::Error}).result, BTNode::Error);

    // Fails twice, then succeeds: all within one tick.
    int ticks = 0;
    BehaviorTree tree;
    tree.Root(0)
        .SetBranch(BTNode::Decorator_Repeat)
        .Child(0)
        .SetLeaf([&ticks](Blackboard&, unsigned, unsigned, const std::string&)
                 { return ++ticks < 3 ? (ticks == 1 ? BTNode::Failure : BTNode::Ignore) : BTNode::Success; },
                 0, 0);
    EXPECT_EQ(tree.Tick(0), BTNode::Success);
    EXPECT_EQ(ticks, 3);

    Outcome o = TickBranch(BTNode::Decorator_Repeat, {BTNode::Running});
    EXPECT_EQ(o.result, BTNode::Running);
    EXPECT_EQ(o.ticks, (Ticks{1}));

    for (Status endless : {BTNode::Failure, BTNode::Ignore})
    {
        o = TickBranch(BTNode::Decorator_Repeat, {endless});
        EXPECT_EQ(o.result, BTNode::Failure) << "a child that never stops failing gives up, not hangs";
        EXPECT_EQ(o.ticks, (Ticks{BTBranch::kMaxRepeats}));
    }
}

TEST(BehaviorTreeTest, ANewTreeHasOneRootAndRootThreeAddsEmptySlotsAndADecoratedFallback)
{
    BehaviorTree tree;
    ASSERT_EQ(tree.Roots().size(), 1u);
    EXPECT_EQ(tree.Tick(0), BTNode::Success) << "a Decorator over an empty Sequence";
    EXPECT_EQ(tree.DebugText(0), "Decorator\n  Sequence\n");

    const BTAccessor third = tree.Root(3);
    ASSERT_EQ(tree.Roots().size(), 4u);
    EXPECT_EQ(tree.Roots()[1], nullptr);
    EXPECT_EQ(tree.Roots()[2], nullptr);
    auto* root = dynamic_cast<BTBranch*>(tree.Roots()[3].get());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetKind(), BTNode::Decorator);
    ASSERT_EQ(root->Children().size(), 1u);
    auto* fallback = dynamic_cast<BTBranch*>(root->Children()[0].get());
    ASSERT_NE(fallback, nullptr);
    EXPECT_EQ(fallback->GetKind(), BTNode::Fallback);
    EXPECT_EQ(fallback->GetBlackboard(), &tree.GetBlackboard());

    EXPECT_TRUE(third.IsSelf());
    EXPECT_EQ(third.GetNode(), fallback);
    EXPECT_EQ(third.GetParent(), root);
    EXPECT_EQ(third.GetIndexInParent(), 0u);

    EXPECT_EQ(tree.Tick(1), BTNode::Error) << "an empty root has nothing to run";
    EXPECT_EQ(tree.Tick(3), BTNode::Failure);
    EXPECT_EQ(tree.Tick(9), BTNode::Error);
    EXPECT_EQ(tree.Root(3).GetNode(), fallback) << "an existing root is kept";
    EXPECT_EQ(tree.DebugText(0), "Decorator\n  Sequence\n") << "root 0 untouched";
}

TEST(BehaviorTreeTest, AccessorsWalkSlotsReplaceNodesAndLeaveLeavesAlone)
{
    BehaviorTree tree;
    const BTAccessor top = tree.Root(0);
    auto* fallback = static_cast<BTBranch*>(top.GetNode());

    // Slot 2 of the fallback, then slot 1 of whatever comes to fill it.
    const BTAccessor slot = top.Child(2);
    EXPECT_EQ(slot.Get(), nullptr);
    EXPECT_FALSE(slot.Child(1).IsValid()) << "an empty slot has no slots below it";
    EXPECT_EQ(fallback->Children().size(), 3u) << "walking into a slot grows the children";

    const BTAccessor sequence = slot.SetBranch(BTNode::Sequence);
    EXPECT_EQ(fallback->Children()[2].get(), sequence.GetNode());
    const BTAccessor leaf = slot.Child(1).SetLeaf(leaf::kDefaultNothing, 4, 5);
    auto* seq = static_cast<BTBranch*>(sequence.GetNode());
    ASSERT_EQ(seq->Children().size(), 2u);
    EXPECT_EQ(seq->Children()[0], nullptr);
    EXPECT_EQ(seq->Children()[1].get(), leaf.GetNode());
    EXPECT_EQ(leaf.GetNode()->GetBlackboard(), &tree.GetBlackboard()) << "placed nodes share the tree's blackboard";

    // Leaves have no children: walking on stays on the leaf, placing below it does nothing.
    const BTAccessor onLeaf = leaf.Child(0);
    EXPECT_TRUE(onLeaf.IsSelf());
    EXPECT_EQ(onLeaf.GetNode(), leaf.GetNode());
    const BTAccessor belowLeaf = sequence.Child(1).Child(0);
    EXPECT_EQ(belowLeaf.GetNode(), leaf.GetNode());
    EXPECT_FALSE(belowLeaf.SetBranch(BTNode::Parallel).IsValid());
    EXPECT_EQ(seq->Children()[1].get(), leaf.GetNode());

    // Replacing a node itself destroys its subtree.
    auto token = std::make_shared<int>(0);
    sequence.Child(0).SetLeaf([token](Blackboard&, unsigned, unsigned, const std::string&) { return BTNode::Success; },
                              0, 0);
    EXPECT_EQ(token.use_count(), 2);
    const BTAccessor replaced = sequence.SetBranch(BTNode::Parallel);
    EXPECT_EQ(token.use_count(), 1) << "the old sequence and its leaves are gone";
    EXPECT_EQ(fallback->Children()[2].get(), replaced.GetNode());
    EXPECT_EQ(static_cast<BTBranch*>(replaced.GetNode())->GetKind(), BTNode::Parallel);

    EXPECT_FALSE(BTAccessor().Child(0).IsValid());
    EXPECT_FALSE(BTAccessor().SetBranch(BTNode::Sequence).IsValid());
}

TEST(BehaviorTreeTest, ALeafKindIsNoBranch)
{
    BehaviorTree tree;
    EXPECT_DEATH(tree.Root(0).SetBranch(BTNode::Leaf), "rhs != BTNode::Leaf");
}

TEST(BehaviorTreeTest, TheBlackboardIsTypedAndRefusesMissingOrMismatchedKeys)
{
    Blackboard board;
    EXPECT_THROW(board.GetFloat(1), std::bad_cast);
    board.ResetVec2(1);
    EXPECT_EQ(board.GetVec2(1), glm::vec2(0.0f));
    board.GetVec2(1) = {3.0f, 4.0f};
    EXPECT_EQ(board.GetVec2(1), glm::vec2(3.0f, 4.0f)) << "the getter hands out the stored value";
    EXPECT_THROW(board.GetFloat(1), BlackboardCastError);
    EXPECT_THROW(board.GetInt(1), std::bad_cast);

    board.ResetFloat(1);
    EXPECT_EQ(board.GetFloat(1), 0.0f) << "reset changes the type";
    EXPECT_THROW(board.GetVec2(1), std::bad_cast);
    board.SetInt(2, 7);
    EXPECT_EQ(board.GetInt(2), 7);
    try
    {
        board.GetVec2(2);
        ADD_FAILURE() << "no exception";
    }
    catch (const std::bad_cast& e)
    {
        EXPECT_STREQ(e.what(), "blackboard key 2 does not hold a vec2");
    }

    // A leaf without a function is a programming error too.
    BehaviorTree tree;
    tree.Root(0).SetLeaf(LeafFunction{}, 0, 0);
    EXPECT_THROW(tree.Tick(0), std::bad_function_call);
}

TEST(BehaviorTreeTest, ACopiedTreeHasItsOwnBlackboardAndNodes)
{
    BehaviorTree original;
    original.GetBlackboard().ResetFloat(0);
    original.GetBlackboard().ResetFloat(1);
    original.GetBlackboard().GetFloat(0) = 2.5f;
    const BTAccessor sequence = original.Root(0).SetBranch(BTNode::Sequence);
    sequence.Child(0).SetLeaf(leaf::kCopy, 0, 1);
    original.Root(2).Child(0).SetLeaf(leaf::kIsGreater, 0, 1);

    auto copy = std::make_unique<BehaviorTree>(original);
    ASSERT_EQ(copy->Roots().size(), 3u);
    EXPECT_EQ(copy->Roots()[1], nullptr);
    EXPECT_EQ(copy->DebugText(0), original.DebugText(0));
    EXPECT_EQ(copy->DebugText(2), original.DebugText(2));
    EXPECT_EQ(copy->GetBlackboard().GetFloat(0), 2.5f) << "entries are copied";

    copy->GetBlackboard().GetFloat(0) = 9.0f;
    EXPECT_EQ(copy->Tick(0), BTNode::Success);
    EXPECT_EQ(copy->GetBlackboard().GetFloat(1), 9.0f);
    EXPECT_EQ(original.GetBlackboard().GetFloat(1), 0.0f) << "the copy's leaves write the copy's blackboard";
    EXPECT_NE(copy->Roots()[0].get(), original.Roots()[0].get());

    copy.reset();
    EXPECT_EQ(original.Tick(0), BTNode::Success) << "the original survives its copy";
    EXPECT_EQ(original.GetBlackboard().GetFloat(1), 2.5f);

    BehaviorTree assigned;
    assigned = original;
    EXPECT_EQ(assigned.DebugText(2), original.DebugText(2));
    EXPECT_EQ(assigned.Tick(2), BTNode::Failure) << "2.5 is not greater than 2.5";
}

TEST(BehaviorTreeTest, DebugTextIndentsBranchesAndNamesEachLeafsFunction)
{
    BehaviorTree tree;
    const BTAccessor sequence = tree.Root(0).SetBranch(BTNode::Sequence);
    sequence.Child(0).SetLeaf(leaf::kCloseEnoughTo, 1, 2);
    const BTAccessor invert = sequence.Child(1).SetBranch(BTNode::Decorator_Invert);
    invert.Child(0).SetLeaf(leaf::kPositionOfEntity, 0, 3, "player");
    sequence.Child(2).SetVec2CopyLeaf(4, 5);
    sequence.Child(3).SetLeaf([](Blackboard&, unsigned, unsigned, const std::string&) { return BTNode::Success; }, 6,
                              7);

    EXPECT_EQ(tree.DebugText(0), "Decorator\n"
                                 "  Sequence\n"
                                 "    >> F[c_close_enough_to]\n"
                                 "       rE[1]\n"
                                 "       wE[2]\n"
                                 "    Decorator_Invert\n"
                                 "      >> F[q_position_of_entity]\n"
                                 "         rE[0]\n"
                                 "         wE[3], Ext[&s]\n"
                                 "    >> F[q_copy]\n"
                                 "       rE[4]\n"
                                 "       wE[5]\n"
                                 "    >> F[custom]\n"
                                 "       rE[6]\n"
                                 "       wE[7]\n");
    EXPECT_EQ(tree.DebugText(1), "");
}
