#include "input/InputGlobals.h"

#include "input/InputSystem.h"

void ResetInputGlobals()
{
    InputSystem::Instance().Reset();
}
