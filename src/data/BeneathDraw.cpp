#include "data/BeneathDraw.h"

namespace
{
BeneathDraw::Fn s_draw = nullptr;
}

namespace BeneathDraw
{
void Set(Fn draw)
{
    s_draw = draw;
}

void Draw(Component& emitter)
{
    if (s_draw)
        s_draw(emitter);
}
} // namespace BeneathDraw
