#include "render/BlendMode.h"

#include "render/GlState.h"
#include "render/SpriteBatch.h"

#include <glad/gl.h>

BlendMode BlendMode::ForMode(int mode)
{
    switch (mode)
    {
    case 0:
        return {false, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA};
    case 2:
        return {true, GL_ONE, GL_ONE};
    case 3:
        return {true, GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR};
    default:
        return {true, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA};
    }
}

void BlendMode::Apply() const
{
    if (!GlState::IsLive())
        return;
    // Queued sprites were meant to blend the old way.
    SpriteBatch::Flush();
    if (!enabled)
    {
        glDisable(GL_BLEND);
        return;
    }
    glEnable(GL_BLEND);
    glBlendFunc(source, destination);
}
