#include "TestSupport.h"

#include "actions/ActionList.h"
#include "actions/AddAction.h"
#include "actions/CallbackAction.h"
#include "actions/NestedAction.h"
#include "actions/TemplAction.h"
#include "actions/WaitAction.h"

#include <string>
#include <vector>

namespace
{
constexpr float kDt = 0.125f; // exact in binary, so timers land on their ends

// The frames (1-based) on which each named callback ran.
struct RunLog
{
    std::vector<std::string> runs;
    int frame = 0;

    CallbackAction Mark(const std::string& name, float delay, Lanes lanes, bool blocking = false)
    {
        return CallbackAction([this, name](CallbackAction&) { runs.push_back(name + "@" + std::to_string(frame)); },
                              delay, 0.0f, lanes, blocking);
    }

    void Run(ActionList& list, int frames)
    {
        for (int i = 0; i < frames; ++i)
        {
            ++frame;
            list.Update(kDt);
        }
    }
};
} // namespace

class ActionListTest : public test::ScratchTest
{
protected:
    ActionList _list;
    RunLog _log;
};

TEST_F(ActionListTest, ABlockingActionHoldsOnlyItsOwnLanesFromItsDelayUntilItIsGone)
{
    // The wait ends on frame 4 and still holds the lane then; the delay runs 5 and 6.
    _list.Add(WaitAction(0.0f, 0.5f, {1}, true));
    _list.Add(_log.Mark("second", 0.25f, {1}, true));
    // A blocking action still in its delay already holds its lane.
    _list.Add(WaitAction(0.5f, 0.0f, {2}, true));
    _list.Add(_log.Mark("held", 0.0f, {2}));
    _list.Add(_log.Mark("free", 0.0f, {3}));
    // Laneless actions never wait, and a laneless blocking action holds nothing.
    _list.Add(WaitAction(0.0f, 0.5f, {4, 5}, true));
    _list.Add(_log.Mark("lane5", 0.0f, {5}));
    _list.Add(_log.Mark("lane6", 0.0f, {6}));
    _list.Add(_log.Mark("none", 0.0f, {}));
    _list.Add(WaitAction(0.0f, 1.0f, {}, true));
    _list.Add(_log.Mark("after-laneless-wait", 0.0f, {6}));
    _log.Run(_list, 9);
    EXPECT_EQ(_log.runs, (std::vector<std::string>{"free@1", "lane6@1", "none@1", "after-laneless-wait@1", "held@5",
                                                   "lane5@5", "second@6"}));
    EXPECT_TRUE(_list.IsEmpty());
}

TEST_F(ActionListTest, TimeScaleMultipliesIntoNestedListsAndNestedClonesStartOverWithTheirChildren)
{
    float outer = 0.0f;
    float inner = 0.0f;
    _list.SetTimeScale(0.5f);
    _list.Add(TemplAction<float>(outer, 1.0f, 0.0f, 1.0f, {1}));

    NestedAction nested(0.0f, {2});
    nested.GetList().SetTimeScale(0.5f);
    nested.GetList().Add(TemplAction<float>(inner, 1.0f, 0.0f, 1.0f, {1}));
    _list.Add(nested);

    _list.Update(0.5f);
    EXPECT_FLOAT_EQ(outer, 0.25f);
    EXPECT_FLOAT_EQ(inner, 0.125f);

    for (int i = 0; i < 3; ++i)
        _list.Update(0.5f);
    EXPECT_FLOAT_EQ(outer, 1.0f);
    EXPECT_FLOAT_EQ(inner, 0.5f);
    EXPECT_EQ(_list.Count(), 1u) << "the nested action lasts while its list has work";

    _list.SetTimeScale(1.0f);
    float value = 0.0f;
    NestedAction delayed(0.25f, {1}, true);
    delayed.GetList().Add(TemplAction<float>(value, 4.0f, 0.0f, 1.0f, {1}));
    EXPECT_TRUE(delayed.IsValid());

    Action& first = _list.Add(delayed);
    // The frame that ends the delay hands its whole step to the nested list.
    _list.Update(0.75f);
    EXPECT_FLOAT_EQ(value, 3.0f);

    auto again = first.Clone();
    EXPECT_FLOAT_EQ(again->GetTimer(), -0.25f);
    EXPECT_FALSE(again->IsStarted());
    _list.Clear();
    value = 0.0f;
    _list.Add(*again);
    _list.Update(0.5f);
    EXPECT_FLOAT_EQ(value, 2.0f) << "the clone's child starts from the beginning";
}

TEST_F(ActionListTest, ActionsJoinAtTheFrontOrBackAndThoseAddedDuringAnUpdateRunFromTheNext)
{
    _list.Add(_log.Mark("a", 0.0f, {}));
    _list.Add(_log.Mark("b", 0.0f, {}), true);
    _list.Add(_log.Mark("c", 0.0f, {}), true);
    _list.Add(CallbackAction([this](CallbackAction& self) { self.GetOwner()->Add(_log.Mark("late", 0.0f, {})); }, 0.0f,
                             0.0f, {}));
    _log.Run(_list, 1);
    EXPECT_EQ(_log.runs, (std::vector<std::string>{"c@1", "b@1", "a@1"}));
    EXPECT_EQ(_list.Count(), 1u) << "the late action joined at once";
    _log.Run(_list, 1);
    EXPECT_EQ(_log.runs.back(), "late@2");
}

TEST_F(ActionListTest, RemoveLanesTakesRunningAndQueuedActionsThatShareALane)
{
    _list.Add(WaitAction(0.0f, 1.0f, {1, 4}, false));
    _list.Add(WaitAction(0.0f, 1.0f, {2}, false));
    _list.Update(kDt);
    _list.Add(WaitAction(0.0f, 1.0f, {3, 4}, false));
    _list.Add(WaitAction(0.0f, 1.0f, {3}, false));
    _list.RemoveLanes({4});
    EXPECT_EQ(_list.Count(), 2u);
    _list.Clear();
    EXPECT_TRUE(_list.IsEmpty());

    // An action may clear the list that is running it.
    _list.Add(CallbackAction([](CallbackAction& self) { self.GetOwner()->Clear(); }, 0.0f, 1.0f, {1}));
    _list.Add(_log.Mark("cleared before it ran", 0.0f, {2}));
    _log.Run(_list, 2);
    EXPECT_TRUE(_list.IsEmpty());
    EXPECT_TRUE(_log.runs.empty());
}

TEST_F(ActionListTest, AddActionQueuesOnceOrRepeatsUntilTheLaneIsRemovedAndAnInvalidOneIsReported)
{
    int runs = 0;
    int once = 0;
    const CallbackAction held([&runs](CallbackAction&) { ++runs; }, 0.0f, 0.25f, {1}, true);
    _list.Add(AddAction(held, true, 0.0f, {1}));
    _list.Add(AddAction(CallbackAction([&once](CallbackAction&) { ++once; }, 0.0f, 0.0f, {2}), false, 0.0f, {2}));
    _list.Add(AddAction(CallbackAction(nullptr, 0.0f, 0.0f, {3}), false, 0.0f, {3}));

    // Each round: one frame to queue, then the held action's two frames.
    _log.Run(_list, 10);
    EXPECT_EQ(runs, 6);
    EXPECT_EQ(once, 1);
    EXPECT_EQ(_list.Count(), 2u);

    _list.RemoveLanes({1});
    _log.Run(_list, 5);
    EXPECT_EQ(runs, 6);
    EXPECT_TRUE(_list.IsEmpty());
    EXPECT_NE(test::ReadTrace().find("Add Action does not have a valid action to add, removing from list"),
              std::string::npos);
}

// A wait that counts how often it is copied into a new object.
class CountedWait : public ActionBase<CountedWait>
{
public:
    static inline int s_constructed = 0;

    CountedWait(float duration, Lanes lanes) : ActionBase(0.0f, duration, lanes, true) {}
    CountedWait(const CountedWait& other) : ActionBase(other) { ++s_constructed; }
    CountedWait& operator=(const CountedWait&) = default;

    bool Update(float /*dt*/) override { return Done(); }
};

TEST_F(ActionListTest, FinishedActionsComeBackAsFreshClonesSoRepeatingSequencesReuseThem)
{
    Action& first = _list.Add(WaitAction(0.0f, 0.25f, {1}, true));
    _log.Run(_list, 2);
    ASSERT_TRUE(_list.IsEmpty());
    Action& second = _list.Add(WaitAction(0.5f, 0.125f, {2}, false));
    EXPECT_EQ(&second, &first) << "the finished wait is reused";
    EXPECT_FLOAT_EQ(second.GetTimer(), -0.5f);
    EXPECT_FALSE(second.IsStarted());
    EXPECT_FALSE(second.IsBlocking());
    EXPECT_EQ(second.GetLanes()._mask, Lanes({2})._mask);
    EXPECT_EQ(second.GetOwner(), &_list);
    _list.Clear();

    // A repeating nested sequence keeps its rhythm and, from its second round on, runs
    // in the objects of the round before instead of new copies.
    std::vector<int> frames;
    NestedAction round(0.0f, {1}, true);
    round.GetList().Add(CallbackAction([&](CallbackAction&) { frames.push_back(_log.frame); }, 0.0f, 0.0f, {1}, true));
    round.GetList().Add(CountedWait(0.25f, {1}));
    _list.Add(AddAction(round, true, 0.0f, {1}));
    _log.Run(_list, 12);
    ASSERT_GE(frames.size(), 2u);
    const int constructed = CountedWait::s_constructed;
    _log.Run(_list, 30);
    ASSERT_GE(frames.size(), 8u);
    for (std::size_t i = 1; i < frames.size(); ++i)
        EXPECT_EQ(frames[i] - frames[i - 1], frames[1] - frames[0]) << "round " << i;
    EXPECT_EQ(CountedWait::s_constructed, constructed) << "later rounds copy no new waits";
    EXPECT_EQ(_list.Count(), 2u) << "the repeating action and the round it queued";
}

TEST_F(ActionListTest, ReverseDuringTheDelayChangesNothingAndLaterRunsBackFromWhereItIs)
{
    float waiting = 0.0f;
    Action& delayed = _list.Add(TemplAction<float>(waiting, 10.0f, 0.5f, 1.0f, {1}));
    _list.Update(0.25f);
    delayed.Reverse();
    EXPECT_FLOAT_EQ(delayed.GetTimer(), -0.25f);
    for (int i = 0; i < 5; ++i)
        _list.Update(0.25f);
    EXPECT_FLOAT_EQ(waiting, 10.0f);

    float value = 0.0f;
    Action& running = _list.Add(TemplAction<float>(value, 10.0f, 0.0f, 1.0f, {1}));
    _list.Update(0.25f);
    EXPECT_FLOAT_EQ(value, 2.5f);
    running.Reverse();
    _list.Update(0.125f);
    EXPECT_FLOAT_EQ(value, 1.25f);
    for (int i = 0; i < 8; ++i)
        _list.Update(0.125f);
    EXPECT_FLOAT_EQ(value, 0.0f);
    EXPECT_TRUE(_list.IsEmpty());
}
