#include "render/LightUniforms.h"

#include "core/Trace.h"
#include "render/GlState.h"
#include "render/LightMap.h"
#include "render/SceneLights.h"
#include "render/SpriteBatch.h"

#include <glad/gl.h>
#include <glm/vec4.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace
{
constexpr std::size_t kLightVec4s = 4 * SceneLights::kMaxLights;
constexpr std::size_t kFlashVec4s = 3 * LightUniforms::kMaxFlashlights + LightUniforms::kMaxFanVertices / 2;
static_assert(kFlashVec4s * sizeof(glm::vec4) <= 16384, "the flashlight block must fit 16 KB");

GLuint s_lightBuffer = 0;
GLuint s_flashBuffer = 0;
const SceneLights* s_current = nullptr;
std::uint64_t s_uploadedGeneration = 0;
const SceneLights* s_uploaded = nullptr;
int s_lights = 0;
int s_flashlights = 0;
bool s_fanReported = false;
std::vector<glm::vec4> s_staging;

void MakeBuffer(GLuint& buffer, unsigned binding, std::size_t vec4s)
{
    if (buffer != 0)
        return;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_UNIFORM_BUFFER, buffer);
    glBufferData(GL_UNIFORM_BUFFER, static_cast<GLsizeiptr>(vec4s * sizeof(glm::vec4)), nullptr, GL_DYNAMIC_DRAW);
    glBindBufferBase(GL_UNIFORM_BUFFER, binding, buffer);
}

void Send(GLuint buffer, std::size_t vec4s)
{
    glBindBuffer(GL_UNIFORM_BUFFER, buffer);
    // Orphaning keeps a draw still reading last scene's lights from stalling this upload.
    glBufferData(GL_UNIFORM_BUFFER, static_cast<GLsizeiptr>(vec4s * sizeof(glm::vec4)), nullptr, GL_DYNAMIC_DRAW);
    glBufferSubData(GL_UNIFORM_BUFFER, 0, static_cast<GLsizeiptr>(s_staging.size() * sizeof(glm::vec4)),
                    s_staging.data());
}

void UploadLights(const SceneLights& lights)
{
    const std::size_t n = lights.DrawnLightCount();
    s_staging.assign(kLightVec4s, glm::vec4(0.0f));
    for (std::size_t i = 0; i < n; ++i)
    {
        s_staging[i] = {lights._positions[i], lights._radii[i], lights._factors[i]};
        s_staging[SceneLights::kMaxLights + i] = lights._colours[i];
        s_staging[2 * SceneLights::kMaxLights + i] = lights._cones[i];
        s_staging[3 * SceneLights::kMaxLights + i] = {lights._falloffs[i], lights._innerRadii[i],
                                                      lights._innerFalloffs[i], 0.0f};
    }
    Send(s_lightBuffer, kLightVec4s);
}

void UploadFlashlights(const SceneLights& lights, std::size_t count)
{
    constexpr std::size_t kMax = LightUniforms::kMaxFlashlights;
    const std::size_t vertices = count == 0 ? 0 : static_cast<std::size_t>(lights._vertCount[count]) + 1;
    s_staging.assign(3 * kMax + (vertices + 1) / 2, glm::vec4(0.0f));
    for (std::size_t i = 0; i < count; ++i)
    {
        s_staging[i] = {lights._coneEdges[2 * i], lights._coneEdges[2 * i + 1]};
        s_staging[kMax + i] = {lights._flashRadii[i], lights._flashFactors[i], lights._flashFalloffs[i],
                               lights._flashInnerFalloffs[i]};
        // The first fan starts at 0; each later one just past the previous one's last vertex.
        const float first = i == 0 ? 0.0f : static_cast<float>(lights._vertCount[i] + 1);
        s_staging[2 * kMax + i] = {lights._flashInnerRadii[i], first, static_cast<float>(lights._vertCount[i + 1]),
                                   0.0f};
    }
    for (std::size_t v = 0; v < vertices; ++v)
    {
        glm::vec4& pair = s_staging[3 * kMax + v / 2];
        if (v % 2 == 0)
        {
            pair.x = lights._fan[v].x;
            pair.y = lights._fan[v].y;
        }
        else
        {
            pair.z = lights._fan[v].x;
            pair.w = lights._fan[v].y;
        }
    }
    Send(s_flashBuffer, kFlashVec4s);
}
} // namespace

namespace LightUniforms
{
std::size_t FittingFlashlights(const SceneLights& lights)
{
    std::size_t count = 0;
    while (count < lights.FlashlightCount() && count < kMaxFlashlights &&
           static_cast<std::size_t>(lights._vertCount[count + 1]) + 1 <= kMaxFanVertices)
        ++count;
    return count;
}

void Use(const SceneLights* lights)
{
    // Queued sprites were meant to draw under the lights in use until now.
    SpriteBatch::Flush();
    s_current = lights;
    LightMap::Invalidate();
    if (!lights)
    {
        s_lights = s_flashlights = 0;
        return;
    }
    s_lights = static_cast<int>(lights->DrawnLightCount());
    const std::size_t fitting = FittingFlashlights(*lights);
    s_flashlights = static_cast<int>(fitting);
    if (fitting < lights->FlashlightCount() && !s_fanReported)
    {
        s_fanReported = true;
        Trace::Error("flashlights beyond what the lit programs hold (" + std::to_string(kMaxFlashlights) +
                     " flashlights, " + std::to_string(kMaxFanVertices) +
                     " fan vertices in all): " + std::to_string(lights->FlashlightCount() - fitting) + " not drawn");
    }
    if (!GlState::IsLive() || (lights == s_uploaded && lights->_generation == s_uploadedGeneration))
        return;
    MakeBuffer(s_lightBuffer, kLightBinding, kLightVec4s);
    MakeBuffer(s_flashBuffer, kFlashlightBinding, kFlashVec4s);
    UploadLights(*lights);
    UploadFlashlights(*lights, fitting);
    s_uploaded = lights;
    s_uploadedGeneration = lights->_generation;
}

const SceneLights* InUse()
{
    return s_current;
}

int DrawnLights()
{
    return s_lights;
}

int DrawnFlashlights()
{
    return s_flashlights;
}

void BindBlocks(unsigned program)
{
    const GLuint lights = glGetUniformBlockIndex(program, "LightBlock");
    if (lights != GL_INVALID_INDEX)
        glUniformBlockBinding(program, lights, kLightBinding);
    const GLuint flashlights = glGetUniformBlockIndex(program, "FlashlightBlock");
    if (flashlights != GL_INVALID_INDEX)
        glUniformBlockBinding(program, flashlights, kFlashlightBinding);
}

void Release()
{
    if (GlState::IsLive())
        for (GLuint* buffer : {&s_lightBuffer, &s_flashBuffer})
            if (*buffer != 0)
                glDeleteBuffers(1, buffer);
    s_lightBuffer = s_flashBuffer = 0;
    s_current = s_uploaded = nullptr;
    s_uploadedGeneration = 0;
    s_lights = s_flashlights = 0;
    s_fanReported = false;
}
} // namespace LightUniforms
