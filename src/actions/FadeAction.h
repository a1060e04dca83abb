#pragma once

#include "actions/TweenAction.h"
#include "data/EntityRef.h"

class Entity;
class Sprite;

// Fades an entity's sprite: its tint's alpha, kept within [0, 1].
class FadeAction : public TweenAction<float, FadeAction>
{
public:
    FadeAction(Entity* target, const float& end, float delay, float duration, Lanes lanes, bool blocking = false,
               int easing = 0);

private:
    Sprite* GetSprite() const;
    bool HasTarget() const override { return GetSprite() != nullptr; }
    float Read() const override;
    void Apply(const float& value) override;
    const char* MissingTargetMessage() const override;

    EntityRef _target;
};
