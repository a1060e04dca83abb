#include "AllocationCounter.h"

#include "Game.h"
#include "core/WindowSystem.h"
#include "data/Entity.h"
#include "render/GlState.h"
#include "render/LightUniforms.h"
#include "render/Mesh.h"
#include "render/SceneLights.h"
#include "render/ShaderSystem.h"
#include "render/SpriteBatch.h"

#include <benchmark/benchmark.h>
#include <glad/gl.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace
{
// A scene's worth of lamps spread over the screen, gathered again each frame as a scene
// does before its sprites draw.
void GatherLamps(SceneLights& lights, int count)
{
    lights.Clear();
    for (int i = 0; i < count; ++i)
    {
        SceneLights::Light lamp;
        lamp._position = {static_cast<float>((i * 211) % 1800 - 900), static_cast<float>((i * 97) % 1000 - 500)};
        lamp._radius = 260.0f;
        lamp._factor = 1.0f;
        lamp._falloff = 1.5f;
        lamp._colour = {1.0f, 0.8f, 0.6f, 1.0f};
        lights.AddLight(lamp, &lights._positions);
    }
}

// Textured 48 x 48 sprites spread over a hidden 1920 x 1080 window, all sharing one
// texture and program: measures the per-sprite draw path (binds, uniform uploads, the
// draw call) and what the driver does with it. glFinish makes each frame's rendering
// count in full. With lights, the sprites use the lit program under that many lamps.
void BM_SpriteDraw(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const int lamps = static_cast<int>(state.range(1));
    const std::string shader = lamps > 0 ? "lit" : "default";
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
            "shader": {"name": ")" + shader + R"("}}}})"),
                                           "bench"));
    }

    SceneLights lights;
    // The driver compiles its shader variants during the first frames.
    for (int warm = 0; warm < 3; ++warm)
    {
        GatherLamps(lights, lamps);
        LightUniforms::Use(&lights);
        for (const auto& sprite : sprites)
            sprite->Render();
        SpriteBatch::Flush();
        glFinish();
    }

    GlState::ResetCounts();
    SpriteBatch::ResetCounts();
    std::size_t allocations = 0;
    for (auto _ : state)
    {
        const std::size_t before = bench::AllocationCount();
        window.Render();
        GatherLamps(lights, lamps);
        LightUniforms::Use(&lights);
        for (const auto& sprite : sprites)
            sprite->Render();
        SpriteBatch::Flush();
        allocations += bench::AllocationCount() - before;
        glFinish();
    }

    // A frame that drew nothing would time well too: count what reached the screen.
    std::vector<unsigned char> pixels(1920u * 1080u * 4u);
    glReadPixels(0, 0, 1920, 1080, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    std::size_t lit = 0;
    for (std::size_t p = 0; p < pixels.size(); p += 4)
        lit += (pixels[p] | pixels[p + 1] | pixels[p + 2]) > 40 ? 1 : 0;
    state.counters["lit_pixels"] = static_cast<double>(lit);
    int brightest = 0;
    for (std::size_t p = 0; p < pixels.size(); p += 4)
        brightest = std::max(brightest, pixels[p] + pixels[p + 1] + pixels[p + 2]);
    state.counters["brightest"] = brightest;

    const GlState::BindCounts& binds = GlState::Counts();
    const double drawn = static_cast<double>(state.iterations()) * count;
    state.counters["program_binds_per_sprite"] = static_cast<double>(binds.programs) / drawn;
    state.counters["texture_binds_per_sprite"] = static_cast<double>(binds.textures) / drawn;
    state.counters["vao_binds_per_sprite"] = static_cast<double>(binds.vertexArrays) / drawn;
    state.counters["draws_per_frame"] =
        static_cast<double>(SpriteBatch::GetCounts().draws) / static_cast<double>(state.iterations());
    state.counters["allocs_per_frame"] = static_cast<double>(allocations) / static_cast<double>(state.iterations());

    LightUniforms::Use(nullptr);
    sprites.clear();
    // The next run has a new context; table meshes built in this one go with it.
    Mesh::ClearTable();
    ShaderSystem::Instance().Exit();
    window.Exit();
    window.Configure({});
    std::filesystem::current_path(previous);
}
} // namespace

// One run of a fixed length: the set-up (window, shaders, 2000 sprites) is too heavy to
// repeat while the library searches for an iteration count.
BENCHMARK(BM_SpriteDraw)
    ->Args({2000, 0})
    ->Args({2000, 64})
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
