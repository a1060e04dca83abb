#include "actions/TextJumbleAction.h"

#include "actions/Easing.h"
#include "core/Trace.h"

#include <utility>

TextJumbleAction::TextJumbleAction(std::string* target, std::string end, float delay, float duration, Lanes lanes,
                                   bool blocking, int easing)
    : ActionBase(delay, duration, lanes, blocking), _target(target), _end(std::move(end)), _easing(easing)
{
}

bool TextJumbleAction::IsValid() const
{
    if (!_target)
        return false;
    return (_started ? _start.size() : _target->size()) == _end.size();
}

bool TextJumbleAction::Update(float /*dt*/)
{
    if (!_started && _target)
    {
        _start = *_target;
        _started = true;
    }
    if (!_target || _start.size() != _end.size())
    {
        Trace::Error("Text Jumble Action Given Differing String Sizes, Removing From List");
        return true;
    }
    if (Done())
    {
        *_target = _end;
        return true;
    }
    const float eased = Ease(_easing, Progress());
    std::string& text = *_target;
    text.resize(_end.size());
    for (std::size_t i = 0; i < _end.size(); ++i)
        text[i] = LerpValue(_start[i], _end[i], eased);
    return false;
}

void TextJumbleAction::Reverse()
{
    if (_timer < 0.0f)
        return;
    if (!_started && _target)
    {
        _start = *_target;
        _started = true;
    }
    std::swap(_start, _end);
    _timer = _duration - _timer;
}
