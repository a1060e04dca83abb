#include "ui/UiGlobals.h"

#include "ui/BehaviorHudController.h"
#include "ui/OptionSystem.h"

void ResetUiGlobals()
{
    OptionSystem::Reset();
    OptionSystem::SetWindowModeFunction(nullptr);
    BehaviorHudController::ResetGlobals();
}
