#include "ui/BehaviorSplash.h"

#include "actions/ChangeSceneAction.h"
#include "actions/NestedAction.h"
#include "actions/TintAction.h"
#include "data/Entity.h"
#include "data/TypeRegistry.h"
#include "input/InputSystem.h"
#include "render/Sprite.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"

GLOAMER_REGISTER_COMPONENT(BehaviorSplash, ctype::Behavior)

const FieldDescriptor<BehaviorSplash>& BehaviorSplash::Descriptor()
{
    static const FieldDescriptor<BehaviorSplash> descriptor("BehaviorSplash",
                                                            {
                                                                GLOAMER_FIELD(BehaviorSplash, _delay),
                                                                GLOAMER_FIELD(BehaviorSplash, _fadeInTime),
                                                                GLOAMER_FIELD(BehaviorSplash, _duration),
                                                                GLOAMER_FIELD(BehaviorSplash, _fadeOutTime),
                                                                GLOAMER_FIELD(BehaviorSplash, _fadeInLerp),
                                                                GLOAMER_FIELD(BehaviorSplash, _fadeOutLerp),
                                                                GLOAMER_FIELD(BehaviorSplash, _last),
                                                                GLOAMER_FIELD(BehaviorSplash, _sceneDelay),
                                                                GLOAMER_FIELD(BehaviorSplash, _sceneTransition),
                                                                GLOAMER_FIELD(BehaviorSplash, _nextScene),
                                                            });
    return descriptor;
}

void BehaviorSplash::Read(const json& j)
{
    Behavior::Read(j);
    Descriptor().Read(*this, j);
}

void BehaviorSplash::Write(json& j) const
{
    Behavior::Write(j);
    Descriptor().Write(*this, j);
}

void BehaviorSplash::Start()
{
    Entity* owner = GetOwner();
    Sprite* sprite = owner ? owner->Get<Sprite>(ctype::Sprite) : nullptr;
    if (!sprite)
        return;
    glm::vec4 tint = sprite->GetTint();
    tint.a = 0.0f;
    sprite->SetTint(tint);

    Scene* scene = owner->GetScene();
    if (!scene)
        return;
    const Lanes lane{kLane};
    NestedAction sequence(_delay, lane, false);
    ActionList& steps = sequence.GetList();
    steps.Add(TintAction(owner, {tint.r, tint.g, tint.b, 1.0f}, 0.0f, _fadeInTime, lane, true, _fadeInLerp));
    steps.Add(TintAction(owner, {tint.r, tint.g, tint.b, 0.0f}, _duration, _fadeOutTime, lane, true, _fadeOutLerp));
    // Same lane, so its delay only starts counting once the fade-out is over.
    if (_last)
        steps.Add(ChangeSceneAction(_nextScene, _sceneTransition, _sceneDelay, 0.0f, lane, false));
    scene->GetActionList().Add(sequence);
}

void BehaviorSplash::Update(float dt)
{
    Behavior::Update(dt);
    if (!_last || _skipped || !InputSystem::Instance().AnyDown())
        return;
    _skipped = true;
    SceneSystem::Instance().ChangeScene(_nextScene, _sceneTransition);
    // The sequence would ask for the scene a second time while the panel slides in.
    if (Scene* scene = GetOwner() ? GetOwner()->GetScene() : nullptr)
        scene->GetActionList().RemoveLanes(Lanes{kLane});
}
