#pragma once

#include "audio/Sound.h"
#include "behaviors/Behavior.h"
#include "behaviors/bt/BehaviorTree.h"
#include "data/StaticSettings.h"
#include "data/Timer.h"

#include <glm/vec2.hpp>

#include <cstddef>
#include <glm/vec4.hpp>
#include <utility>

#include <cstdint>

class ParticleEmitter;
class ParticleRig;
class Physics;
class PathFinder;
class Scene;
class Status;

// The antagonist. It sleeps far outside the level until the first object is taken,
// emerges where it lay, hunts the player at a speed chosen by what it perceives (sight,
// noise through a few walls, else smell), grabs them on contact, is stunned by thrown
// things and traps, and dies in a long explosion that ends the level.
class BehaviorMonster : public ComponentBase<BehaviorMonster, Behavior>
{
public:
    enum State
    {
        Dormant = 0,
        Hunting = 1,
        Idle = 2,
        Emerging = 3,
        Holding = 4,
        Stunned = 5,
        Frenzy = 6,
        Dying = 7,
        Dead = 8,
    };

    // Blackboard keys of both trees.
    enum Key : unsigned
    {
        kTarget = 0,    // vec2: the player's position
        kProbe = 1,     // vec2: the player's position of the previous step
        kWalls = 2,     // int: walls between the monster and the probe
        kSpeed = 3,     // float: the speed the path is followed at
        kSenseMult = 4, // float: the multiplier of the sense that won this tick
    };

    // Far outside every level: where it waits until it is called.
    static constexpr glm::vec2 kHidingPlace{2700.0f, -19782.0f};
    // Stun after a thrown object hits it.
    static constexpr float kImpactStun = 0.75f;
    static constexpr float kSmashStun = 0.5f;

    // How strongly each sense drives the hunt; kept in Data/Static/behaviormonster.json.
    struct Senses
    {
        float sightMult = 0.0f;
        float soundMult = 0.0f;
        float smellMult = 0.0f;
    };

    BehaviorMonster() = default;
    BehaviorMonster(const BehaviorMonster& other);
    ~BehaviorMonster() override;

    std::string_view GetName() const override { return "behaviormonster"; }
    std::uint32_t GetFlags() const override { return 0x1A28; }

    void Read(const json& j) override;
    void Write(json& j) const override;
    void Init() override;
    void Update(float dt) override;
    void OnStatusGained(unsigned flag) override;
    void OnStatusGiven(unsigned flag) override;

    static Senses& Settings();
    static StaticSettings& SettingsFile();

    float GetBaseSpeed() const { return _baseSpeed; }
    int GetHearingThreshold() const { return _hearingThreshold; }
    const Timer& GetStunTimer() const { return _stunTimer; }
    const Timer& GetEmergeTimer() const { return _emergeTimer; }
    const Timer& GetCaptureTimer() const { return _captureTimer; }
    bool IsDisco() const { return _disco; }
    int GetDeathRays() const { return _deathRays; }
    // False once a required component was found missing: it then stays dormant.
    bool IsComplete() const { return _complete; }
    BehaviorTree& GetTree() { return _tree; }
    const BehaviorTree& GetTree() const { return _tree; }
    const Sound& GetHeartBeatSound() const { return _heartBeatSound; }
    const Sound& GetStompSound() const { return _stompSound; }
    // Where the figure's velocity spreads stand; for the burst and ray checks.
    const ParticleEmitter* GetEmitter() const { return _emitter; }

    // The number of wall segments of the scene crossed by the segment from `from` to `to`.
    static int WallsBetween(const Scene& scene, const glm::vec2& from, const glm::vec2& to);

    static const FieldDescriptor<BehaviorMonster>& Descriptor();

private:
    void BuildTrees();
    void InitSounds();
    bool FindComponents();
    void Tick(std::size_t root, float dt);
    // The "killmonster", "playerdata" and "collected" checks, in that order.
    void Checks();
    bool CheckCollected();
    void StartDying();
    void Hold();
    void Jitter(float dt);
    void Burst();
    void Animate(float dt);
    void DeathRays(float dt);
    void Shake(float magnitude, float decay) const;
    void ShakeUnlessShaking(float magnitude, float decay) const;
    void FadeHudToWhite() const;
    void ApplyDisco(float dt);
    float& Speed();
    void SetShade(bool on);
    bool IsFlailing() const;

    // What the monster asks of its particle figure.
    void EmitterColors(const glm::vec4& begin, bool keepAlpha);
    void EmitterPosVariation(const glm::vec2& variation);
    void EmitBurst(const glm::vec2& velocity);
    void RigPose(float speed, float amplitude, bool flailing);
    void EmitRays(int rays, float t);

    float _baseSpeed = 320.0f;
    float _animspeedmultiplier = 0.01f;
    int _hearingThreshold = 5;
    int _collected = 0;
    Timer _emergeTimer{0.0f, 0.0f};
    Timer _captureTimer{0.0f, 0.0f};
    Timer _stunTimer{3.0f, 3.0f};
    // The monster's sounds by their JSON keys, read and written alike.
    static constexpr std::size_t kSoundCount = 8;
    static const std::pair<const char*, Sound BehaviorMonster::*> kSounds[kSoundCount];

    Sound _roarSound;
    Sound _dieSound;
    Sound _yelpSound;
    Sound _stompSound;
    Sound _heartBeatSound;
    Sound _explodeSound;
    Sound _rumblingLongSound;
    Sound _crackingSound;

    Physics* _physics = nullptr;
    PathFinder* _pathFinder = nullptr;
    Status* _status = nullptr;
    ParticleEmitter* _emitter = nullptr;
    ParticleRig* _rig = nullptr;
    // The pose the rig shows; unknown until the first animation sets it.
    int _posedFlailing = -1;
    float _jitterTimer = 0.0f;
    float _jitterTarget = 0.0f;
    int _deathRays = 0;
    // Lowered by one per death pulse, never below 1.
    int _deathCountdown = 3;
    float _deathPulseTimer = 0.0f;
    float _deathRayTimer = 0.0f;
    bool _disco = false;
    float _discoPhase = 0.0f;
    bool _complete = false;
    bool _reportedMissing = false;
    BehaviorTree _tree;
};
