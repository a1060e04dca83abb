#include "actions/TintAction.h"

#include "data/Entity.h"
#include "render/Sprite.h"

TintAction::TintAction(Entity* target, const glm::vec4& end, float delay, float duration, Lanes lanes, bool blocking,
                       int easing)
    : TweenAction(end, delay, duration, lanes, blocking, easing), _target(target)
{
}

Sprite* TintAction::GetSprite() const
{
    Entity* target = _target.Get();
    return target ? target->Get<Sprite>(ctype::Sprite) : nullptr;
}

glm::vec4 TintAction::Read() const
{
    return GetSprite()->GetTint();
}

void TintAction::Apply(const glm::vec4& value)
{
    GetSprite()->SetTint(value);
}

const char* TintAction::MissingTargetMessage() const
{
    return nullptr;
}
