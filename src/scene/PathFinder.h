#pragma once

#include "data/Component.h"
#include "physics/PathSearch.h"

#include <glm/vec2.hpp>

#include <cstdint>
#include <vector>

struct PathMap;

// Finds and follows paths over the path map of its scene's tile map: set a target with
// RequestPath, then steer toward the last waypoint while the state is PathAvailable.
// Long searches are spread over several updates; waypoints within reach are dropped.
class PathFinder : public ComponentBase<PathFinder>
{
public:
    enum State : std::uint32_t
    {
        SearchRequested = 0,
        PathAvailable = 1, // also when the target lies in a wall: the old path stays
        Idle = 2,          // no path, or arrived
    };

    // A waypoint closer than this to the entity counts as reached.
    static constexpr float kReachDistance = 40.0f;

    PathFinder() : ComponentBase<PathFinder>(ctype::PathFinder) {}

    // No JSON fields of its own.
    void Read(const json& j) override;
    void Write(json& j) const override;
    void Update(float dt) override;
    void Exit() override;

    // The position the current (or last) search heads for.
    const glm::vec2& GetTarget() const { return _target; }
    // Asks for a path to `target`, searched from the next update on; a search still in
    // progress is dropped.
    void RequestPath(const glm::vec2& target);

    // The current path, target first: the next waypoint to walk to is the LAST element.
    // Empty when there is no path.
    const std::vector<Waypoint>& GetWaypoints() const { return _waypoints; }
    std::uint32_t GetState() const { return _state; }
    bool IsSearching() const { return _search._inProgress; }
    // The cells of the latest path, start first, after thinning.
    const std::vector<std::int32_t>& GetCellPath() const { return _search._cellPath; }

    // The centre of a random walkable cell of the path map; the entity's own position
    // when its scene has no tile map.
    glm::vec2 RandomWalkablePosition() const;

    // The path map of the owner's scene's tile map, or null.
    PathMap* GetPathMap() const;

private:
    glm::vec2 Position() const;

    glm::vec2 _target{0.0f};
    PathSearch _search;
    std::vector<Waypoint> _waypoints;
    std::vector<Waypoint> _scratch;
    std::uint32_t _state = Idle;
};
