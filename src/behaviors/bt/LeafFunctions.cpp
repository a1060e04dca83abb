#include "behaviors/bt/LeafFunctions.h"

#include "behaviors/Behavior.h"
#include "behaviors/bt/Blackboard.h"
#include "behaviors/bt/Sightline.h"
#include "core/StdRandom.h"
#include "data/Entity.h"
#include "physics/Physics.h"
#include "scene/PathFinder.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <glm/geometric.hpp>

#include <cmath>

namespace
{
using Status = BTNode::Status;

// Looked up afresh every tick: an entity found last frame may be gone now.
Entity* FindInCurrentScene(const std::string& name)
{
    const Scene* scene = SceneSystem::Instance().GetCurrentScene();
    return scene ? scene->FindEntity(name) : nullptr;
}

float Distance(const glm::vec2& a, const glm::vec2& b)
{
    return glm::length(a - b);
}

Status Custom(Blackboard&, unsigned, unsigned, const std::string&)
{
    return BTNode::Error;
}

Status DefaultNothing(Blackboard&, unsigned, unsigned, const std::string&)
{
    return BTNode::Ignore;
}

Status PositionOfEntity(Blackboard& board, unsigned, unsigned wE, const std::string& ext)
{
    const Entity* entity = FindInCurrentScene(ext);
    if (!entity)
        return BTNode::Error;
    board.GetVec2(wE) = entity->GetTransform().GetTranslation();
    return BTNode::Ignore;
}

Status ThisPos(Blackboard&, unsigned, unsigned, const std::string&)
{
    return BTNode::Ignore;
}

Status DistanceTo(Blackboard& board, unsigned rE, unsigned wE, const std::string&)
{
    const glm::vec2 point = board.GetVec2(rE);
    board.GetFloat(wE) = Distance(board.OwnPosition(), point);
    return BTNode::Ignore;
}

Status DistanceToEntity(Blackboard& board, unsigned, unsigned wE, const std::string& ext)
{
    const Entity* entity = FindInCurrentScene(ext);
    if (!entity)
        return BTNode::Error;
    board.GetFloat(wE) = Distance(board.OwnPosition(), entity->GetTransform().GetTranslation());
    return BTNode::Ignore;
}

Status CopyFloat(Blackboard& board, unsigned rE, unsigned wE, const std::string&)
{
    const float value = board.GetFloat(rE);
    board.GetFloat(wE) = value;
    return BTNode::Ignore;
}

Status CopyVec2(Blackboard& board, unsigned rE, unsigned wE, const std::string&)
{
    const glm::vec2 value = board.GetVec2(rE);
    board.GetVec2(wE) = value;
    return BTNode::Ignore;
}

float RandomIn(float size)
{
    return StdRandom::Unit() * size - size * 0.5f;
}

Status RandomPos(Blackboard& board, unsigned rE, unsigned wE, const std::string&)
{
    const glm::vec2 size = board.GetVec2(rE);
    const float y = RandomIn(size.y);
    const float x = RandomIn(size.x);
    board.GetVec2(wE) = glm::vec2(x, y);
    return BTNode::Ignore;
}

Status RandomValidPos(Blackboard& board, unsigned, unsigned wE, const std::string&)
{
    PathFinder* finder = board._entity ? board._entity->Get<PathFinder>(ctype::PathFinder) : nullptr;
    if (!finder)
        return BTNode::Error;
    board.GetVec2(wE) = finder->RandomWalkablePosition();
    return BTNode::Success;
}

Status GoTo(Blackboard& board, unsigned rE, unsigned wE, const std::string&)
{
    Physics* physics = board._entity ? board._entity->Get<Physics>(ctype::Physics) : nullptr;
    if (!physics)
        return BTNode::Error;
    const float speed = board.GetFloat(rE);
    physics->MoveToward(board.GetVec2(wE), speed, 0.1f);
    return BTNode::Running;
}

Status SetState(Blackboard& board, unsigned rE, unsigned, const std::string&)
{
    if (!board._owner)
        return BTNode::Error;
    board._owner->SetStateNext(board.GetInt(rE));
    return BTNode::Success;
}

// Asks for a new path only when the target moved more than kRepathDistance, so a
// target that creeps along does not restart the search every frame.
Status PathfindTo(Blackboard& board, unsigned rE, unsigned wE, const std::string&)
{
    constexpr float kRepathDistance = 5.0f;
    PathFinder* finder = board._entity ? board._entity->Get<PathFinder>(ctype::PathFinder) : nullptr;
    Physics* physics = board._entity ? board._entity->Get<Physics>(ctype::Physics) : nullptr;
    if (!finder || !physics)
        return BTNode::Error;
    const glm::vec2 target = board.GetVec2(rE);
    if (Distance(finder->GetTarget(), target) > kRepathDistance)
        finder->RequestPath(target);
    const auto& waypoints = finder->GetWaypoints();
    if (waypoints.empty())
    {
        physics->SetVelocity(glm::vec2(0.0f));
        return BTNode::Failure;
    }
    const Waypoint& next = waypoints.back();
    // Open stretches (large clearance) are run faster than tight corners.
    const float speed = board.GetFloat(wE) * (1.0f - 0.7f * std::pow(0.95f, next._clearance));
    physics->MoveToward(next._position, speed, 0.1f);
    return BTNode::Running;
}

Status CloseEnoughTo(Blackboard& board, unsigned rE, unsigned wE, const std::string&)
{
    const float radius = board.GetFloat(rE);
    return radius > Distance(board.OwnPosition(), board.GetVec2(wE)) ? BTNode::Success : BTNode::Failure;
}

Status DirectSightline(Blackboard& board, unsigned rE, unsigned, const std::string&)
{
    const glm::vec2 point = board.GetVec2(rE);
    const Scene* scene = SceneSystem::Instance().GetCurrentScene();
    if (!scene)
        return BTNode::Success;
    return sightline::IsClear(*scene, board.OwnPosition(), point) ? BTNode::Success : BTNode::Failure;
}

Status IsGreater(Blackboard& board, unsigned rE, unsigned wE, const std::string&)
{
    return board.GetFloat(wE) > board.GetFloat(rE) ? BTNode::Success : BTNode::Failure;
}

Status IsEqual(Blackboard& board, unsigned rE, unsigned wE, const std::string&)
{
    return board.GetFloat(wE) == board.GetFloat(rE) ? BTNode::Success : BTNode::Failure;
}

constexpr leaf::Table MakeTable(LeafFunctionPointer copy)
{
    return {{
        {"custom", &Custom},
        {"default_nothing", &DefaultNothing},
        {"q_position_of_entity", &PositionOfEntity},
        {"q_this_pos", &ThisPos},
        {"q_distance_to", &DistanceTo},
        {"q_distance_to_entity", &DistanceToEntity},
        {"q_copy", copy},
        {"q_random_pos", &RandomPos},
        {"q_random_valid_pos", &RandomValidPos},
        {"a_go_to", &GoTo},
        {"a_set_state", &SetState},
        {"a_pathfind_to", &PathfindTo},
        {"c_close_enough_to", &CloseEnoughTo},
        {"c_direct_sightline", &DirectSightline},
        {"c_is_greater", &IsGreater},
        {"c_is_equal", &IsEqual},
    }};
}

constexpr leaf::Table kFloatTable = MakeTable(&CopyFloat);
constexpr leaf::Table kVec2Table = MakeTable(&CopyVec2);
} // namespace

namespace leaf
{
const Table& FloatTable()
{
    return kFloatTable;
}

const Table& Vec2Table()
{
    return kVec2Table;
}
} // namespace leaf
