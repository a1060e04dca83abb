#include "behaviors/items/BehaviorCollectable.h"

#include "actions/AddAction.h"
#include "actions/NestedAction.h"
#include "actions/ScaleAction.h"
#include "behaviors/UiLinks.h"
#include "core/MessageSystem.h"
#include "core/StdRandom.h"
#include "core/Trace.h"
#include "data/Entity.h"
#include "data/Stream.h"
#include "data/TypeRegistry.h"
#include "input/InputSystem.h"
#include "render/SceneCamera.h"
#include "render/Sprite.h"
#include "scene/Scene.h"

#include <glm/geometric.hpp>

GLOAMER_REGISTER_COMPONENT(BehaviorCollectable, ctype::Behavior)

namespace
{
struct SoundDefault
{
    const char* key;
    const char* name;
    float volume;
    bool looping;
};

constexpr SoundDefault kSoundDefaults[] = {
    {"rumblinglong", "rumblinglong", 1.0f, true},
    {"rumbling", "rumbling", 1.0f, false},
    {"shatter", "shatter1", 1.0f, false},
    {"cracking", "crackinglong", 0.4f, true},
};

constexpr float kPulseScale = 1.3f;
constexpr float kPulseHalf = 1.5f;
constexpr float kZoomRate = 0.1f;
constexpr float kGrainRate = 0.09f;
} // namespace

const FieldDescriptor<BehaviorCollectable>& BehaviorCollectable::Descriptor()
{
    static const FieldDescriptor<BehaviorCollectable> descriptor("BehaviorCollectable",
                                                                 {
                                                                     GLOAMER_FIELD(BehaviorCollectable, _id),
                                                                     GLOAMER_FIELD(BehaviorCollectable, _monsterSpawn),
                                                                     GLOAMER_FIELD(BehaviorCollectable, _time),
                                                                 });
    return descriptor;
}

void BehaviorCollectable::Read(const json& j)
{
    Behavior::Read(j);
    Descriptor().Read(*this, j);
    for (int i = 0; i < SoundCount; ++i)
    {
        auto it = j.find(kSoundDefaults[i].key);
        if (it == j.end())
            continue;
        const SoundDefault& d = kSoundDefaults[i];
        // Keys the data leaves out keep the object's own sound.
        _sounds[i].Set(d.name, d.volume, d.looping, true);
        _sounds[i].Read(*it);
        _soundsRead |= 1u << i;
    }
}

void BehaviorCollectable::Write(json& j) const
{
    Behavior::Write(j);
    Descriptor().Write(*this, j);
    for (int i = 0; i < SoundCount; ++i)
    {
        json sound = json::object();
        _sounds[i].Write(sound);
        j[kSoundDefaults[i].key] = std::move(sound);
    }
}

int BehaviorCollectable::PulseLane() const
{
    return ObjectiveSystem::IsLayerId(_id) ? _id + 2 : 0;
}

SceneCamera* BehaviorCollectable::Camera() const
{
    Scene* scene = GetOwner() ? GetOwner()->GetScene() : nullptr;
    return scene ? scene->GetCamera() : nullptr;
}

void BehaviorCollectable::Init()
{
    _remaining = _time;
    _pulseTimer = _time / 3.0f;

    ObjectiveSystem& objectives = ObjectiveSystem::Instance();
    objectives.ResumeAmbient();

    Entity* owner = GetOwner();
    const std::string name = owner ? owner->GetName() : std::string();
    Scene* scene = owner ? owner->GetScene() : nullptr;
    const std::string where = scene ? Stream::GetPath(scene->GetName(), LevelFile) : "collectable \"" + name + "\"";
    if (!ObjectiveSystem::IsLayerId(_id))
        Trace::Error(where + ": collectable \"" + name + "\" has the id " + std::to_string(_id) +
                     ", outside 1..4; it can be collected but adds no music");
    _record = objectives.Register(_id, name, where);

    _savedGrain = Sprite::GrainFactor();
    if (owner)
    {
        _savedScale = owner->GetTransform().GetScale();
        MessageSystem::Instance().Send(
            Message("fragment" + std::to_string(_id), {owner->GetTransform().GetTranslation()}, 0.0f, true));
    }

    for (int i = 0; i < SoundCount; ++i)
        if (!(_soundsRead & (1u << i)))
            _sounds[i].Set(kSoundDefaults[i].name, kSoundDefaults[i].volume, kSoundDefaults[i].looping, true);
    for (SoundSlot loop : {RumblingLong, Cracking})
    {
        _sounds[loop].Play();
        _sounds[loop].Pause(true);
    }
}

void BehaviorCollectable::Start()
{
    Entity* owner = GetOwner();
    if (!owner)
        return;
    owner->GetTransform().SetScale(_savedScale);
    owner->GetTransform().SetRotation(StdRandom::Unit() * 100.0f - 50.0f);

    const int lane = PulseLane();
    Scene* scene = owner->GetScene();
    // An object without a lane of its own could never end its pulse, so it has none.
    if (!scene || lane == 0)
        return;
    NestedAction swell(0.0f, {1}, true);
    swell.GetList().Add(ScaleAction(owner, _savedScale * kPulseScale, 0.0f, kPulseHalf, {1}, true));
    swell.GetList().Add(ScaleAction(owner, _savedScale, 0.0f, kPulseHalf, {1}, true));
    NestedAction pulse(0.0f, {2, lane});
    pulse.GetList().Add(AddAction(swell, true, 0.0f, {1}));
    scene->GetActionList().Add(pulse);
}

void BehaviorCollectable::Begin(SceneCamera* camera)
{
    _savedCameraScale = camera ? camera->GetScale().x : 1.0f;
    _zoom = _savedCameraScale;
    _sounds[RumblingLong].Play();
    _sounds[Cracking].Play();
    _interacting = true;
    StopRiser();
    const int count = ObjectiveSystem::Instance().GetCollectedCount();
    if (count >= 0 && count < ObjectiveSystem::kLayerCount)
    {
        _riser = count;
        ObjectiveSystem::Instance().Riser(_riser).Play();
    }
}

void BehaviorCollectable::RestoreView(SceneCamera* camera) const
{
    Sprite::GrainFactor() = _savedGrain;
    // A camera without a positive zoom exponent has no reciprocal to zoom by.
    if (camera && _savedCameraScale > 0.0f)
        camera->SetScale({1.0f / _savedCameraScale, 1.0f / _savedCameraScale, 0.0f});
}

void BehaviorCollectable::Hold(float dt, SceneCamera* camera)
{
    _remaining -= dt;
    _pulseTimer -= dt;
    if (_pulseTimer <= 0.0f)
    {
        _sounds[Rumbling].Play();
        if (camera)
            camera->StartShake(5.0f, 20.0f);
        _pulseTimer = _time * 0.5f;
    }
    _zoom += dt * kZoomRate;
    if (camera && _savedCameraScale > 0.0f)
        camera->SetScale({1.0f / _zoom, 1.0f / _zoom, 0.0f});
    Sprite::GrainFactor() += _zoom * kGrainRate;

    if (_remaining <= 0.0f)
    {
        RestoreView(camera);
        _sounds[RumblingLong].Stop();
        _sounds[Cracking].Stop();
        _sounds[Rumbling].Play();
        _sounds[Shatter].Play();
        // Still interacting: the riser plays on over the shatter.
        Collect(camera);
    }
}

void BehaviorCollectable::Cancel(SceneCamera* camera)
{
    RestoreView(camera);
    _remaining = _time;
    _pulseTimer = 0.0f;
    _interacting = false;
    _sounds[RumblingLong].Pause(true);
    _sounds[Cracking].Pause(true);
}

void BehaviorCollectable::StopRiser()
{
    if (_riser < 0)
        return;
    ObjectiveSystem::Instance().Riser(_riser).Stop();
    _riser = -1;
}

void BehaviorCollectable::Collect(SceneCamera* camera)
{
    if (camera)
        camera->StartShake(5.0f, 5.0f);
    MessageSystem::Instance().Send(Message("collected", {_spawnPoint}, 0.0f, true));
    ObjectiveSystem::Instance().Collect(_id);
    Entity* owner = GetOwner();
    Scene* scene = owner ? owner->GetScene() : nullptr;
    if (scene && PulseLane() != 0)
        scene->GetActionList().RemoveLanes({PulseLane()});
    if (owner)
        owner->Destroy();
}

void BehaviorCollectable::Update(float dt)
{
    Behavior::Update(dt);
    Entity* owner = GetOwner();
    if (!owner || owner->IsDestroyed())
        return;
    if (!_interacting)
        _savedGrain = Sprite::GrainFactor();

    const Message* player = MessageSystem::Instance().Get("playerdata");
    const glm::vec2* playerPosition = player ? player->Arg<glm::vec2>(0) : nullptr;
    if (!playerPosition)
        return;
    if (ObjectiveSystem::Record* record = ObjectiveSystem::Instance().Find(_record))
        record->_id = static_cast<std::uint32_t>(_id);

    const glm::vec2 position = owner->GetTransform().GetTranslation();
    // Refreshed before the hold, so a collection in this update calls the monster
    // to where the object is now.
    _spawnPoint = position + _monsterSpawn;
    const float d = glm::distance(*playerPosition, position);
    SceneCamera* camera = Camera();
    const InputSystem& input = InputSystem::Instance();
    if (d < kRange)
    {
        if (input.IsTriggered("interact"))
            Begin(camera);
        if (_interacting && input.IsDown("interact"))
            Hold(dt, camera);
        else if (_interacting)
            Cancel(camera);
    }
    else if (_interacting)
        Cancel(camera);

    if (!_interacting)
        StopRiser();

    // The bar shows how far the hold has come and empties the moment it is let go.
    if (auto* bar = dynamic_cast<ProgressDisplay*>(owner->GetComponent(ctype::ProgressBar)))
    {
        const float value = _time > 0.0f ? (_time - _remaining) / _time : 0.0f;
        bar->SetValue(value);
        bar->SetVisible(_interacting && value != 0.0f);
    }
}
