#pragma once

#include "actions/TweenAction.h"

#include <glm/vec2.hpp>

#include <string>

// Eases any value the caller owns (a float, vec2, char, bool or text), held by
// reference: the referenced value must outlive the action.
template <typename T> class TemplAction : public TweenAction<T, TemplAction<T>>
{
public:
    TemplAction(T& target, const T& end, float delay, float duration, Lanes lanes, bool blocking = false,
                int easing = 0)
        : TweenAction<T, TemplAction<T>>(end, delay, duration, lanes, blocking, easing), _target(&target)
    {
    }

private:
    bool HasTarget() const override { return true; }
    T Read() const override { return *_target; }
    void Apply(const T& value) override { *_target = value; }
    const char* MissingTargetMessage() const override { return nullptr; }

    T* _target;
};

extern template class TemplAction<float>;
extern template class TemplAction<glm::vec2>;
extern template class TemplAction<char>;
extern template class TemplAction<bool>;
extern template class TemplAction<std::string>;
