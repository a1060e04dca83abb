#pragma once

#include "actions/TweenAction.h"
#include "data/EntityRef.h"

#include <glm/vec2.hpp>

class Entity;

// Moves an entity's transform to a position.
class MoveAction : public TweenAction<glm::vec2, MoveAction>
{
public:
    MoveAction(Entity* target, const glm::vec2& end, float delay, float duration, Lanes lanes, bool blocking = false,
               int easing = 0);

private:
    bool HasTarget() const override { return _target.Get() != nullptr; }
    glm::vec2 Read() const override;
    void Apply(const glm::vec2& value) override;
    const char* MissingTargetMessage() const override;

    EntityRef _target;
};
