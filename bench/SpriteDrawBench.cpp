#include "AllocationCounter.h"

#include "Game.h"
#include "core/WindowSystem.h"
#include "data/Entity.h"
#include "render/GlState.h"
#include "render/ShaderSystem.h"

#include <benchmark/benchmark.h>
#include <glad/gl.h>

#include <filesystem>
#include <memory>
#include <vector>

namespace
{
// Textured 48 x 48 sprites spread over a hidden 1920 x 1080 window, all sharing one
// texture and program: measures the per-sprite draw path (binds, uniform uploads, the
// draw call) and what the driver does with it. glFinish makes each frame's rendering
// count in full.
void BM_SpriteDraw(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
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

    std::vector<std::unique_ptr<Entity>> sprites;
    for (int i = 0; i < count; ++i)
    {
        const float x = static_cast<float>((i * 37) % 1900 - 950);
        const float y = static_cast<float>((i * 53) % 1060 - 530);
        sprites.push_back(Entity::FromJson(json::parse(R"({"transform": {"translation": {"x": )" + std::to_string(x) +
                                                       R"(, "y": )" + std::to_string(y) + R"(},
            "scale": {"x": 48, "y": 48}}, "components": {"sprite": {
            "mesh": {"type": "quad", "name": "unit", "halfsizex": 0.5, "halfsizey": 0.5, "u": 1, "v": 1},
            "spritesource": {"name": "logo", "source": "Assets/Art/logo.png", "cols": 1, "rows": 1},
            "shader": {"name": "default"}}}})"),
                                           "bench"));
    }

    // The driver compiles its shader variants during the first frames.
    for (int warm = 0; warm < 3; ++warm)
    {
        for (const auto& sprite : sprites)
            sprite->Render();
        glFinish();
    }

    GlState::ResetCounts();
    std::size_t allocations = 0;
    for (auto _ : state)
    {
        const std::size_t before = bench::AllocationCount();
        window.Render();
        for (const auto& sprite : sprites)
            sprite->Render();
        allocations += bench::AllocationCount() - before;
        glFinish();
    }

    const GlState::BindCounts& binds = GlState::Counts();
    const double drawn = static_cast<double>(state.iterations()) * count;
    state.counters["program_binds_per_sprite"] = static_cast<double>(binds.programs) / drawn;
    state.counters["texture_binds_per_sprite"] = static_cast<double>(binds.textures) / drawn;
    state.counters["vao_binds_per_sprite"] = static_cast<double>(binds.vertexArrays) / drawn;
    state.counters["allocs_per_frame"] = static_cast<double>(allocations) / static_cast<double>(state.iterations());

    sprites.clear();
    ShaderSystem::Instance().Exit();
    window.Exit();
    window.Configure({});
    std::filesystem::current_path(previous);
}
} // namespace

BENCHMARK(BM_SpriteDraw)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();
