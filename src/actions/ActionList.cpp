#include "actions/ActionList.h"

#include <algorithm>

ActionList::~ActionList() = default;

Action& ActionList::Add(const Action& action, bool atFront)
{
    std::unique_ptr<Action> clone;
    for (auto it = _spent.begin(); it != _spent.end(); ++it)
        if ((*it)->RewindAs(action))
        {
            clone = std::move(*it);
            _spent.erase(it);
            break;
        }
    if (!clone)
        clone = action.Clone();
    clone->_owner = this;
    Action& added = *clone;
    _pending.push_back({std::move(clone), atFront});
    return added;
}

Action& ActionList::Requeue(Action& running)
{
    for (std::unique_ptr<Action>& slot : _actions)
        if (slot.get() == &running)
        {
            running.ResetAsClone();
            running._owner = this;
            _pending.push_back({std::move(slot), false});
            return running;
        }
    return Add(running);
}

void ActionList::AddClonesOf(const ActionList& other)
{
    for (const auto& action : other._actions)
        if (action)
            Add(*action);
    for (const Pending& pending : other._pending)
        Add(*pending._action, pending._atFront);
}

void ActionList::TakePending()
{
    for (Pending& p : _pending)
    {
        if (p._atFront)
            _actions.insert(_actions.begin(), std::move(p._action));
        else
            _actions.push_back(std::move(p._action));
    }
    _pending.clear();
}

void ActionList::Update(float dt)
{
    const float d = dt * _timeScale;
    TakePending();

    _updating = true;
    Lanes blocked;
    for (std::size_t i = 0; i < _actions.size(); ++i)
    {
        Action* action = _actions[i].get();
        if (!action)
            continue;
        const Lanes lanes = action->GetLanes();
        const bool blocking = action->IsBlocking();
        if (!lanes.Shares(blocked))
        {
            action->Advance(d);
            if (action->GetTimer() >= 0.0f && action->Update(d) && _actions[i].get() == action)
            {
                if (_spent.capacity() == 0)
                    _spent.reserve(kSpentKept);
                if (_spent.size() < kSpentKept)
                    _spent.push_back(std::move(_actions[i]));
                else
                    _actions[i].reset();
            }
        }
        // A blocking action holds its lanes while it waits, and in the frame it ends.
        if (blocking)
            blocked |= lanes;
    }
    _updating = false;

    std::erase(_actions, nullptr);
    _removed.clear();
    TakePending();
}

template <typename Pred> void ActionList::RemoveIf(Pred pred)
{
    std::erase_if(_pending, [&](const Pending& p) { return pred(*p._action); });
    if (_updating)
    {
        for (auto& action : _actions)
            if (action && pred(*action))
                _removed.push_back(std::move(action));
        return;
    }
    std::erase_if(_actions, [&](const std::unique_ptr<Action>& a) { return pred(*a); });
}

void ActionList::RemoveLanes(Lanes lanes)
{
    RemoveIf([lanes](const Action& a) { return a.GetLanes().Shares(lanes); });
}

void ActionList::Clear()
{
    RemoveIf([](const Action&) { return true; });
}

std::size_t ActionList::Count() const
{
    const auto running = std::count_if(_actions.begin(), _actions.end(), [](const auto& a) { return a != nullptr; });
    return static_cast<std::size_t>(running) + _pending.size();
}

bool ActionList::AllValid() const
{
    for (const auto& action : _actions)
        if (action && !action->IsValid())
            return false;
    for (const Pending& p : _pending)
        if (!p._action->IsValid())
            return false;
    return true;
}
