#pragma once

class Component;

// An entity draws its particle emitter before its other components when the emitter
// asks to sit beneath the sprite. The drawing lives in the render layer; the game's
// wiring hands it down. Null (the default) draws nothing early.
namespace BeneathDraw
{
using Fn = void (*)(Component& emitter);
void Set(Fn draw);
// Does nothing until a drawing is set.
void Draw(Component& emitter);
} // namespace BeneathDraw
