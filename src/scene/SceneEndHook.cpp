#include "scene/SceneEndHook.h"

namespace
{
void Nothing() {}

SceneEndHook::Callback s_callback = &Nothing;
} // namespace

namespace SceneEndHook
{
void Set(Callback callback)
{
    s_callback = callback ? callback : &Nothing;
}

void Run()
{
    s_callback();
}
} // namespace SceneEndHook
