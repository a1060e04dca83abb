#include "AllocationCounter.h"
#include "BenchContent.h"

#include "Game.h"
#include "audio/SoundSystem.h"
#include "core/MessageSystem.h"
#include "input/InputSystem.h"
#include "scene/SceneSystem.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace
{
constexpr float kDt = 1.0f / 60.0f;
constexpr int kKeyA = 65, kKeyD = 68;

// The player's lab level with its HUD, simulated headless as `--headless --fixed-dt`
// does: the player walks right and left across the room, a second each way.
void BM_PlayerLabWalking(benchmark::State& state)
{
    const BenchContent content;
    Game::Wire();
    SoundSystem& sound = SoundSystem::Instance();
    sound.SetHeadless(true);
    SceneSystem& scenes = SceneSystem::Instance();
    scenes.ChangeScene("playerlab", false);
    InputSystem& input = InputSystem::Instance();
    MessageSystem& messages = MessageSystem::Instance();
    if (!sound.Init() || !scenes.Init() || !input.Init())
    {
        state.SkipWithError("the lab did not start");
        return;
    }

    long long frame = 0;
    const auto step = [&]
    {
        // Turn round every second.
        if (frame % 60 == 0)
        {
            const bool right = (frame / 60) % 2 == 0;
            input.HandleButton(right ? kKeyA : kKeyD, InputSystem::kRelease);
            input.HandleButton(right ? kKeyD : kKeyA, InputSystem::kPress);
        }
        sound.Update(kDt);
        scenes.Update(kDt);
        input.Update(kDt);
        messages.Update(kDt);
        ++frame;
    };
    // Past the first turn, so every sound and pool the walk uses exists.
    for (int i = 0; i < 180; ++i)
        step();

    std::vector<double> milliseconds;
    milliseconds.reserve(1 << 20);
    const std::size_t before = bench::AllocationCount();
    for (auto _ : state)
    {
        const auto start = std::chrono::steady_clock::now();
        step();
        const auto end = std::chrono::steady_clock::now();
        if (milliseconds.size() < milliseconds.capacity())
            milliseconds.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    const std::size_t allocations = bench::AllocationCount() - before;
    const auto middle = milliseconds.begin() + static_cast<std::ptrdiff_t>(milliseconds.size() / 2);
    std::nth_element(milliseconds.begin(), middle, milliseconds.end());
    state.counters["median_ms"] = milliseconds.empty() ? 0.0 : *middle;
    state.counters["allocs_per_frame"] =
        static_cast<double>(allocations) / static_cast<double>(std::max<std::size_t>(milliseconds.size(), 1));

    scenes.Exit();
    sound.Exit();
    input.Reset();
    messages.Clear();
}
BENCHMARK(BM_PlayerLabWalking)->Unit(benchmark::kMillisecond)->Iterations(3000);
} // namespace
