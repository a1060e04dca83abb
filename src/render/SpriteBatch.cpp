#include "render/SpriteBatch.h"

#include "render/GlState.h"
#include "render/LumMesh.h"
#include "render/LumShader.h"
#include "render/Sprite.h"

#include <glad/gl.h>

#include <cstring>
#include <vector>

namespace
{
SpriteBatch::Key s_key;
std::vector<SpriteBatch::Instance> s_pending;
GLuint s_buffer = 0;
bool s_flushing = false;
SpriteBatch::Counts s_counts;

bool SameKey(const SpriteBatch::Key& a, const SpriteBatch::Key& b)
{
    return a.shader == b.shader && a.texture == b.texture && a.mesh == b.mesh && a.brightness == b.brightness &&
           std::memcmp(&a.camera, &b.camera, sizeof(glm::mat4)) == 0;
}
} // namespace

namespace SpriteBatch
{
void Add(const Key& key, const Instance& instance)
{
    if (!s_pending.empty() && !SameKey(key, s_key))
        Flush();
    if (s_pending.empty())
        s_key = key;
    s_pending.push_back(instance);
}

void Flush()
{
    if (s_pending.empty())
        return;
    if (!GlState::IsLive() || !s_key.shader || !s_key.mesh)
    {
        s_pending.clear();
        return;
    }
    if (s_buffer == 0)
        glGenBuffers(1, &s_buffer);
    s_flushing = true;

    const LumShader& shader = *s_key.shader;
    Sprite::PrepareLight(shader, s_key.camera);
    shader.Use();
    GlState::BindTexture(s_key.texture);
    Sprite::ApplyFrameUniforms(shader);
    // Each instance carries its own world matrix, tint and sheet offset.
    shader.Set(Uniform::Camera, s_key.camera);
    shader.Set(Uniform::World, glm::mat4(1.0f));
    shader.Set(Uniform::Uv, glm::mat3(1.0f));
    shader.Set(Uniform::Tint, glm::vec4(1.0f));
    shader.Set(Uniform::Brightness, s_key.brightness);

    glBindBuffer(GL_ARRAY_BUFFER, s_buffer);
    const auto bytes = static_cast<GLsizeiptr>(s_pending.size() * sizeof(Instance));
    // A fresh store each flush, so the driver never waits for the previous draw to read the old one.
    glBufferData(GL_ARRAY_BUFFER, bytes, nullptr, GL_STREAM_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, s_pending.data());
    GlState::BindVertexArray(s_key.mesh->GetBatchArray(s_buffer));
    glDrawArraysInstanced(GL_TRIANGLES, 0, static_cast<GLsizei>(s_key.mesh->GetVertexCount()),
                          static_cast<GLsizei>(s_pending.size()));
    ++s_counts.draws;
    s_counts.instances += s_pending.size();
    s_pending.clear();
    s_flushing = false;
}

void BeforeUniformChange(const LumShader* shader)
{
    if (!s_flushing && !s_pending.empty() && s_key.shader == shader)
        Flush();
}

const Counts& GetCounts()
{
    return s_counts;
}

void ResetCounts()
{
    s_counts = {};
}

void Release()
{
    s_pending.clear();
    s_key = {};
    s_flushing = false;
    if (s_buffer != 0 && GlState::IsLive())
        glDeleteBuffers(1, &s_buffer);
    s_buffer = 0;
}
} // namespace SpriteBatch
