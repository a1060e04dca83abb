#pragma once

#include "actions/TweenAction.h"
#include "data/EntityRef.h"

#include <glm/vec4.hpp>

class Entity;
class Sprite;

// Tints an entity's sprite; an entity without a sprite is dropped without a word.
class TintAction : public TweenAction<glm::vec4, TintAction>
{
public:
    TintAction(Entity* target, const glm::vec4& end, float delay, float duration, Lanes lanes, bool blocking = false,
               int easing = 0);

private:
    Sprite* GetSprite() const;
    bool HasTarget() const override { return GetSprite() != nullptr; }
    glm::vec4 Read() const override;
    void Apply(const glm::vec4& value) override;
    const char* MissingTargetMessage() const override;

    EntityRef _target;
};
