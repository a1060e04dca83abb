#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <type_traits>
#include <typeinfo>

class ActionList;

// A set of action lanes: lane n (1..8) is bit n - 1.
struct Lanes
{
    Lanes() = default;
    Lanes(std::initializer_list<int> lanes);
    static Lanes FromMask(std::uint8_t mask);

    bool Shares(Lanes other) const { return (_mask & other._mask) != 0; }
    Lanes& operator|=(Lanes other)
    {
        _mask |= other._mask;
        return *this;
    }

    std::uint8_t _mask = 0;
};

// One timed step of an action list. It waits out its delay, then runs every update
// until it reports that it is finished; progress is timer / duration.
class Action
{
public:
    Action(float delay, float duration, Lanes lanes, bool blocking);
    virtual ~Action() = default;

    // A new action with the same settings, not started, owned by the caller.
    virtual std::unique_ptr<Action> Clone() const = 0;
    // Runs once the timer has reached 0; true when finished.
    virtual bool Update(float dt) = 0;
    // Runs the rest of the change backwards; nothing while still in the delay.
    virtual void Reverse();
    virtual bool IsValid() const { return true; }
    // Turns this finished action into what a Clone of `prototype` would be, reusing its
    // storage; false when their types differ or this type cannot be copied over.
    virtual bool RewindAs(const Action& prototype) = 0;

    float GetDuration() const { return _duration; }
    float GetDelay() const { return _delay; }
    float GetTimer() const { return _timer; }
    bool IsBlocking() const { return _blocking; }
    Lanes GetLanes() const { return _lanes; }
    bool IsStarted() const { return _started; }
    ActionList* GetOwner() const { return _owner; }

protected:
    Action(const Action&) = default;
    Action& operator=(const Action&) = default;

    // Interpolating actions: finished once the timer has reached the duration.
    bool Done() const { return _timer >= _duration; }
    float Progress() const { return _duration > 0.0f ? _timer / _duration : 1.0f; }

    float _duration;
    bool _blocking;
    Lanes _lanes;
    float _timer;
    float _delay;
    bool _started = false;
    ActionList* _owner = nullptr;

    void ResetAsClone();

private:
    friend class ActionList;
    void Advance(float dt) { _timer += dt; }
};

// Clone for a concrete action class: a copy, rewound to its delay.
template <typename T> class ActionBase : public Action
{
public:
    using Action::Action;

    std::unique_ptr<Action> Clone() const override
    {
        auto copy = std::make_unique<T>(static_cast<const T&>(*this));
        copy->ResetAsClone();
        return copy;
    }

    bool RewindAs(const Action& prototype) override
    {
        if constexpr (std::is_copy_assignable_v<T>)
        {
            if (typeid(prototype) != typeid(T) || typeid(*this) != typeid(T))
                return false;
            static_cast<T&>(*this) = static_cast<const T&>(prototype);
            ResetAsClone();
            return true;
        }
        else
        {
            return false;
        }
    }

protected:
    ActionBase(const ActionBase&) = default;
};
