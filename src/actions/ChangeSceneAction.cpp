#include "actions/ChangeSceneAction.h"

#include "scene/SceneSystem.h"

#include <utility>

ChangeSceneAction::ChangeSceneAction(std::string scene, bool transition, float delay, float duration, Lanes lanes,
                                     bool blocking)
    : ActionBase(delay, duration, lanes, blocking), _scene(std::move(scene)), _transition(transition)
{
}

bool ChangeSceneAction::Update(float /*dt*/)
{
    _started = true;
    SceneSystem::Instance().ChangeScene(_scene, _transition);
    return Done();
}
