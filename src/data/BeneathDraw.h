#pragma once

class Component;

// An entity draws its particle emitter before its other components when the emitter
// asks to sit beneath the sprite. The drawing lives in the render layer, which hands
// it down here at start-up.
namespace BeneathDraw
{
using Fn = void (*)(Component& emitter);
void Set(Fn draw);
// Does nothing until a drawing is set.
void Draw(Component& emitter);
} // namespace BeneathDraw
