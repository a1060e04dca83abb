#include "ui/AnchorAction.h"

#include "core/Trace.h"
#include "data/Entity.h"
#include "ui/Anchor.h"

AnchorAction::AnchorAction(Entity* target, bool enabled, float delay, float duration, Lanes lanes, bool blocking)
    : ActionBase(delay, duration, lanes, blocking), _target(target), _end(enabled)
{
}

Anchor* AnchorAction::GetAnchor() const
{
    Entity* target = _target.Get();
    return target ? target->Get<Anchor>(ctype::Anchor) : nullptr;
}

bool AnchorAction::Update(float /*dt*/)
{
    Anchor* anchor = GetAnchor();
    if (!anchor)
    {
        Trace::Error("Anchor Action given Null target, removing from list");
        return true;
    }
    _started = true;
    if (!Done())
        return false;
    anchor->SetEnabled(_end);
    return true;
}

void AnchorAction::Reverse()
{
    _end = !_end;
}
