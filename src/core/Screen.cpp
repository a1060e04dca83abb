#include "core/Screen.h"

namespace
{
Screen::Size VirtualSize()
{
    return Screen::kVirtualSize;
}

Screen::SizeQuery s_window = &VirtualSize;
Screen::SizeQuery s_monitor = &VirtualSize;
} // namespace

namespace Screen
{
Size GetWindowSize()
{
    return s_window();
}

Size GetMonitorSize()
{
    return s_monitor();
}

void SetQueries(SizeQuery window, SizeQuery monitor)
{
    s_window = window ? window : &VirtualSize;
    s_monitor = monitor ? monitor : &VirtualSize;
}
} // namespace Screen
