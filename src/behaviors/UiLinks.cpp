#include "behaviors/UiLinks.h"

namespace
{
HudOperations s_silent;
HudOperations* s_hud = &s_silent;
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
