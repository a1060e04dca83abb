#pragma once

#include "audio/Sound.h"
#include "behaviors/Behavior.h"
#include "behaviors/items/ObjectiveSystem.h"

#include <glm/vec2.hpp>

#include <array>

class SceneCamera;

// One of the level's objects: the player holds "interact" close by while the grain
// rises, the camera zooms and shakes and the ground rumbles; when the hold completes
// it shatters, calls the monster to its spawn point and tells the objective system.
class BehaviorCollectable : public ComponentBase<BehaviorCollectable, Behavior>
{
public:
    // Strictly closer than this to interact.
    static constexpr float kRange = 120.0f;

    BehaviorCollectable() = default;

    void Read(const json& j) override;
    void Write(json& j) const override;
    void Init() override;
    void Update(float dt) override;
    void Start() override;
    std::string_view GetName() const override { return "behaviorcollectable"; }

    bool IsInteracting() const { return _interacting; }
    float GetRemaining() const { return _remaining; }
    int GetId() const { return _id; }
    float GetTime() const { return _time; }
    const glm::vec2& GetMonsterSpawnPoint() const { return _spawnPoint; }

    static const FieldDescriptor<BehaviorCollectable>& Descriptor();

    int _id = 0;
    glm::vec2 _monsterSpawn{0.0f};
    float _time = 1.0f;

private:
    enum SoundSlot
    {
        RumblingLong,
        Rumbling,
        Shatter,
        Cracking,
        SoundCount
    };

    // The idle pulse runs in lane 2 and a lane of the object's own, so collecting one
    // object ends only its own pulse.
    int PulseLane() const;
    SceneCamera* Camera() const;
    void Begin(SceneCamera* camera);
    void Hold(float dt, SceneCamera* camera);
    void Cancel(SceneCamera* camera);
    void RestoreView(SceneCamera* camera) const;
    void Collect(SceneCamera* camera);
    void StopRiser();

    std::array<Sound, SoundCount> _sounds;
    unsigned _soundsRead = 0; // bit per slot given by data; the rest take the defaults

    bool _interacting = false;
    float _remaining = 1.0f;
    float _pulseTimer = 0.0f;
    float _savedCameraScale = 1.0f;
    float _zoom = 1.0f;
    float _savedGrain = 0.0f;
    glm::vec2 _savedScale{1.0f};
    glm::vec2 _spawnPoint{0.0f};
    int _riser = -1; // the riser this object started, -1 for none
    ObjectiveSystem::RecordHandle _record;
};
