#include "actions/TextFillAction.h"

#include "data/Entity.h"
#include "render/Sprite.h"

TextFillAction::TextFillAction(Entity* target, const std::string& end, float delay, float duration, Lanes lanes,
                               bool blocking, int easing)
    : TweenAction(end, delay, duration, lanes, blocking, easing), _target(target)
{
}

Sprite* TextFillAction::GetSprite() const
{
    Entity* target = _target.Get();
    return target ? target->Get<Sprite>(ctype::Sprite) : nullptr;
}

std::string TextFillAction::Read() const
{
    return GetSprite()->GetText();
}

void TextFillAction::Apply(const std::string& value)
{
    GetSprite()->SetText(value);
}

const char* TextFillAction::MissingTargetMessage() const
{
    return "Text Fill Action Given Null Target, Removing From List";
}
