#include "behaviors/UiLinks.h"

namespace
{
HudOperations s_silent;
HudOperations* s_hud = &s_silent;
GameplayOptionLinks::Query s_flashingDisabled = nullptr;
} // namespace

namespace Hud
{
HudOperations& Get()
{
    return *s_hud;
}

void Install(HudOperations* hud)
{
    s_hud = hud ? hud : &s_silent;
}
} // namespace Hud

namespace GameplayOptionLinks
{
void SetFlashingDisabledQuery(Query query)
{
    s_flashingDisabled = query;
}

bool IsFlashingDisabled()
{
    return s_flashingDisabled && s_flashingDisabled();
}
} // namespace GameplayOptionLinks
