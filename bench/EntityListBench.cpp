#include "AllocationCounter.h"

#include "data/EntityList.h"
#include "data/FieldDescriptor.h"

#include <benchmark/benchmark.h>

namespace
{
// Three small components of different types, each doing a little work per call,
// so the numbers measure the list walk and dispatch rather than game logic.
template <CType Type> class Ticker : public ComponentBase<Ticker<Type>>
{
public:
    Ticker() : ComponentBase<Ticker<Type>>(Type) {}
    void Read(const json&) override {}
    void Write(json&) const override {}
    void Update(float dt) override { _time += dt; }
    void FixedUpdate(float step) override { _steps += step; }

    float _time = 0.0f;
    float _steps = 0.0f;
};

void BM_EntityListUpdate(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    EntityList list(true);
    for (int i = 0; i < count; ++i)
    {
        auto e = std::make_unique<Entity>("e" + std::to_string(i));
        e->AddComponent(std::make_unique<Ticker<0>>());
        e->AddComponent(std::make_unique<Ticker<2>>());
        e->AddComponent(std::make_unique<Ticker<5>>());
        list.AddUninitialised(std::move(e));
    }
    list.InitAll();
    list.Update(1.0f / 60.0f); // reach steady state

    const std::size_t before = bench::AllocationCount();
    std::size_t updates = 0;
    for (auto _ : state)
    {
        list.Update(1.0f / 60.0f);
        ++updates;
    }
    const std::size_t allocations = bench::AllocationCount() - before;
    state.counters["ns_per_entity"] = benchmark::Counter(static_cast<double>(count) * static_cast<double>(updates),
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["allocs_per_update"] = static_cast<double>(allocations) / static_cast<double>(updates);
    state.SetItemsProcessed(static_cast<int64_t>(updates) * count);
}
BENCHMARK(BM_EntityListUpdate)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_EntityListRenderSort(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    EntityList list(false);
    for (int i = 0; i < count; ++i)
    {
        auto e = std::make_unique<Entity>();
        e->GetTransform().SetDepth(i % 7);
        e->GetTransform().SetTranslation({0.0f, static_cast<float>((i * 7919) % 1000)});
        list.AddUninitialised(std::move(e));
    }
    list.SortForDrawing();
    const std::size_t before = bench::AllocationCount();
    std::size_t frames = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(list.SortForDrawing().data());
        ++frames;
    }
    state.counters["allocs_per_frame"] =
        static_cast<double>(bench::AllocationCount() - before) / static_cast<double>(frames);
}
BENCHMARK(BM_EntityListRenderSort)->Arg(10000)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
