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

bool BlendMode::IgnoresClearSource()
{
    if (!GlState::IsLive() || !glIsEnabled(GL_BLEND))
        return false;
    GLint rgb = 0, alpha = 0, source = 0, sourceAlpha = 0, destination = 0, destinationAlpha = 0;
    glGetIntegerv(GL_BLEND_EQUATION_RGB, &rgb);
    glGetIntegerv(GL_BLEND_EQUATION_ALPHA, &alpha);
    glGetIntegerv(GL_BLEND_SRC_RGB, &source);
    glGetIntegerv(GL_BLEND_SRC_ALPHA, &sourceAlpha);
    glGetIntegerv(GL_BLEND_DST_RGB, &destination);
    glGetIntegerv(GL_BLEND_DST_ALPHA, &destinationAlpha);
    const auto keeps = [](GLint factor) { return factor == GL_ONE || factor == GL_ONE_MINUS_SRC_ALPHA; };
    return rgb == GL_FUNC_ADD && alpha == GL_FUNC_ADD && source == GL_SRC_ALPHA && sourceAlpha == GL_SRC_ALPHA &&
           keeps(destination) && keeps(destinationAlpha);
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
