#pragma once

#include "actions/Action.h"

#include <string>

// Rolls every character of a text toward the character at the same place in the end
// text, so the words scramble into each other. Both texts must be the same length.
class TextJumbleAction : public ActionBase<TextJumbleAction>
{
public:
    TextJumbleAction(std::string* target, std::string end, float delay, float duration, Lanes lanes,
                     bool blocking = false, int easing = 0);

    bool Update(float dt) override;
    void Reverse() override;
    bool IsValid() const override;

private:
    std::string* _target;
    std::string _start;
    std::string _end;
    int _easing;
};
