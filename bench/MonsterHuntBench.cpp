#include "AllocationCounter.h"
#include "BenchContent.h"

#include "Game.h"
#include "audio/SoundSystem.h"
#include "behaviors/monster/BehaviorMonster.h"
#include "core/MessageSystem.h"
#include "data/Entity.h"
#include "input/InputSystem.h"
#include "physics/Status.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <benchmark/benchmark.h>
#include <glm/geometric.hpp>

#include <algorithm>
#include <any>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace
{
constexpr float kDt = 1.0f / 60.0f;

// level1 simulated headless as `--headless --fixed-dt` does, the monster woken in the
// far corner and hunting a player who jumps between opposite rooms every two seconds,
// so it keeps searching new paths across the whole level. The player cannot be
// grabbed here, so the hunt never stops for a struggle.
void BM_MonsterHuntingLevel1(benchmark::State& state)
{
    const BenchContent content;
    Game::Wire();
    SoundSystem& sound = SoundSystem::Instance();
    sound.SetHeadless(true);
    SceneSystem& scenes = SceneSystem::Instance();
    scenes.ChangeScene("level1", false);
    InputSystem& input = InputSystem::Instance();
    MessageSystem& messages = MessageSystem::Instance();
    Scene* level = nullptr;
    Entity* player = nullptr;
    if (sound.Init() && scenes.Init() && input.Init())
    {
        level = scenes.FindScene("level1");
        player = level ? level->FindEntity("player") : nullptr;
    }
    Entity* monster = player ? level->FindEntity("monster") : nullptr;
    if (!monster)
    {
        state.SkipWithError(level ? "level1 has no player or no monster" : "level1 did not start");
        return;
    }
    if (Status* status = player->Get<Status>(ctype::Status))
        status->_tempMask &= static_cast<std::uint16_t>(~StatusBit(StatusFlag::Shade));

    const glm::vec2 rooms[] = {{-1120.0f, -864.0f}, {1400.0f, 900.0f}, {1400.0f, -900.0f}, {-1400.0f, 900.0f}};
    long long frame = 0;
    const auto step = [&]
    {
        if (frame % 120 == 0)
            player->GetTransform().SetTranslation(rooms[(frame / 120) % 4]);
        sound.Update(kDt);
        scenes.Update(kDt);
        input.Update(kDt);
        messages.Update(kDt);
        ++frame;
    };
    messages.Send(Message("collected", {glm::vec2(1400.0f, 900.0f)}, 0.0f, true));
    // Past the emergence, so the monster hunts from the first measured frame.
    for (int i = 0; i < 180; ++i)
        step();

    // The hunt must really run: the distance walked shows it.
    double travelled = 0.0;
    glm::vec2 last = monster->GetTransform().GetTranslation();
    std::vector<double> milliseconds;
    milliseconds.reserve(1 << 20);
    const std::size_t before = bench::AllocationCount();
    bench::TraceAllocations(bench::AllocationTraceRequested() > 0, bench::AllocationTraceRequested());
    // Pools and lists that grow to their size once still do so in the first half; the
    // second half shows whether anything allocates frame after frame.
    const auto half = static_cast<std::size_t>(state.max_iterations / 2);
    std::size_t atHalf = before;
    for (auto _ : state)
    {
        if (milliseconds.size() == half)
            atHalf = bench::AllocationCount();
        const auto start = std::chrono::steady_clock::now();
        step();
        const auto end = std::chrono::steady_clock::now();
        if (milliseconds.size() < milliseconds.capacity())
            milliseconds.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        const glm::vec2 now = monster->GetTransform().GetTranslation();
        travelled += glm::length(now - last);
        last = now;
    }
    const std::size_t allocations = bench::AllocationCount() - before;
    bench::TraceAllocations(false);
    std::vector<double> sorted = milliseconds;
    const auto middle = sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2);
    std::nth_element(sorted.begin(), middle, sorted.end());
    state.counters["median_ms"] = sorted.empty() ? 0.0 : *middle;
    state.counters["max_ms"] = sorted.empty() ? 0.0 : *std::max_element(sorted.begin(), sorted.end());
    state.counters["travelled"] = travelled;
    if (const auto* behavior = monster->Get<BehaviorMonster>(ctype::Behavior))
        state.counters["monster_state"] = behavior->GetState();
    state.counters["allocs_per_frame"] =
        static_cast<double>(allocations) / static_cast<double>(std::max<std::size_t>(milliseconds.size(), 1));
    state.counters["allocs_2nd_half"] = static_cast<double>(before + allocations - atHalf);

    scenes.Exit();
    sound.Exit();
    input.Reset();
    messages.Clear();
}
BENCHMARK(BM_MonsterHuntingLevel1)->Unit(benchmark::kMillisecond)->Iterations(3000);
} // namespace
