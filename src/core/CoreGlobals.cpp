#include "core/CoreGlobals.h"

#include "core/Cheats.h"
#include "core/DebugLines.h"
#include "core/MainLoop.h"
#include "core/MessageSystem.h"
#include "core/Screen.h"
#include "core/Trace.h"
#include "core/WindowSystem.h"

void ResetCoreGlobals()
{
    WindowSystem::Instance().Reset();
    MessageSystem::Instance().Clear();
    Engine::ResetRunFlag();
    Engine::SetClock(nullptr);
    Screen::SetQueries(nullptr, nullptr);
    DebugLines::Instance().Clear();
    Cheats::SetQuery(nullptr);
    Trace::Close();
    Trace::SetEcho(false);
}
