#pragma once

#include <vector>

class System;

// The one place that connects a lower system to the higher ones it must reach: the
// window's events go to input, the scenes, sound, the renderer and the screen camera,
// and cheat questions from any layer go to the cheat system. The systems themselves
// never include one above them.
namespace Game
{
// Fills the window's listener lists afresh, so calling it again changes nothing.
// A run that repeats from its flags alone (a fixed frame time) passes false: which
// window the desktop focuses must not change what it shows.
void Wire(bool followFocus = true);

// The game's systems in the order they start, update and draw each frame.
std::vector<System*> Systems();

// In the background every scene pauses and sound goes quiet (no volume setting
// changes); both come back with the focus. Scripted runs and runs wired not to follow
// the focus ignore it.
void OnFocusChanged(bool focused);
} // namespace Game
