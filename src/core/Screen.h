#pragma once

// Window and monitor sizes in pixels, asked for by whatever places things on the
// screen. Until a window system installs its own queries (and in headless runs) the
// screen is a virtual 1920 x 1080 monitor with a window filling it.
namespace Screen
{
struct Size
{
    int width = 0;
    int height = 0;
};

inline constexpr Size kVirtualSize{1920, 1080};

using SizeQuery = Size (*)();

// The window's client size.
Size GetWindowSize();
// The current video mode of the primary monitor.
Size GetMonitorSize();

// Null restores the virtual screen.
void SetQueries(SizeQuery window, SizeQuery monitor);
} // namespace Screen
