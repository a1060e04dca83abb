#include "ui/UiGlobals.h"

#include "ui/BehaviorButton.h"
#include "ui/BehaviorHudController.h"
#include "ui/OptionSystem.h"

void ResetUiGlobals()
{
    BehaviorButton::ResetShared();
    OptionSystem::Reset();
    OptionSystem::SetWindowModeFunction(nullptr);
    BehaviorHudController::ResetGlobals();
}
