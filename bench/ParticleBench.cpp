#include "AllocationCounter.h"

#include "Game.h"
#include "core/WindowSystem.h"
#include "data/Entity.h"
#include "render/Mesh.h"
#include "render/ParticleEmitter.h"
#include "render/ShaderSystem.h"
#include "render/SpriteSource.h"

#include <benchmark/benchmark.h>
#include <glad/gl.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr int kEmitters = 10;
constexpr int kParticles = 1000;

// Every draw call of the frame goes through these, so the bench can see how many
// each emitter makes.
std::size_t s_draws = 0;
PFNGLDRAWARRAYSPROC s_drawArrays = nullptr;
PFNGLDRAWARRAYSINSTANCEDPROC s_drawArraysInstanced = nullptr;
PFNGLDRAWELEMENTSPROC s_drawElements = nullptr;
PFNGLDRAWELEMENTSINSTANCEDPROC s_drawElementsInstanced = nullptr;

void GLAD_API_PTR CountArrays(GLenum mode, GLint first, GLsizei count)
{
    ++s_draws;
    s_drawArrays(mode, first, count);
}
void GLAD_API_PTR CountArraysInstanced(GLenum mode, GLint first, GLsizei count, GLsizei instances)
{
    ++s_draws;
    s_drawArraysInstanced(mode, first, count, instances);
}
void GLAD_API_PTR CountElements(GLenum mode, GLsizei count, GLenum type, const void* indices)
{
    ++s_draws;
    s_drawElements(mode, count, type, indices);
}
void GLAD_API_PTR CountElementsInstanced(GLenum mode, GLsizei count, GLenum type, const void* indices,
                                         GLsizei instances)
{
    ++s_draws;
    s_drawElementsInstanced(mode, count, type, indices, instances);
}

void CountDraws(bool on)
{
    if (on)
    {
        s_drawArrays = glad_glDrawArrays;
        s_drawArraysInstanced = glad_glDrawArraysInstanced;
        s_drawElements = glad_glDrawElements;
        s_drawElementsInstanced = glad_glDrawElementsInstanced;
        glad_glDrawArrays = CountArrays;
        glad_glDrawArraysInstanced = CountArraysInstanced;
        glad_glDrawElements = CountElements;
        glad_glDrawElementsInstanced = CountElementsInstanced;
    }
    else
    {
        glad_glDrawArrays = s_drawArrays;
        glad_glDrawArraysInstanced = s_drawArraysInstanced;
        glad_glDrawElements = s_drawElements;
        glad_glDrawElementsInstanced = s_drawElementsInstanced;
    }
}

// Ten emitters spread over the screen, each with a full pool of long-lived particles.
// Without drawing they get a bare sprite instead of the archetype's.
std::vector<std::unique_ptr<Entity>> MakeEmitters(bool draw)
{
    std::vector<std::unique_ptr<Entity>> emitters;
    for (int i = 0; i < kEmitters; ++i)
    {
        const float x = static_cast<float>(-800 + 170 * i);
        auto e = Entity::FromJson(json::parse(R"({"name": "sparks", "transform": {"translation": {"x": )" +
                                              std::to_string(x) + R"(, "y": 0}}, "components": {"particleemitter": {
            "maxparticles": )" + std::to_string(kParticles) +
                                              R"(, "particleproperties": {"posvariation": {"x": 80, "y": 400},
                "vel": {"x": 0, "y": 20}, "velvariation": {"x": 30, "y": 30}, "colorbegin": {"r": 1, "g": 0.7, "b": 0.3},
                "colorend": {"r": 0.4, "g": 0, "b": 0, "a": 0}, "sizebegin": 12, "sizeend": 2, "lifetime": 1000}}}})"),
                                  "bench");
        if (!draw)
            e->GetComponent(ctype::ParticleEmitter)->Read(json::parse(R"({"sprite": {}})"));
        e->Init();
        auto* emitter = e->Get<ParticleEmitter>(ctype::ParticleEmitter);
        for (int n = 0; n < kParticles; ++n)
            emitter->Emit();
        emitter->SetActive(true);
        emitters.push_back(std::move(e));
    }
    return emitters;
}

// One frame of particles: each emitter spawns a few (overwriting the oldest slots of its
// full ring), updates every particle and draws them all.
void Frame(const std::vector<std::unique_ptr<Entity>>& emitters, bool draw)
{
    for (const auto& e : emitters)
    {
        auto* emitter = static_cast<ParticleEmitter*>(e->GetComponent(ctype::ParticleEmitter));
        for (int n = 0; n < 10; ++n)
            emitter->Emit();
        emitter->Update(1.0f / 60.0f);
        if (draw)
            emitter->Render();
    }
}

void BM_ParticleUpdate(benchmark::State& state)
{
    auto emitters = MakeEmitters(false);
    std::size_t allocations = 0;
    for (auto _ : state)
    {
        const std::size_t before = bench::AllocationCount();
        Frame(emitters, false);
        allocations += bench::AllocationCount() - before;
    }
    state.counters["allocs_per_frame"] = static_cast<double>(allocations) / static_cast<double>(state.iterations());
    if (allocations != 0)
        state.SkipWithError("updating particles allocated");
}

void BM_ParticleUpdateAndDraw(benchmark::State& state)
{
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(GLOAMER_BENCH_CONTENT);
    WindowOptions options;
    options.windowed = true;
    options.hidden = true;
    WindowSystem& window = WindowSystem::Instance();
    window.Configure(options);
    Game::Wire();
    if (!window.Init() || !ShaderSystem::Instance().Init())
    {
        state.SkipWithError("no window or no shaders (run under xvfb-run)");
        window.Exit();
        std::filesystem::current_path(previous);
        return;
    }

    {
        auto emitters = MakeEmitters(true);
        // The driver compiles its shader variants during the first frames.
        for (int warm = 0; warm < 3; ++warm)
        {
            Frame(emitters, true);
            glFinish();
        }

        std::size_t allocations = 0;
        std::size_t draws = 0;
        std::size_t drawn = 0;
        CountDraws(true);
        for (auto _ : state)
        {
            window.Render();
            s_draws = 0;
            const std::size_t before = bench::AllocationCount();
            Frame(emitters, true);
            allocations += bench::AllocationCount() - before;
            draws += s_draws;
            for (const auto& e : emitters)
                drawn += static_cast<ParticleEmitter*>(e->GetComponent(ctype::ParticleEmitter))->LastDrawCount();
            glFinish();
        }
        CountDraws(false);

        const double frames = static_cast<double>(state.iterations());
        state.counters["draws_per_emitter"] = static_cast<double>(draws) / frames / kEmitters;
        state.counters["particles_per_emitter"] = static_cast<double>(drawn) / frames / kEmitters;
        state.counters["allocs_per_frame"] = static_cast<double>(allocations) / frames;
        if (allocations != 0)
            state.SkipWithError("updating or drawing particles allocated");
    }

    // Their GL objects die with this context; the next run makes a new one.
    Mesh::ClearTable();
    SpriteSource::ClearTable();
    ShaderSystem::Instance().Exit();
    window.Exit();
    window.Configure({});
    std::filesystem::current_path(previous);
}
} // namespace

BENCHMARK(BM_ParticleUpdate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParticleUpdateAndDraw)->Unit(benchmark::kMillisecond)->UseRealTime();
