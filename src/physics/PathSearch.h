#pragma once

#include "physics/PathMap.h"

#include <glm/vec2.hpp>

#include <array>
#include <cstdint>
#include <limits>
#include <vector>

// A point of a smoothed path; `_clearance` grows with the room around it, so a follower
// can run open stretches faster than tight corners.
struct Waypoint
{
    glm::vec2 _position{0.0f};
    float _clearance = 0.0f;
};

// An A* search over a path map that can be spread over several calls. Open nodes pop in
// the order of (f, g, the time the node last entered the open set), exactly the order of
// a list kept sorted by (f, g) where equal keys queue in arrival order; a node whose f
// improves while open enters again, and the entry it leaves behind is skipped.
//
// The heuristic is consistent, so the f of popped nodes never falls and every open f
// lies within kMaxFRise of the last one popped: the open set is a ring of buckets, one
// per f, each filled in arrival order. The bucket of the lowest f is sorted by g once,
// when its turn comes, and read front to back; the few nodes that arrive in it after
// that wait in a small heap beside it.
struct PathSearch
{
    struct OpenEntry
    {
        std::uint64_t _gOrder; // g above, order below: one compare orders both
        std::int32_t _node;
    };

    // The most a child's f can exceed its parent's: two diagonal steps' worth of
    // heuristic and cost, the parent's and child's wall weights, the corner extra.
    static constexpr std::int32_t kMaxFRise = 14 + 14 + 2 * PathMap::kBesideWallWeight;
    static constexpr std::size_t kBuckets = 64;
    static_assert(kMaxFRise < static_cast<std::int32_t>(kBuckets), "open f values must fit the bucket ring");

    enum class Status
    {
        Pending,     // expansion budget spent; call again to go on
        Ready,       // _cellPath holds the path (to the nearest reachable cell if need be)
        GoalBlocked, // the target is inside a wall; nothing was searched
    };

    static constexpr std::uint32_t kExpansionsPerCall = 1500;
    static constexpr std::uint32_t kUnlimited = std::numeric_limits<std::uint32_t>::max();

    std::array<std::vector<OpenEntry>, kBuckets> _open; // bucket f % kBuckets: entries of that f
    std::size_t _openEntries = 0;                       // in all buckets, stale ones included
    std::int32_t _lowestF = 0;                          // no open entry has a smaller f
    bool _lowestSorted = false;                         // the bucket of _lowestF is sorted and read from _next
    std::size_t _next = 0;                              // the first entry of that bucket not taken yet
    std::vector<OpenEntry> _late;                       // heap of entries of _lowestF that came after the sort
    std::vector<OpenEntry> _sortScratch;
    std::vector<std::int32_t> _closed;
    std::vector<std::int32_t> _cellPath; // start first
    bool _inProgress = false;
    std::uint32_t _nextOrder = 0;
    std::uint64_t _expansions = 0; // since the search started
};

namespace pathsearch
{
// Forgets the search's open and closed nodes and its path, keeping the lists' storage.
void Clear(PathSearch& search);

// Searches from the cell of `start` to the cell of `target`, resuming a search in
// progress (whose start stays where it was). At most `budget` nodes are expanded per call.
PathSearch::Status Run(PathMap& map, PathSearch& search, const glm::vec2& start, const glm::vec2& target,
                       std::uint32_t budget = PathSearch::kExpansionsPerCall);

// Drops every middle node of three free cells whose bounding box holds no wall, so
// straight and diagonal runs shrink to their ends. Dropped nodes go back to unvisited.
void Thin(PathMap& map, std::vector<std::int32_t>& cellPath);

// The waypoints of a cell path, target first: the exact target, the cell centres in
// between, the follower's position, with midpoints filling gaps over two cells and
// Catmull-Rom points between each pair. A path of one cell has none. `scratch` is
// working storage kept by the caller so steady use allocates nothing.
void BuildWaypoints(const PathMap& map, const std::vector<std::int32_t>& cellPath, const glm::vec2& position,
                    const glm::vec2& target, std::vector<Waypoint>& scratch, std::vector<Waypoint>& out);
} // namespace pathsearch
