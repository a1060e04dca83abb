#include "physics/PathSearch.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <utility>

namespace
{
using OpenEntry = PathSearch::OpenEntry;

// The heap of late arrivals: 4-ary, half the depth of a binary one, and the four
// children compared at each level share a cache line.
class BucketHeap
{
public:
    static void Push(std::vector<OpenEntry>& heap, const OpenEntry& entry)
    {
        std::size_t i = heap.size();
        heap.push_back(entry);
        OpenEntry* h = heap.data();
        while (i > 0)
        {
            const std::size_t parent = (i - 1) / 4;
            if (entry._gOrder >= h[parent]._gOrder)
                break;
            h[i] = h[parent];
            i = parent;
        }
        h[i] = entry;
    }

    // Takes the smallest entry out. The hole it leaves sinks to the bottom along the
    // smaller children and the last entry rises from there, which usually places it in
    // a step or two; the order entries pop in does not depend on the heap's shape.
    static OpenEntry Pop(std::vector<OpenEntry>& heap)
    {
        OpenEntry* h = heap.data();
        const OpenEntry top = h[0];
        const OpenEntry last = heap.back();
        heap.pop_back();
        const std::size_t n = heap.size();
        if (n == 0)
            return top;
        std::size_t i = 0;
        for (;;)
        {
            const std::size_t first = 4 * i + 1;
            if (first + 4 <= n)
            {
                const std::size_t a = h[first + 1]._gOrder < h[first]._gOrder ? first + 1 : first;
                const std::size_t b = h[first + 3]._gOrder < h[first + 2]._gOrder ? first + 3 : first + 2;
                const std::size_t best = h[b]._gOrder < h[a]._gOrder ? b : a;
                h[i] = h[best];
                i = best;
                continue;
            }
            if (first < n)
            {
                std::size_t best = first;
                for (std::size_t k = first + 1; k < n; ++k)
                    if (h[k]._gOrder < h[best]._gOrder)
                        best = k;
                h[i] = h[best];
                i = best;
            }
            break;
        }
        while (i > 0)
        {
            const std::size_t parent = (i - 1) / 4;
            if (last._gOrder >= h[parent]._gOrder)
                break;
            h[i] = h[parent];
            i = parent;
        }
        h[i] = last;
        return top;
    }
};

std::uint32_t GOf(const OpenEntry& e)
{
    return static_cast<std::uint32_t>(e._gOrder >> 32);
}

// Sorts a bucket by g; `low` and `high` bound its g values. Its entries arrived in
// order, so a stable sort by g alone sorts them by (g, order): insertion for a few,
// otherwise a radix sort on g - low, six bits a pass (a bucket's g values mostly span a
// few thousand: two passes).
void SortByG(std::vector<OpenEntry>& entries, std::vector<OpenEntry>& scratch, std::uint32_t low, std::uint32_t high)
{
    const std::size_t n = entries.size();
    if (n <= 24)
    {
        for (std::size_t i = 1; i < n; ++i)
        {
            const OpenEntry e = entries[i];
            std::size_t j = i;
            for (; j > 0 && entries[j - 1]._gOrder > e._gOrder; --j)
                entries[j] = entries[j - 1];
            entries[j] = e;
        }
        return;
    }
    const std::uint32_t span = high - low;
    scratch.resize(n);
    OpenEntry* from = entries.data();
    OpenEntry* to = scratch.data();
    constexpr std::uint32_t kBits = 6, kDigits = 1u << kBits;
    for (std::uint32_t shift = 0; shift < 32 && (span >> shift) != 0; shift += kBits)
    {
        std::array<std::uint32_t, kDigits> start{};
        for (std::size_t i = 0; i < n; ++i)
            ++start[((GOf(from[i]) - low) >> shift) & (kDigits - 1)];
        std::uint32_t sum = 0;
        for (std::uint32_t& s : start)
            sum += std::exchange(s, sum);
        for (std::size_t i = 0; i < n; ++i)
            to[start[((GOf(from[i]) - low) >> shift) & (kDigits - 1)]++] = from[i];
        std::swap(from, to);
    }
    if (from != entries.data())
        entries.swap(scratch);
}

// The open and closed lists; a path found before stays until a new one replaces it.
void ClearLists(PathSearch& search)
{
    for (std::vector<OpenEntry>& bucket : search._open)
        bucket.clear();
    search._openEntries = 0;
    search._lowestSorted = false;
    search._next = 0;
    search._late.clear();
    search._closed.clear();
}

class Searcher
{
public:
    Searcher(PathMap& map, PathSearch& search, std::int32_t goal)
        : _map(map), _search(search), _goal(goal), _goalX(map._nodes[Index(goal)]._x),
          _goalY(map._nodes[Index(goal)]._y)
    {
    }

    static std::size_t Index(std::int32_t node) { return static_cast<std::size_t>(node); }

    PathNode& Node(std::int32_t node) { return _map._nodes[Index(node)]; }

    void Open(std::int32_t node, PathNode& n)
    {
        n._state = PathNode::Open;
        const std::uint32_t order = _search._nextOrder++;
        const OpenEntry entry{(static_cast<std::uint64_t>(static_cast<std::uint32_t>(n._g)) << 32) | order, node};
        // Children of the node just popped: f is at least the lowest and at most
        // kMaxFRise above it.
        if (n._f == _search._lowestF && _search._lowestSorted)
            BucketHeap::Push(_search._late, entry);
        else
            Bucket(n._f).push_back(entry);
        ++_search._openEntries;
    }

    std::vector<OpenEntry>& Bucket(std::int32_t f)
    {
        return _search._open[static_cast<std::size_t>(f) % PathSearch::kBuckets];
    }

    void Close(std::int32_t node)
    {
        Node(node)._state = PathNode::Closed;
        _search._closed.push_back(node);
    }

    // The lowest bucket, taken up: the entries improved nodes left behind are dropped and
    // the rest sorted. Nothing taken up can be left behind later, as that needs an f below
    // the lowest; so every entry read from here on, late arrivals included, is live.
    void TakeUpLowestBucket(std::vector<OpenEntry>& bucket)
    {
        std::uint32_t low = std::numeric_limits<std::uint32_t>::max(), high = 0;
        std::size_t kept = 0;
        for (const OpenEntry& e : bucket)
        {
            const PathNode& n = Node(e._node);
            // g only falls while a node is open, so an entry whose g is no longer the
            // node's is one it left behind.
            if (n._state != PathNode::Open || static_cast<std::uint32_t>(n._g) != GOf(e))
                continue;
            low = std::min(low, GOf(e));
            high = std::max(high, GOf(e));
            bucket[kept++] = e;
        }
        _search._openEntries -= bucket.size() - kept;
        bucket.resize(kept);
        SortByG(bucket, _search._sortScratch, low, high);
        _search._next = 0;
        _search._lowestSorted = true;
    }

    // True when an open node is left; the first is then in the bucket of `_search._lowestF`.
    bool HasOpen()
    {
        while (_search._openEntries > 0)
        {
            std::vector<OpenEntry>& bucket = Bucket(_search._lowestF);
            if (!_search._lowestSorted)
            {
                if (bucket.empty())
                {
                    ++_search._lowestF;
                    continue;
                }
                TakeUpLowestBucket(bucket);
            }
            if (_search._next < bucket.size() || !_search._late.empty())
                return true;
            bucket.clear();
            _search._lowestSorted = false;
            ++_search._lowestF;
        }
        return false;
    }

    // The best open node, taken out of the open set (its sorted part or a late arrival,
    // whichever comes first); -1 when none is left.
    std::int32_t TakeFirstOpen()
    {
        if (!HasOpen())
            return -1;
        --_search._openEntries;
        const std::vector<OpenEntry>& bucket = Bucket(_search._lowestF);
        if (_search._next < bucket.size() &&
            (_search._late.empty() || bucket[_search._next]._gOrder < _search._late.front()._gOrder))
            return bucket[_search._next++]._node;
        return BucketHeap::Pop(_search._late)._node;
    }

    void Expand(std::int32_t current)
    {
        const PathNode c = Node(current);
        const std::int32_t rows = _map._rows;
        // Neighbours in the order x = -1..1, then y = -1..1, as indices into x-major storage.
        for (std::int32_t dx = -1; dx <= 1; ++dx)
        {
            if (c._x + dx < 0 || c._x + dx >= _map._columns)
                continue;
            for (std::int32_t dy = -1; dy <= 1; ++dy)
            {
                if ((dx == 0 && dy == 0) || c._y + dy < 0 || c._y + dy >= rows)
                    continue;
                std::int32_t step = 10;
                std::int32_t extra = 0;
                if (dx != 0 && dy != 0)
                {
                    // No corner cutting: both cells beside the diagonal step must be open.
                    const std::int32_t a = Node(current + dx * rows)._weight;
                    const std::int32_t b = Node(current + dy)._weight;
                    if (a < 0 || b < 0)
                        continue;
                    extra = (a + b) / 4;
                    step = 14;
                }
                const std::int32_t index = current + dx * rows + dy;
                PathNode& n = Node(index);
                if (n._weight < 0)
                    continue;
                const std::int32_t g = step + c._weight + c._g + extra;
                if (n._state == PathNode::Unvisited)
                    n._h = pathmap::Octile(n._x - _goalX, n._y - _goalY);
                else if (n._state == PathNode::OnPath || n._parent == current || g >= n._g)
                    continue; // h is the node's own, so a smaller f means a smaller g
                n._g = g;
                n._f = g + n._weight + n._h;
                n._parent = current;
                // A closed node takes the better parent but is not searched again.
                if (n._state != PathNode::Closed)
                    Open(index, n);
            }
        }
    }

    void BuildCellPath(std::int32_t end)
    {
        auto& path = _search._cellPath;
        path.clear();
        for (std::int32_t at = end; at >= 0 && path.size() < _map._nodes.size(); at = Node(at)._parent)
        {
            path.push_back(at);
            Node(at)._state = PathNode::OnPath;
        }
        std::reverse(path.begin(), path.end());
        _search._inProgress = false;
    }

    // The explored cell nearest the goal by the heuristic, the first such to be closed.
    std::int32_t NearestClosed()
    {
        std::int32_t best = _search._closed.front();
        for (const std::int32_t node : _search._closed)
            if (Node(node)._h < Node(best)._h)
                best = node;
        return best;
    }

    PathSearch::Status Continue(std::int32_t current, std::uint32_t budget)
    {
        std::uint32_t expanded = 0;
        for (;;)
        {
            Expand(current);
            ++_search._expansions;
            if (!HasOpen())
            {
                BuildCellPath(NearestClosed());
                return PathSearch::Status::Ready;
            }
            if (++expanded >= budget)
            {
                _search._inProgress = true;
                return PathSearch::Status::Pending;
            }
            if (PathSearch::Status done; Step(current, done))
                return done;
        }
    }

    // Takes the next open node into `current`; true with `done` set when the search ends.
    bool Step(std::int32_t& current, PathSearch::Status& done)
    {
        current = TakeFirstOpen();
        if (current < 0)
        {
            BuildCellPath(NearestClosed());
            done = PathSearch::Status::Ready;
            return true;
        }
        Close(current);
        if (current != _goal)
            return false;
        BuildCellPath(current);
        done = PathSearch::Status::Ready;
        return true;
    }

private:
    PathMap& _map;
    PathSearch& _search;
    std::int32_t _goal;
    std::int32_t _goalX;
    std::int32_t _goalY;
};
} // namespace

namespace pathsearch
{
void Clear(PathSearch& search)
{
    ClearLists(search);
    search._cellPath.clear();
    search._inProgress = false;
}

PathSearch::Status Run(PathMap& map, PathSearch& search, const glm::vec2& start, const glm::vec2& target,
                       std::uint32_t budget)
{
    if (map._nodes.empty())
    {
        search._cellPath.clear();
        search._inProgress = false;
        return PathSearch::Status::Ready;
    }
    const glm::ivec2 goalCell = pathmap::CellOf(map, target);
    const std::int32_t goal = map.Index(goalCell.x, goalCell.y);
    if (map._nodes[static_cast<std::size_t>(goal)]._weight < 0)
    {
        pathmap::Reset(map);
        search._inProgress = false;
        return PathSearch::Status::GoalBlocked;
    }
    budget = std::max(budget, 1u);

    Searcher searcher(map, search, goal);
    std::int32_t current = -1;
    if (search._inProgress)
    {
        // A resumed search takes its next node exactly as an unbroken one would.
        if (PathSearch::Status done; searcher.Step(current, done))
            return done;
        return searcher.Continue(current, budget);
    }

    pathmap::Reset(map);
    ClearLists(search);
    if (search._closed.capacity() < map._nodes.size())
    {
        // Sized once for the map, so the searches that follow allocate nothing.
        const std::size_t perBucket = std::max<std::size_t>(16, map._nodes.size() / PathSearch::kBuckets);
        search._closed.reserve(map._nodes.size());
        for (std::vector<PathSearch::OpenEntry>& bucket : search._open)
            bucket.reserve(perBucket);
        search._late.reserve(perBucket);
        search._sortScratch.reserve(perBucket);
    }
    search._nextOrder = 0;
    search._expansions = 0;
    const glm::ivec2 startCell = pathmap::CellOf(map, start);
    current = map.Index(startCell.x, startCell.y);
    PathNode& first = searcher.Node(current);
    first._g = 0;
    first._h = pathmap::Octile(first._x - goalCell.x, first._y - goalCell.y);
    first._f = first._weight + first._h;
    search._lowestF = first._f;
    first._parent = -1;
    searcher.Close(current);
    if (current == goal)
    {
        searcher.BuildCellPath(current);
        return PathSearch::Status::Ready;
    }
    return searcher.Continue(current, budget);
}

void Thin(PathMap& map, std::vector<std::int32_t>& cellPath)
{
    const auto node = [&](std::int32_t index) -> PathNode& { return map._nodes[static_cast<std::size_t>(index)]; };
    std::size_t a = 0;
    while (a + 2 < cellPath.size())
    {
        const PathNode& p = node(cellPath[a]);
        PathNode& q = node(cellPath[a + 1]);
        const PathNode& r = node(cellPath[a + 2]);
        bool clear = p._weight == 0 && q._weight == 0 && r._weight == 0;
        const std::int32_t x0 = std::min({p._x, q._x, r._x}), x1 = std::max({p._x, q._x, r._x});
        const std::int32_t y0 = std::min({p._y, q._y, r._y}), y1 = std::max({p._y, q._y, r._y});
        for (std::int32_t x = x0; clear && x <= x1; ++x)
            for (std::int32_t y = y0; clear && y <= y1; ++y)
                clear = map.At(x, y)._weight >= 0;
        if (!clear)
        {
            ++a;
            continue;
        }
        q._state = PathNode::Unvisited;
        cellPath.erase(cellPath.begin() + static_cast<std::ptrdiff_t>(a + 1));
    }
}

void BuildWaypoints(const PathMap& map, const std::vector<std::int32_t>& cellPath, const glm::vec2& position,
                    const glm::vec2& target, std::vector<Waypoint>& scratch, std::vector<Waypoint>& out)
{
    out.clear();
    scratch.clear();
    if (cellPath.size() < 2)
        return;
    scratch.push_back({target, 0.0f});
    for (std::size_t i = cellPath.size() - 2; i >= 1; --i)
    {
        const PathNode& n = map._nodes[static_cast<std::size_t>(cellPath[i])];
        scratch.push_back({pathmap::CellCentre(map, n._x, n._y), 0.0f});
    }
    scratch.push_back({position, map._cellSize});

    const float gap = 2.0f * map._cellSize;
    for (std::size_t i = 0; i + 1 < scratch.size();)
    {
        const Waypoint& p = scratch[i];
        const Waypoint& q = scratch[i + 1];
        const float d = glm::distance(p._position, q._position);
        if (!(d > gap))
        {
            ++i;
            continue;
        }
        const Waypoint middle{(p._position + q._position) * 0.5f, d * 0.5f + std::min(p._clearance, q._clearance)};
        scratch.insert(scratch.begin() + static_cast<std::ptrdiff_t>(i + 1), middle);
    }

    for (std::size_t i = 0; i + 1 < scratch.size(); ++i)
    {
        const Waypoint& p1 = scratch[i];
        const Waypoint& p2 = scratch[i + 1];
        const glm::vec2 p0 = i > 0 ? scratch[i - 1]._position : p1._position;
        const glm::vec2 p3 = i + 2 < scratch.size() ? scratch[i + 2]._position : p2._position;
        const float base = std::min(p1._clearance, p2._clearance);
        out.push_back(p1);
        for (const float t : {0.2f, 0.4f, 0.6f, 0.8f})
        {
            const float t2 = t * t, t3 = t2 * t;
            const glm::vec2 point = p0 * ((-t3 + 2.0f * t2 - t) * 0.5f) +
                                    p1._position * ((3.0f * t3 - 5.0f * t2 + 2.0f) * 0.5f) +
                                    p2._position * ((-3.0f * t3 + 4.0f * t2 + t) * 0.5f) + p3 * ((t3 - t2) * 0.5f);
            const float away = std::max(glm::distance(point, p1._position), glm::distance(point, p2._position));
            out.push_back({point, base + away});
        }
        out.push_back(p2);
    }
}
} // namespace pathsearch
