#pragma once

namespace LoadedModules
{
// In sanitizer builds, keeps every shared object loaded so far in memory until the
// process exits. The GL driver is loaded and unloaded behind our back (by GLFW and the
// GL vendor library); if it is gone when the leak check runs, its allocations show up
// with unnamed frames and cannot be told from ours. Elsewhere this does nothing.
void KeepUntilExit();
} // namespace LoadedModules
