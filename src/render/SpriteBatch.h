#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <cstddef>
#include <cstdint>

class LumMesh;
class LumShader;

// Consecutive plain sprites (a filled mesh, no text, no instances of their own) that
// share program, texture, mesh, brightness and camera go to the GL as one instanced
// draw of their table mesh, each sprite one instance, in the order they were added.
// Anything else that draws, clears, reads pixels or changes the blend state flushes
// first, so what ends up on screen is what drawing each sprite at once would give.
namespace SpriteBatch
{
struct Instance
{
    glm::mat4 world{1.0f};
    glm::vec4 tint{1.0f};
    glm::vec2 sheetOffset{0.0f};
};

struct Key
{
    const LumShader* shader = nullptr;
    unsigned texture = 0;
    LumMesh* mesh = nullptr;
    float brightness = 0.0f;
    glm::mat4 camera{1.0f};
};

// Queues one sprite, flushing the run before it when the key differs.
void Add(const Key& key, const Instance& instance);
// Draws the queued run, if any.
void Flush();
// A uniform of `shader` is about to change: a run queued for it draws first.
void BeforeUniformChange(const LumShader* shader);

// Draw calls issued by flushes and instances drawn, for benchmarks and tests.
struct Counts
{
    std::uint64_t draws = 0;
    std::uint64_t instances = 0;
};
const Counts& GetCounts();
void ResetCounts();

// Drops the queue and deletes the instance buffer; call while the context is current.
void Release();
} // namespace SpriteBatch
