#include "debug/DebugGlobals.h"

#include "debug/CheatSystem.h"
#include "debug/DebugSystem.h"

void ResetDebugGlobals()
{
    CheatSystem::Instance().Reset();
    DebugSystem::Instance().Reset();
}
