#include "AllocationCounter.h"
#include "BenchContent.h"

#include "Game.h"
#include "audio/SoundSystem.h"
#include "core/MessageSystem.h"
#include "core/Trace.h"
#include "core/WindowSystem.h"
#include "input/InputSystem.h"
#include "scene/SceneSystem.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numeric>
#include <vector>

namespace
{
constexpr float kDt = 0.016666668f;
constexpr int kFrameLimit = 2700;
// Loading, the camera tour and pools growing to their size are over by then.
constexpr std::size_t kSteadyFrom = 300;

// The frames where the winning script's legs start: its steps that carry a note.
std::vector<std::size_t> LegStarts(const char* script)
{
    std::vector<std::size_t> starts;
    std::ifstream in(script);
    const nlohmann::json steps = nlohmann::json::parse(in, nullptr, false);
    if (steps.is_array())
        for (const auto& step : steps)
            if (step.contains("note") && step.value("frame", -1) >= 0)
                starts.push_back(step["frame"].get<std::size_t>());
    return starts;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// The winning playthrough of level1 as `--headless --fixed-dt 0.016666668 --seed 7
// --scene level1 --input win.json` plays it: the game's systems in the game's order,
// until win_scene is live. The frame that builds win_scene allocates by nature and is
// counted apart from the steady state.
void BM_WinningPlaythrough(benchmark::State& state)
{
    const BenchContent content;
    const std::vector<std::size_t> legs = LegStarts(GLOAMER_BENCH_WIN_SCRIPT);
    if (legs.empty())
    {
        state.SkipWithError("cannot read the legs of " GLOAMER_BENCH_WIN_SCRIPT);
        return;
    }

    WindowOptions window;
    window.headless = true;
    WindowSystem::Instance().Configure(std::move(window));
    InputSystem::Instance().SetScriptFile(GLOAMER_BENCH_WIN_SCRIPT);
    Game::Wire();
    std::srand(7);
    SoundSystem::Instance().SetHeadless(true);
    SceneSystem& scenes = SceneSystem::Instance();
    scenes.ChangeScene("level1", false);
    const std::vector<System*> systems = Game::Systems();

    Trace::Open();
    std::size_t initialised = 0;
    while (initialised < systems.size() && systems[initialised]->Init())
        ++initialised;

    std::vector<double> ms;
    std::vector<std::size_t> allocs; // allocations made during each frame
    ms.reserve(kFrameLimit);
    allocs.reserve(kFrameLimit);
    bool won = false;
    const bool trace = bench::AllocationTraceRequested() > 0;
    for (auto _ : state)
    {
        if (initialised < systems.size())
            break;
        // The first frame's dt is 0, as in the game's loop.
        float dt = 0.0f;
        while (!won && ms.size() < kFrameLimit)
        {
            if (trace && ms.size() == kSteadyFrom)
                bench::TraceAllocations(true, bench::AllocationTraceRequested());
            const std::size_t before = bench::AllocationCount();
            const auto start = std::chrono::steady_clock::now();
            for (System* system : systems)
                system->Update(dt);
            for (System* system : systems)
                system->Render();
            const auto end = std::chrono::steady_clock::now();
            allocs.push_back(bench::AllocationCount() - before);
            ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
            won = scenes.FindScene("win_scene") != nullptr;
            dt = kDt;
        }
    }
    bench::TraceAllocations(false);
    for (std::size_t i = initialised; i-- > 0;)
        systems[i]->Exit();
    Trace::Close();
    InputSystem::Instance().Reset();
    InputSystem::Instance().SetScriptFile({});
    MessageSystem::Instance().Clear();

    if (initialised < systems.size())
        return state.SkipWithError("a system did not start");
    if (!won)
        return state.SkipWithError("the winning script did not reach win_scene");

    // The last frame built win_scene; the steady state runs from kSteadyFrom up to it.
    const std::size_t frames = ms.size();
    const std::size_t last = frames - 1;
    const auto sum = [&](std::size_t from, std::size_t to)
    { return std::accumulate(allocs.begin() + from, allocs.begin() + to, std::size_t{0}); };
    const std::size_t steadyFrom = std::min(kSteadyFrom, last);
    state.counters["frames"] = static_cast<double>(frames);
    state.counters["median_ms"] = Median(ms);
    state.counters["max_ms"] = *std::max_element(ms.begin(), ms.end());
    state.counters["mean_ms"] = std::accumulate(ms.begin(), ms.end(), 0.0) / static_cast<double>(frames);
    state.counters["allocs_per_frame"] = static_cast<double>(sum(0, frames)) / static_cast<double>(frames);
    state.counters["allocs_steady"] = static_cast<double>(sum(steadyFrom, last));
    state.counters["allocs_scene_change"] = static_cast<double>(allocs[last]);
    state.counters["steady_median_ms"] = Median({ms.begin() + static_cast<std::ptrdiff_t>(steadyFrom), ms.end() - 1});

    // Per leg: where in the playthrough anything allocates or runs slow.
    for (std::size_t i = 0; i < legs.size() && legs[i] < last; ++i)
    {
        const std::size_t from = legs[i];
        const std::size_t to = std::min(i + 1 < legs.size() ? legs[i + 1] : last, last);
        const std::vector<double> leg(ms.begin() + static_cast<std::ptrdiff_t>(from),
                                      ms.begin() + static_cast<std::ptrdiff_t>(to));
        std::fprintf(stderr, "leg from frame %5zu: %4zu frames, median %.3f ms, max %.3f ms, %zu allocations\n", from,
                     to - from, Median(leg), leg.empty() ? 0.0 : *std::max_element(leg.begin(), leg.end()),
                     sum(from, to));
    }
}
BENCHMARK(BM_WinningPlaythrough)->Unit(benchmark::kMillisecond)->Iterations(1);
} // namespace
