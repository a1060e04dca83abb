#include "actions/FadeAction.h"

#include "data/Entity.h"
#include "render/Sprite.h"

FadeAction::FadeAction(Entity* target, const float& end, float delay, float duration, Lanes lanes, bool blocking,
                       int easing)
    : TweenAction(end, delay, duration, lanes, blocking, easing), _target(target)
{
}

Sprite* FadeAction::GetSprite() const
{
    Entity* target = _target.Get();
    return target ? target->Get<Sprite>(ctype::Sprite) : nullptr;
}

float FadeAction::Read() const
{
    return GetSprite()->GetTint().a;
}

void FadeAction::Apply(const float& value)
{
    glm::vec4 tint = GetSprite()->GetTint();
    tint.a = value;
    GetSprite()->SetTint(tint);
}

const char* FadeAction::MissingTargetMessage() const
{
    return "Fade Action Given Null Target, Removing From List";
}
