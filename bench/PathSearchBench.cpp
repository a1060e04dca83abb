#include "AllocationCounter.h"

#include "physics/PathSearch.h"

#include <benchmark/benchmark.h>

#include <climits>
#include <queue>
#include <tuple>

namespace
{
constexpr int kSide = 256;
constexpr float kCell = 10.0f;

// The worst cases on a 256 x 256 grid: a maze of three-wide corridors that the search
// has to walk end to end, and an open floor whose target is walled in, so every
// reachable cell is expanded before the search gives up.
enum class Layout
{
    Serpentine,
    WalledIn,
};

struct Case
{
    PathMap map;
    glm::vec2 start{0.0f};
    glm::vec2 target{0.0f};
};

Case Build(Layout layout)
{
    std::vector<std::uint32_t> tiles(static_cast<std::size_t>(kSide * kSide), 0u);
    const auto set = [&](int x, int top, std::uint32_t v) { tiles[static_cast<std::size_t>(top * kSide + x)] = v; };
    if (layout == Layout::Serpentine)
    {
        // A wall every fourth row, open at alternate ends.
        for (int top = 3, k = 0; top < kSide; top += 4, ++k)
            for (int x = 0; x < kSide; ++x)
                if (k % 2 == 0 ? x < kSide - 3 : x >= 3)
                    set(x, top, 1u);
    }
    else
    {
        for (int x = kSide - 6; x < kSide; ++x)
        {
            set(x, kSide - 6, 1u);
            set(x, kSide - 1, 1u);
        }
        for (int top = kSide - 6; top < kSide; ++top)
        {
            set(kSide - 6, top, 1u);
            set(kSide - 1, top, 1u);
        }
    }
    Case c;
    c.map = pathmap::Build(tiles, kSide, kSide, kCell, glm::vec2(0.0f));
    c.start = pathmap::CellCentre(c.map, 1, kSide - 2);
    c.target = pathmap::CellCentre(c.map, kSide - 3, layout == Layout::Serpentine ? 1 : 2);
    return c;
}

// The cost of a cell path under the search's own step costs.
long long PathCost(const PathMap& map, const std::vector<std::int32_t>& path)
{
    long long cost = 0;
    for (std::size_t i = 1; i < path.size(); ++i)
    {
        const PathNode& a = map._nodes[static_cast<std::size_t>(path[i - 1])];
        const PathNode& b = map._nodes[static_cast<std::size_t>(path[i])];
        const int dx = b._x - a._x, dy = b._y - a._y;
        int extra = 0;
        if (dx != 0 && dy != 0)
            extra = (map.At(a._x + dx, a._y)._weight + map.At(a._x, a._y + dy)._weight) / 4;
        cost += pathmap::Octile(dx, dy) + a._weight + extra;
    }
    return cost;
}

// A textbook A*: std::priority_queue with lazy deletion, same costs and corner rule.
struct Textbook
{
    std::vector<int> g, parent;
    std::vector<char> closed;
    std::vector<std::int32_t> path;
    std::uint64_t expansions = 0;

    void Run(const PathMap& map, glm::vec2 from, glm::vec2 to)
    {
        const std::size_t n = map._nodes.size();
        g.assign(n, INT_MAX);
        parent.assign(n, -1);
        closed.assign(n, 0);
        expansions = 0;
        const glm::ivec2 s = pathmap::CellOf(map, from), t = pathmap::CellOf(map, to);
        const int start = map.Index(s.x, s.y), goal = map.Index(t.x, t.y);
        using Entry = std::tuple<int, int, int>; // f, g, node
        std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
        g[static_cast<std::size_t>(start)] = 0;
        open.emplace(0, 0, start);
        int best = start, bestH = INT_MAX;
        while (!open.empty())
        {
            const auto [f, gg, node] = open.top();
            open.pop();
            if (closed[static_cast<std::size_t>(node)])
                continue;
            closed[static_cast<std::size_t>(node)] = 1;
            ++expansions;
            const PathNode& c = map._nodes[static_cast<std::size_t>(node)];
            const int h = pathmap::Octile(c._x - t.x, c._y - t.y);
            if (h < bestH)
            {
                bestH = h;
                best = node;
            }
            if (node == goal)
                break;
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy)
                {
                    if ((dx == 0 && dy == 0) || !map.Contains(c._x + dx, c._y + dy))
                        continue;
                    int extra = 0;
                    if (dx != 0 && dy != 0)
                    {
                        const int a = map.At(c._x + dx, c._y)._weight, b = map.At(c._x, c._y + dy)._weight;
                        if (a < 0 || b < 0)
                            continue;
                        extra = (a + b) / 4;
                    }
                    const int m = map.Index(c._x + dx, c._y + dy);
                    const PathNode& next = map._nodes[static_cast<std::size_t>(m)];
                    if (next._weight < 0 || closed[static_cast<std::size_t>(m)])
                        continue;
                    const int ng = g[static_cast<std::size_t>(node)] + pathmap::Octile(dx, dy) + c._weight + extra;
                    if (ng >= g[static_cast<std::size_t>(m)])
                        continue;
                    g[static_cast<std::size_t>(m)] = ng;
                    parent[static_cast<std::size_t>(m)] = node;
                    open.emplace(ng + next._weight + pathmap::Octile(next._x - t.x, next._y - t.y), ng, m);
                }
        }
        path.clear();
        for (int at = best; at >= 0; at = parent[static_cast<std::size_t>(at)])
            path.insert(path.begin(), at);
    }
};

void BM_PathSearchHeap(benchmark::State& state)
{
    Case c = Build(static_cast<Layout>(state.range(0)));
    PathSearch search;
    Textbook reference;
    reference.Run(c.map, c.start, c.target);
    std::uint64_t expansions = 0;
    std::size_t allocations = 0;
    for (auto _ : state)
    {
        const std::size_t before = bench::AllocationCount();
        pathsearch::Run(c.map, search, c.start, c.target, PathSearch::kUnlimited);
        allocations = bench::AllocationCount() - before;
        expansions += search._expansions;
    }
    if (PathCost(c.map, search._cellPath) != PathCost(c.map, reference.path))
        state.SkipWithError("the heap search and the textbook search found paths of different cost");
    state.counters["expansions/s"] = benchmark::Counter(static_cast<double>(expansions), benchmark::Counter::kIsRate);
    state.counters["expansions"] = static_cast<double>(search._expansions);
    state.counters["path cost"] = static_cast<double>(PathCost(c.map, search._cellPath));
    state.counters["allocs/search"] = static_cast<double>(allocations);
    state.counters["opened"] = static_cast<double>(search._nextOrder);
}

void BM_PathSearchTextbook(benchmark::State& state)
{
    Case c = Build(static_cast<Layout>(state.range(0)));
    Textbook reference;
    std::uint64_t expansions = 0;
    for (auto _ : state)
    {
        reference.Run(c.map, c.start, c.target);
        expansions += reference.expansions;
    }
    state.counters["expansions/s"] = benchmark::Counter(static_cast<double>(expansions), benchmark::Counter::kIsRate);
    state.counters["expansions"] = static_cast<double>(reference.expansions);
    state.counters["path cost"] = static_cast<double>(PathCost(c.map, reference.path));
}
} // namespace

BENCHMARK(BM_PathSearchHeap)
    ->Arg(static_cast<int>(Layout::Serpentine))
    ->Arg(static_cast<int>(Layout::WalledIn))
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PathSearchTextbook)
    ->Arg(static_cast<int>(Layout::Serpentine))
    ->Arg(static_cast<int>(Layout::WalledIn))
    ->Unit(benchmark::kMillisecond);
