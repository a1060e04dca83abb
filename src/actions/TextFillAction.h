#pragma once

#include "actions/TweenAction.h"
#include "data/EntityRef.h"

#include <string>

class Entity;
class Sprite;

// Types a sprite's text over to a new one: deletes back to the common start, then types on.
class TextFillAction : public TweenAction<std::string, TextFillAction>
{
public:
    TextFillAction(Entity* target, const std::string& end, float delay, float duration, Lanes lanes,
                   bool blocking = false, int easing = 0);

private:
    Sprite* GetSprite() const;
    bool HasTarget() const override { return GetSprite() != nullptr; }
    std::string Read() const override;
    void Apply(const std::string& value) override;
    const char* MissingTargetMessage() const override;

    EntityRef _target;
};
