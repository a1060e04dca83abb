#include "ui/UiGlobals.h"

#include "ui/OptionSystem.h"

void ResetUiGlobals()
{
    OptionSystem::Reset();
    OptionSystem::SetWindowModeFunction(nullptr);
}
