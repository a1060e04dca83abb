#include "AllocationCounter.h"
#include "BenchContent.h"

#include "Game.h"
#include "audio/SoundSystem.h"
#include "core/MainLoop.h"
#include "core/MessageSystem.h"
#include "core/WindowSystem.h"
#include "input/InputSystem.h"
#include "render/LightMap.h"
#include "render/RenderGlobals.h"
#include "render/SpriteBatch.h"
#include "scene/SceneSystem.h"

#include <GLFW/glfw3.h>
#include <benchmark/benchmark.h>
#include <glad/gl.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace
{
// CPU time of every thread of the process (the driver's rasteriser threads included), in ms.
double ProcessCpuMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t)
    { return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_usec) / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

constexpr float kDt = 1.0f / 60.0f;
// A key nothing is bound to; any key ends the level's camera tour.
constexpr int kTourKey = 309;
constexpr int kSettleFrames = 40;

// level1 as the game draws it in a window of the given size (run under xvfb-run): every
// system of the game updates and renders, and glFinish makes each frame's drawing count
// in full. The camera tour is ended by a key press first, so the timed frames show the
// level around the player.
void BM_Level1Draw(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const BenchContent content;

    WindowOptions options;
    options.windowed = true;
    WindowSystem& window = WindowSystem::Instance();
    window.Configure(options);
    Game::Wire();
    SoundSystem::Instance().SetHeadless(true);
    SceneSystem::Instance().ChangeScene("level1", false);
    const std::vector<System*> systems = Game::Systems();
    std::vector<System*> started;
    for (System* system : systems)
    {
        if (!system->Init())
            break;
        started.push_back(system);
    }
    const auto finish = [&]
    {
        // The tables hold GL names of this context; the next run makes a new one.
        for (auto it = started.rbegin(); it != started.rend(); ++it)
            if (*it != &window)
                (*it)->Exit();
        ResetRenderGlobals();
        if (!started.empty())
            window.Exit();
        InputSystem::Instance().Reset();
        MessageSystem::Instance().Clear();
        window.Configure({});
        Engine::ResetRunFlag();
    };
    if (started.size() != systems.size())
    {
        state.SkipWithError("the game did not start (run under xvfb-run)");
        finish();
        return;
    }

    glfwSetWindowSize(window.GetWindow(), width, height);
    int framebufferWidth = 0;
    int framebufferHeight = 0;
    for (int tries = 0; tries < 100 && (framebufferWidth != width || framebufferHeight != height); ++tries)
    {
        glfwPollEvents();
        glfwGetFramebufferSize(window.GetWindow(), &framebufferWidth, &framebufferHeight);
    }
    if (framebufferWidth != width || framebufferHeight != height)
    {
        state.SkipWithError("the window did not take the size asked for");
        finish();
        return;
    }

    const auto frame = [&]
    {
        for (System* system : systems)
            system->Update(kDt);
        for (System* system : systems)
            system->Render();
        glFinish();
    };
    InputSystem& input = InputSystem::Instance();
    for (int i = 0; i < kSettleFrames; ++i)
    {
        if (i == 5)
            input.HandleButton(kTourKey, InputSystem::kPress);
        if (i == 7)
            input.HandleButton(kTourKey, InputSystem::kRelease);
        frame();
    }

    std::vector<double> milliseconds;
    milliseconds.reserve(static_cast<std::size_t>(state.max_iterations));
    SpriteBatch::ResetCounts();
    const std::uint64_t lightMapsBefore = LightMap::Draws();
    const std::size_t allocationsBefore = bench::AllocationCount();
    const double cpuBefore = ProcessCpuMilliseconds();
    for (auto _ : state)
    {
        const auto start = std::chrono::steady_clock::now();
        frame();
        const auto end = std::chrono::steady_clock::now();
        milliseconds.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    const std::size_t allocations = bench::AllocationCount() - allocationsBefore;
    const double cpu = ProcessCpuMilliseconds() - cpuBefore;

    std::sort(milliseconds.begin(), milliseconds.end());
    const double frames = static_cast<double>(std::max<std::size_t>(milliseconds.size(), 1));
    const double median = milliseconds.empty() ? 0.0 : milliseconds[milliseconds.size() / 2];
    state.counters["median_ms"] = median;
    state.counters["worst_ms"] = milliseconds.empty() ? 0.0 : milliseconds.back();
    state.counters["fps_at_median"] = median > 0.0 ? 1000.0 / median : 0.0;
    // Less disturbed than the wall clock when other work shares the cores.
    state.counters["cpu_ms_per_frame"] = cpu / frames;
    state.counters["draws_per_frame"] = static_cast<double>(SpriteBatch::GetCounts().draws) / frames;
    state.counters["light_maps_per_frame"] = static_cast<double>(LightMap::Draws() - lightMapsBefore) / frames;
    state.counters["allocs_per_frame"] = static_cast<double>(allocations) / frames;
    finish();
}
} // namespace

// One frame per iteration, a fixed count: starting the game is too heavy to repeat.
BENCHMARK(BM_Level1Draw)
    ->Args({1280, 720})
    ->Args({1920, 1080})
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
