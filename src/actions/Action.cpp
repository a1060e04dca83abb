#include "actions/Action.h"

Lanes::Lanes(std::initializer_list<int> lanes)
{
    for (int lane : lanes)
        if (lane >= 1 && lane <= 8)
            _mask |= static_cast<std::uint8_t>(1u << (lane - 1));
}

Lanes Lanes::FromMask(std::uint8_t mask)
{
    Lanes lanes;
    lanes._mask = mask;
    return lanes;
}

Action::Action(float delay, float duration, Lanes lanes, bool blocking)
    : _duration(duration), _blocking(blocking), _lanes(lanes), _timer(-delay), _delay(delay)
{
}

void Action::Reverse()
{
    if (_timer >= 0.0f)
        _timer = _duration - _timer;
}

void Action::ResetAsClone()
{
    _timer = -_delay;
    _started = false;
    _owner = nullptr;
}
