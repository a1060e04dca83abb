#include "AllocationCounter.h"

#include "data/EntityList.h"
#include "physics/Circle.h"
#include "physics/Collider.h"
#include "physics/CollisionPass.h"
#include "physics/LineBuffer.h"
#include "physics/Physics.h"
#include "physics/Polygon.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <random>

namespace
{
constexpr float kSide = 10000.0f;
constexpr float kRegion = 200.0f;
constexpr float kStep = 1.0f / 60.0f;
constexpr int kPolygons = 200;
constexpr int kWalls = 2000;

struct Scene
{
    EntityList list{false};
    std::vector<std::pair<Physics*, Collider*>> bodies; // the moving ones
    LineBuffer walls;
};

Entity& AddBody(Scene& scene, const glm::vec2& at, std::unique_ptr<Shape> shape, bool isStatic,
                const glm::vec2& velocity)
{
    auto e = std::make_unique<Entity>();
    e->GetTransform().SetTranslation(at);
    auto* physics = static_cast<Physics*>(e->AddComponent(std::make_unique<Physics>()));
    physics->SetFriction(0.0f);
    physics->SetVelocity(velocity);
    auto* collider = static_cast<Collider*>(e->AddComponent(std::make_unique<Collider>()));
    collider->SetRigid(true);
    collider->SetStatic(isStatic);
    collider->SetShape(std::move(shape));
    Entity* added = scene.list.Add(std::move(e));
    if (!isStatic)
        scene.bodies.emplace_back(physics, collider);
    return *added;
}

// Moving circles, static squares and (optionally) short walls scattered over the scene.
void Build(Scene& scene, int circles, bool withWalls)
{
    std::mt19937 rng(1234);
    std::uniform_real_distribution<float> where(0.0f, kSide);
    std::uniform_real_distribution<float> speed(-300.0f, 300.0f);
    for (int i = 0; i < kPolygons; ++i)
    {
        const float h = 40.0f;
        AddBody(scene, {where(rng), where(rng)},
                std::make_unique<Polygon>(std::initializer_list<glm::vec2>{{-h, -h}, {h, -h}, {h, h}, {-h, h}}), true,
                glm::vec2(0.0f));
    }
    for (int i = 0; i < circles; ++i)
        AddBody(scene, {where(rng), where(rng)}, std::make_unique<Circle>(glm::vec2(0.0f), 20.0f), false,
                {speed(rng), speed(rng)});
    if (withWalls)
    {
        std::uniform_real_distribution<float> reach(-100.0f, 100.0f);
        for (int i = 0; i < kWalls; ++i)
        {
            const glm::vec2 s(where(rng), where(rng));
            scene.walls._lines.push_back({s, s + glm::vec2(reach(rng), reach(rng))});
        }
    }
}

// The frame's component updates, outside the timed pass; bodies turn back at the bounds.
void Move(Scene& scene)
{
    for (auto& [physics, collider] : scene.bodies)
    {
        glm::vec2 v = physics->GetVelocity();
        const glm::vec2 p = physics->GetOwner()->GetTransform().GetTranslation();
        if ((p.x < 0.0f && v.x < 0.0f) || (p.x > kSide && v.x > 0.0f))
            v.x = -v.x;
        if ((p.y < 0.0f && v.y < 0.0f) || (p.y > kSide && v.y > 0.0f))
            v.y = -v.y;
        physics->SetVelocity(v);
    }
    for (const auto& entity : scene.list.Entities())
        for (const auto& component : entity->Components())
            component->Update(kStep);
}

void RunPasses(benchmark::State& state, bool withWalls)
{
    Scene scene;
    Build(scene, static_cast<int>(state.range(0)), withWalls);
    const CollisionWorld world{{0.0f, 0.0f}, {kSide, kSide}, withWalls ? &scene.walls : nullptr};
    CollisionPass pass;
    for (int i = 0; i < 3; ++i)
    {
        Move(scene);
        pass.Run(scene.list, world, kRegion);
    }

    std::size_t allocations = 0;
    std::size_t passes = 0;
    std::size_t pairs = 0;
    for (auto _ : state)
    {
        Move(scene);
        const std::size_t before = bench::AllocationCount();
        const auto start = std::chrono::steady_clock::now();
        pass.Run(scene.list, world, kRegion);
        const auto end = std::chrono::steady_clock::now();
        allocations += bench::AllocationCount() - before;
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        pairs += pass.PairTests();
        ++passes;
    }
    state.counters["allocs_per_pass"] = static_cast<double>(allocations) / static_cast<double>(passes);
    state.counters["pairs_per_pass"] = static_cast<double>(pairs) / static_cast<double>(passes);
}

void BM_CollisionPass(benchmark::State& state)
{
    RunPasses(state, false);
}
BENCHMARK(BM_CollisionPass)->Arg(500)->Arg(2000)->Arg(8000)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_CollisionPassWithWalls(benchmark::State& state)
{
    RunPasses(state, true);
}
BENCHMARK(BM_CollisionPassWithWalls)->Arg(500)->Arg(2000)->Arg(8000)->UseManualTime()->Unit(benchmark::kMicrosecond);
} // namespace
