#include "ui/BehaviorAnyKey.h"

#include "data/DataFileScope.h"
#include "data/JsonError.h"
#include "data/TypeRegistry.h"
#include "input/InputSystem.h"
#include "scene/SceneSystem.h"

GLOAMER_REGISTER_COMPONENT(BehaviorAnyKey, ctype::Behavior)

const FieldDescriptor<BehaviorAnyKey>& BehaviorAnyKey::Descriptor()
{
    static const FieldDescriptor<BehaviorAnyKey> descriptor("BehaviorAnyKey",
                                                            {
                                                                GLOAMER_FIELD(BehaviorAnyKey, _delay),
                                                                GLOAMER_FIELD(BehaviorAnyKey, _nextScene),
                                                                GLOAMER_FIELD(BehaviorAnyKey, _sceneTransition),
                                                            });
    return descriptor;
}

void BehaviorAnyKey::Read(const json& j)
{
    Behavior::Read(j);
    Descriptor().Read(*this, j);
    if (_nextScene.empty())
        ReportDataError(DataFileScope::Current(), JsonPathOf(j), "no \"nextscene\"; a key press goes nowhere");
}

void BehaviorAnyKey::Write(json& j) const
{
    Behavior::Write(j);
    Descriptor().Write(*this, j);
    j["armed"] = _armed;
    j["left"] = _left;
}

void BehaviorAnyKey::Update(float dt)
{
    Behavior::Update(dt);
    if (_left || _nextScene.empty())
        return;
    if (_elapsed < _delay)
    {
        _elapsed += dt;
        return;
    }
    const bool down = InputSystem::Instance().AnyDown();
    if (!_armed)
    {
        _armed = !down;
        return;
    }
    if (!down)
        return;
    _left = true;
    SceneSystem::Instance().ChangeScene(_nextScene, _sceneTransition);
}
