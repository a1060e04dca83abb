#pragma once

// What must happen whenever a scene ends or is deleted, for systems above the scenes
// (the objective register is emptied so the next level registers its own objects).
// The wiring place installs it; null restores the default, which does nothing.
namespace SceneEndHook
{
using Callback = void (*)();

void Set(Callback callback);
void Run();
} // namespace SceneEndHook
