#pragma once

#include "actions/Action.h"

#include <memory>
#include <vector>

// Runs its actions every update. A blocking action holds back every later action
// that shares one of its lanes until it is gone, so one list can run several
// independent sequences side by side.
class ActionList
{
public:
    explicit ActionList(float timeScale = 1.0f) : _timeScale(timeScale) {}
    ~ActionList();

    ActionList(const ActionList&) = delete;
    ActionList& operator=(const ActionList&) = delete;

    // Queues a clone of the action (the caller keeps its own) and returns the clone,
    // which lives until it finishes or is removed. Queued actions join at the start
    // and at the end of the next Update, at the front or the back. The clone reuses a
    // finished action of the same type where there is one, so repeating sequences do
    // not allocate.
    Action& Add(const Action& action, bool atFront = false);
    // Queues a running action of this list again at the back, rewound as a clone of
    // itself would be, instead of cloning it; any other action is cloned as by Add.
    Action& Requeue(Action& running);
    void Update(float dt);

    // Destroys every running and queued action in any of these lanes.
    void RemoveLanes(Lanes lanes);
    void Clear();

    // Queues clones of every running and queued action of another list.
    void AddClonesOf(const ActionList& other);

    float GetTimeScale() const { return _timeScale; }
    void SetTimeScale(float scale) { _timeScale = scale; }

    // Running and queued actions.
    std::size_t Count() const;
    bool IsEmpty() const { return Count() == 0; }
    bool AllValid() const;

private:
    struct Pending
    {
        std::unique_ptr<Action> _action;
        bool _atFront = false;
    };

    void TakePending();
    template <typename Pred> void RemoveIf(Pred pred);

    std::vector<std::unique_ptr<Action>> _actions;
    std::vector<Pending> _pending;
    // Actions removed while the list is being walked live here until the walk ends,
    // since one of them may be the action that asked for the removal.
    std::vector<std::unique_ptr<Action>> _removed;
    // Finished actions kept for Add to reuse, a few at most.
    static constexpr std::size_t kSpentKept = 8;
    std::vector<std::unique_ptr<Action>> _spent;
    float _timeScale;
    bool _updating = false;
};
