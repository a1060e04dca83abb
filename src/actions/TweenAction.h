#pragma once

#include "actions/Action.h"
#include "actions/Easing.h"
#include "core/Trace.h"

// An action that eases a value of type T from where its target stood when the
// action started to an end value. Derived classes say how to reach the target.
template <typename T, typename Derived> class TweenAction : public ActionBase<Derived>
{
public:
    TweenAction(const T& end, float delay, float duration, Lanes lanes, bool blocking, int easing)
        : ActionBase<Derived>(delay, duration, lanes, blocking), _end(end), _easing(easing)
    {
    }

    bool Update(float /*dt*/) override
    {
        if (!HasTarget())
        {
            if (const char* message = MissingTargetMessage())
                Trace::Error(message);
            return true;
        }
        Capture();
        if (this->Done())
        {
            Apply(_end);
            return true;
        }
        Apply(LerpValue(_start, _end, Ease(_easing, this->Progress())));
        return false;
    }

    void Reverse() override
    {
        if (this->_timer < 0.0f)
            return;
        if (HasTarget())
            Capture();
        std::swap(_start, _end);
        this->_timer = this->_duration - this->_timer;
    }

    bool IsValid() const override { return HasTarget(); }

    const T& GetStart() const { return _start; }
    const T& GetEnd() const { return _end; }
    int GetEasing() const { return _easing; }

protected:
    TweenAction(const TweenAction&) = default;

    virtual bool HasTarget() const = 0;
    virtual T Read() const = 0;
    virtual void Apply(const T& value) = 0;
    // Null: a missing target is dropped silently.
    virtual const char* MissingTargetMessage() const = 0;

private:
    void Capture()
    {
        if (this->_started)
            return;
        _start = Read();
        this->_started = true;
    }

    T _start{};
    T _end;
    int _easing;
};
