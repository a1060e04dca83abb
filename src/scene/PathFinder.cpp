#include "scene/PathFinder.h"

#include "data/Entity.h"
#include "data/TypeRegistry.h"
#include "scene/Scene.h"
#include "scene/Tilemap.h"

#include <glm/geometric.hpp>
#include <nlohmann/json.hpp>

GLOAMER_REGISTER_COMPONENT(PathFinder, ctype::PathFinder)

void PathFinder::Read(const json& /*j*/) {}

void PathFinder::Write(json& /*j*/) const {}

PathMap* PathFinder::GetPathMap() const
{
    const Entity* owner = GetOwner();
    Scene* scene = owner ? owner->GetScene() : nullptr;
    Tilemap* tilemap = scene ? scene->GetTilemap() : nullptr;
    if (!tilemap || tilemap->GetPathMap()._nodes.empty())
        return nullptr;
    return &tilemap->GetPathMap();
}

glm::vec2 PathFinder::Position() const
{
    return GetOwner() ? GetOwner()->GetTransform().GetTranslation() : glm::vec2(0.0f);
}

void PathFinder::RequestPath(const glm::vec2& target)
{
    _target = target;
    _state = SearchRequested;
    _search._inProgress = false;
}

glm::vec2 PathFinder::RandomWalkablePosition() const
{
    const PathMap* map = GetPathMap();
    return map ? pathmap::RandomWalkablePosition(*map) : Position();
}

void PathFinder::Update(float /*dt*/)
{
    PathMap* map = GetPathMap();
    if (!map)
    {
        _waypoints.clear();
        _state = Idle;
        return;
    }
    if (map->_changed)
    {
        _state = SearchRequested;
        _search._inProgress = false;
    }

    const glm::vec2 position = Position();
    if (_state == SearchRequested)
    {
        switch (pathsearch::Run(*map, _search, position, _target))
        {
        case PathSearch::Status::Ready:
            pathsearch::Thin(*map, _search._cellPath);
            pathsearch::BuildWaypoints(*map, _search._cellPath, position, _target, _scratch, _waypoints);
            _state = PathAvailable;
            break;
        case PathSearch::Status::GoalBlocked:
            _state = PathAvailable;
            break;
        case PathSearch::Status::Pending:
            break;
        }
    }

    // A search still running keeps its request alive even with no path to follow yet.
    if (_waypoints.empty())
    {
        if (_state != SearchRequested)
            _state = Idle;
        return;
    }
    while (glm::distance(position, _waypoints.back()._position) < kReachDistance)
    {
        _waypoints.pop_back();
        if (_waypoints.size() < 2)
        {
            _state = Idle;
            return;
        }
    }
}

void PathFinder::Exit()
{
    pathsearch::Clear(_search);
}
