#include "render/LightMap.h"

#include "core/Trace.h"
#include "render/FanCover.h"
#include "render/GlState.h"
#include "render/LightUniforms.h"
#include "render/LumShader.h"
#include "render/SceneLights.h"
#include "render/ScreenCamera.h"
#include "render/ShaderSystem.h"

#include <glad/gl.h>

#include <array>
#include <cstring>
#include <vector>

namespace
{
// What "lightPass" tells the light program to draw: 0, every lamp's square, one
// instance each; 1 + f, flashlight f over its cover triangles.
constexpr int kLampPass = 0;
// How far below the cosine of its half angle the light program's cone fades out.
constexpr float kConeRim = 0.015f;

struct Objects
{
    GLuint framebuffer = 0;
    GLuint texture = 0;
    GLuint stencil = 0;
    GLuint emptyArray = 0; // the squares come from the vertex index alone
    GLuint coverArray = 0;
    GLuint coverBuffer = 0;
    unsigned generation = 0;
};

Objects s_objects;
glm::ivec2 s_size{0};
bool s_stale = true;
glm::mat4 s_camera{1.0f};
float s_ambient = -1.0f;
std::uint64_t s_draws = 0;
bool s_missingReported = false;
bool s_incompleteReported = false;
std::vector<glm::vec2> s_cover;
std::array<std::size_t, LightUniforms::kMaxFlashlights + 1> s_coverStarts{};

// Saved around the map's drawing so the sprites after it blend and draw as before.
struct SavedState
{
    GLint framebuffer = 0;
    GLboolean blend = GL_FALSE;
    GLint sourceRgb = GL_ONE, destinationRgb = GL_ZERO, sourceAlpha = GL_ONE, destinationAlpha = GL_ZERO;
    GLint equationRgb = GL_FUNC_ADD, equationAlpha = GL_FUNC_ADD;
    GLboolean stencil = GL_FALSE;
    GLint viewport[4] = {0, 0, 0, 0};
};

SavedState Save()
{
    SavedState s;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &s.framebuffer);
    s.blend = glIsEnabled(GL_BLEND);
    glGetIntegerv(GL_BLEND_SRC_RGB, &s.sourceRgb);
    glGetIntegerv(GL_BLEND_DST_RGB, &s.destinationRgb);
    glGetIntegerv(GL_BLEND_SRC_ALPHA, &s.sourceAlpha);
    glGetIntegerv(GL_BLEND_DST_ALPHA, &s.destinationAlpha);
    glGetIntegerv(GL_BLEND_EQUATION_RGB, &s.equationRgb);
    glGetIntegerv(GL_BLEND_EQUATION_ALPHA, &s.equationAlpha);
    s.stencil = glIsEnabled(GL_STENCIL_TEST);
    glGetIntegerv(GL_VIEWPORT, s.viewport);
    return s;
}

void Restore(const SavedState& s)
{
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(s.framebuffer));
    if (s.blend)
        glEnable(GL_BLEND);
    else
        glDisable(GL_BLEND);
    glBlendFuncSeparate(static_cast<GLenum>(s.sourceRgb), static_cast<GLenum>(s.destinationRgb),
                        static_cast<GLenum>(s.sourceAlpha), static_cast<GLenum>(s.destinationAlpha));
    glBlendEquationSeparate(static_cast<GLenum>(s.equationRgb), static_cast<GLenum>(s.equationAlpha));
    if (s.stencil)
        glEnable(GL_STENCIL_TEST);
    else
        glDisable(GL_STENCIL_TEST);
    glViewport(s.viewport[0], s.viewport[1], s.viewport[2], s.viewport[3]);
}

void Forget()
{
    s_objects = {};
    s_size = glm::ivec2(0);
    s_stale = true;
}

// Makes the objects for this context and sizes the targets to `size`.
bool MakeTargets(const glm::ivec2& size)
{
    if (s_objects.generation != GlState::ContextGeneration())
        Forget();
    Objects& o = s_objects;
    if (o.framebuffer == 0)
    {
        o.generation = GlState::ContextGeneration();
        glGenFramebuffers(1, &o.framebuffer);
        glGenTextures(1, &o.texture);
        glGenRenderbuffers(1, &o.stencil);
        glGenVertexArrays(1, &o.emptyArray);
        glGenVertexArrays(1, &o.coverArray);
        glGenBuffers(1, &o.coverBuffer);
        GlState::BindVertexArray(o.coverArray);
        glBindBuffer(GL_ARRAY_BUFFER, o.coverBuffer);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(glm::vec2), nullptr);
        GlState::BindVertexArray(0);
    }
    if (size == s_size)
        return true;
    // The texture stays bound to its unit for good; only the lit programs read it.
    glActiveTexture(GL_TEXTURE0 + LightMap::kTextureUnit);
    glBindTexture(GL_TEXTURE_2D, o.texture);
    // Half floats: light adds up past 1 where lamps and the beam overlap.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, size.x, size.y, 0, GL_RGBA, GL_HALF_FLOAT, nullptr);
    // Linear: the coarser map blends into the screen's pixels without blocks; clamped,
    // so the screen's edge does not blend with the opposite one.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glActiveTexture(GL_TEXTURE0);
    glBindRenderbuffer(GL_RENDERBUFFER, o.stencil);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, size.x, size.y);
    glBindFramebuffer(GL_FRAMEBUFFER, o.framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, o.texture, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, o.stencil);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE)
    {
        if (s_incompleteReported)
            return false;
        s_incompleteReported = true;
        Trace::Error("the light map cannot be drawn to (framebuffer status " + std::to_string(status) +
                     "); lit sprites show only the ambient light");
        return false;
    }
    s_size = size;
    return true;
}

// Every flashlight's cover triangles, one after another, in one buffer: only the part
// of its fan inside its cone, so the beam's pass shades little it does not light.
void UploadCovers(const SceneLights& lights, std::size_t flashlights)
{
    s_cover.clear();
    for (std::size_t f = 0; f < flashlights; ++f)
    {
        s_coverStarts[f] = s_cover.size();
        const std::size_t first = f == 0 ? 0 : static_cast<std::size_t>(lights._vertCount[f] + 1);
        const std::size_t last = static_cast<std::size_t>(lights._vertCount[f + 1]);
        const fancover::Sweep cone =
            fancover::ConeSweep(lights._coneEdges[2 * f], lights._coneEdges[2 * f + 1], kConeRim);
        fancover::Append(&lights._fan[first], last + 1 - first, lights._flashRadii[f], s_cover, fancover::kWallBleed,
                         cone);
    }
    s_coverStarts[flashlights] = s_cover.size();
    glBindBuffer(GL_ARRAY_BUFFER, s_objects.coverBuffer);
    const auto bytes = static_cast<GLsizeiptr>(s_cover.size() * sizeof(glm::vec2));
    glBufferData(GL_ARRAY_BUFFER, bytes, nullptr, GL_STREAM_DRAW);
    if (bytes > 0)
        glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, s_cover.data());
}

void DrawLights(const LumShader& shader, const glm::mat4& camera)
{
    shader.Use();
    shader.Set(Uniform::Projection, ScreenCamera::Instance().GetProjection());
    shader.Set(Uniform::Camera, camera);
    glEnable(GL_BLEND);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFunc(GL_ONE, GL_ONE);

    const int lamps = LightUniforms::DrawnLights();
    if (lamps > 0)
    {
        shader.Set(Uniform::LightPass, kLampPass);
        GlState::BindVertexArray(s_objects.emptyArray);
        glDrawArraysInstanced(GL_TRIANGLES, 0, 6, lamps);
    }

    const SceneLights* lights = LightUniforms::InUse();
    const auto flashlights = static_cast<std::size_t>(LightUniforms::DrawnFlashlights());
    if (!lights || flashlights == 0)
        return;
    UploadCovers(*lights, flashlights);
    // Each flashlight lights its cover once: the first of its triangles to reach a pixel
    // marks it with the flashlight's own stencil value, and its other triangles (which
    // may overlap along shared rays) leave marked pixels alone. Another flashlight's
    // marks do not stop it, so overlapping beams add up.
    glEnable(GL_STENCIL_TEST);
    glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
    GlState::BindVertexArray(s_objects.coverArray);
    for (std::size_t f = 0; f < flashlights; ++f)
    {
        glStencilFunc(GL_NOTEQUAL, static_cast<GLint>(f + 1), 0xFF);
        shader.Set(Uniform::LightPass, static_cast<int>(f + 1));
        glDrawArrays(GL_TRIANGLES, static_cast<GLint>(s_coverStarts[f]),
                     static_cast<GLsizei>(s_coverStarts[f + 1] - s_coverStarts[f]));
    }
}
} // namespace

namespace LightMap
{
void Prepare(const glm::mat4& camera, float ambient)
{
    if (!GlState::IsLive())
        return;
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (viewport[2] <= 0 || viewport[3] <= 0)
        return;
    const glm::ivec2 size((viewport[2] + kDownscale - 1) / kDownscale, (viewport[3] + kDownscale - 1) / kDownscale);
    if (!s_stale && size == s_size && ambient == s_ambient && s_objects.generation == GlState::ContextGeneration() &&
        std::memcmp(&camera, &s_camera, sizeof(glm::mat4)) == 0)
        return;

    const SavedState saved = Save();
    if (MakeTargets(size))
    {
        glBindFramebuffer(GL_FRAMEBUFFER, s_objects.framebuffer);
        // The whole map is the viewport: the same projection fills it.
        glViewport(0, 0, size.x, size.y);
        glClearColor(ambient, ambient, ambient, 1.0f);
        glClearStencil(0);
        glClear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        const ShaderEntry* entry = ShaderSystem::Instance().Find(kProgramName);
        if (entry && entry->_shader && entry->_shader->GetProgram() != 0)
            DrawLights(*entry->_shader, camera);
        else if (!s_missingReported)
        {
            s_missingReported = true;
            Trace::Error(std::string("shader \"") + kProgramName +
                         "\" is not in the shader table; lit sprites show only the ambient light");
        }
        ++s_draws;
    }
    Restore(saved);
    s_stale = false;
    s_camera = camera;
    s_ambient = ambient;
}

void Invalidate()
{
    s_stale = true;
}

glm::ivec2 Size()
{
    return s_size;
}

std::uint64_t Draws()
{
    return s_draws;
}

void Release()
{
    if (GlState::IsLive() && s_objects.generation == GlState::ContextGeneration() && s_objects.framebuffer != 0)
    {
        GlState::ForgetVertexArray(s_objects.emptyArray);
        GlState::ForgetVertexArray(s_objects.coverArray);
        glDeleteVertexArrays(1, &s_objects.emptyArray);
        glDeleteVertexArrays(1, &s_objects.coverArray);
        glDeleteBuffers(1, &s_objects.coverBuffer);
        glDeleteRenderbuffers(1, &s_objects.stencil);
        glDeleteTextures(1, &s_objects.texture);
        glDeleteFramebuffers(1, &s_objects.framebuffer);
    }
    Forget();
    s_camera = glm::mat4(1.0f);
    s_ambient = -1.0f;
    s_missingReported = false;
    s_incompleteReported = false;
    s_cover.clear();
}
} // namespace LightMap
