#include "AllocationCounter.h"

#include "actions/ActionList.h"
#include "actions/TemplAction.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace
{
// Many long tweens spread over the eight lanes, one in eight blocking, the way menus
// and HUD slides fill a list: measures the walk, the lane test and one ease per action.
void BM_ActionListUpdate(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    std::vector<float> values(static_cast<std::size_t>(count), 0.0f);
    ActionList list;
    for (int i = 0; i < count; ++i)
    {
        const Lanes lanes{1 + i % 8};
        list.Add(
            TemplAction<float>(values[static_cast<std::size_t>(i)], 1.0f, 0.0f, 1.0e6f, lanes, i % 64 == 63, i % 11));
    }
    list.Update(1.0f / 60.0f); // the queued actions join

    const std::size_t before = bench::AllocationCount();
    std::size_t updates = 0;
    for (auto _ : state)
    {
        list.Update(1.0f / 60.0f);
        ++updates;
    }
    state.counters["ns_per_action"] = benchmark::Counter(static_cast<double>(count) * static_cast<double>(updates),
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["allocs_per_update"] =
        static_cast<double>(bench::AllocationCount() - before) / static_cast<double>(updates);
}
BENCHMARK(BM_ActionListUpdate)->Arg(1000)->Unit(benchmark::kMicrosecond);
} // namespace
