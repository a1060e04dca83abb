#include "behaviors/monster/BehaviorMonster.h"

#include "actions/FadeAction.h"
#include "behaviors/bt/Sightline.h"
#include "core/Cheats.h"
#include "core/MessageSystem.h"
#include "core/StdRandom.h"
#include "core/Trace.h"
#include "data/Entity.h"
#include "data/TypeRegistry.h"
#include "physics/Collider.h"
#include "physics/LineBuffer.h"
#include "physics/Physics.h"
#include "physics/Status.h"
#include "render/ParticleEmitter.h"
#include "render/SceneCamera.h"
#include "render/Sprite.h"
#include "scene/ParticleRig.h"
#include "scene/PathFinder.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <variant>

GLOAMER_REGISTER_COMPONENT(BehaviorMonster, ctype::Behavior)

namespace
{
constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kDegreesPerRadian = 180.0f / kPi;
const std::string kCollected = "collected";
const std::string kKillMonster = "killmonster";
const std::string kPlayerData = "playerdata";
const std::string kPlayerSound = "player_sound";
const std::string kPlayerWins = "player_wins_struggle";
const std::string kPlayer = "player";
const std::string kWinScene = "win_scene";
const std::string kGuiScene = "gui_scene";
const std::string kFade = "fade";
// The death's white-out runs in a lane of its own so nothing else on the HUD waits for it.
constexpr int kFadeLane = 7;

BehaviorMonster::Senses& SenseValues()
{
    static BehaviorMonster::Senses senses;
    return senses;
}

// A looping sound kept paused between uses: resuming must not start a second playback.
void Resume(Sound& sound)
{
    if (sound.IsPlaying())
        sound.Pause(false);
    else
        sound.Play();
}

int CountCrossings(const LineBuffer& walls, const glm::vec2& from, const glm::vec2& to)
{
    int n = 0;
    for (const LineSegment& wall : walls._lines)
        n += sightline::SegmentsCross(from, to, wall._start, wall._end) ? 1 : 0;
    return n;
}

const std::uint16_t kShadeBit = StatusBit(StatusFlag::Shade);
const std::uint16_t kSliceBit = StatusBit(StatusFlag::Slice);
} // namespace

const FieldDescriptor<BehaviorMonster>& BehaviorMonster::Descriptor()
{
    static const FieldDescriptor<BehaviorMonster> descriptor("BehaviorMonster",
                                                             {
                                                                 GLOAMER_FIELD(BehaviorMonster, _baseSpeed),
                                                                 GLOAMER_FIELD(BehaviorMonster, _animspeedmultiplier),
                                                                 GLOAMER_FIELD(BehaviorMonster, _hearingThreshold),
                                                                 GLOAMER_FIELD(BehaviorMonster, _emergeTimer),
                                                                 GLOAMER_FIELD(BehaviorMonster, _captureTimer),
                                                                 GLOAMER_FIELD(BehaviorMonster, _stunTimer),
                                                             });
    return descriptor;
}

StaticSettings& BehaviorMonster::SettingsFile()
{
    Senses& s = SenseValues();
    static StaticSettings settings("BehaviorMonster", {
                                                          {&s.sightMult, "SightMult"},
                                                          {&s.soundMult, "SoundMult"},
                                                          {&s.smellMult, "SmellMult"},
                                                      });
    settings.EnsureLoaded();
    return settings;
}

BehaviorMonster::Senses& BehaviorMonster::Settings()
{
    SettingsFile();
    return SenseValues();
}

// A copy belongs to a new entity: its trees, links and sounds are made by its own Init.
BehaviorMonster::BehaviorMonster(const BehaviorMonster& other)
    : ComponentBase<BehaviorMonster, Behavior>(other), _baseSpeed(other._baseSpeed),
      _animspeedmultiplier(other._animspeedmultiplier), _hearingThreshold(other._hearingThreshold),
      _emergeTimer(other._emergeTimer), _captureTimer(other._captureTimer), _stunTimer(other._stunTimer),
      _roarSound(other._roarSound), _dieSound(other._dieSound), _yelpSound(other._yelpSound),
      _stompSound(other._stompSound), _heartBeatSound(other._heartBeatSound), _explodeSound(other._explodeSound),
      _rumblingLongSound(other._rumblingLongSound), _crackingSound(other._crackingSound)
{
}

BehaviorMonster::~BehaviorMonster() = default;

const std::pair<const char*, Sound BehaviorMonster::*> BehaviorMonster::kSounds[kSoundCount] = {
    {"roarsound", &BehaviorMonster::_roarSound},
    {"diesound", &BehaviorMonster::_dieSound},
    {"yelpsound", &BehaviorMonster::_yelpSound},
    {"stompsound", &BehaviorMonster::_stompSound},
    {"heartbeatsound", &BehaviorMonster::_heartBeatSound},
    {"explodesound", &BehaviorMonster::_explodeSound},
    {"rumblinglongsound", &BehaviorMonster::_rumblingLongSound},
    {"crackingsound", &BehaviorMonster::_crackingSound}};

void BehaviorMonster::Read(const json& j)
{
    Behavior::Read(j);
    Descriptor().Read(*this, j);
    for (const auto& [key, sound] : kSounds)
        if (auto it = j.find(key); it != j.end())
            (this->*sound).Read(*it);
}

void BehaviorMonster::Write(json& j) const
{
    Behavior::Write(j);
    Descriptor().Write(*this, j);
    for (const auto& [key, sound] : kSounds)
    {
        json s = json::object();
        (this->*sound).Write(s);
        j[key] = std::move(s);
    }
    // What a dump needs to follow the hunt.
    const auto& values = _tree.GetBlackboard().Values();
    if (auto it = values.find(kSpeed); it != values.end() && std::holds_alternative<float>(it->second))
        j["speed"] = std::get<float>(it->second);
    j["stuntimerleft"] = _stunTimer.timer;
}

int BehaviorMonster::WallsBetween(const Scene& scene, const glm::vec2& from, const glm::vec2& to)
{
    int n = 0;
    for (const auto& entity : scene.GetEntities().Entities())
    {
        const Collider* collider = entity->Get<Collider>(ctype::Collider);
        if (!collider || !collider->IsEnabled() || collider->GetShapeType() != shape::LineBuffer)
            continue;
        if (const Shape* shape = collider->GetWorldShape())
            n += CountCrossings(static_cast<const LineBuffer&>(*shape), from, to);
    }
    if (const LineBuffer* walls = scene.GetTilemapWalls())
        n += CountCrossings(*walls, from, to);
    return n;
}

bool BehaviorMonster::FindComponents()
{
    Entity* owner = GetOwner();
    _physics = owner ? owner->Get<Physics>(ctype::Physics) : nullptr;
    _pathFinder = owner ? owner->Get<PathFinder>(ctype::PathFinder) : nullptr;
    _status = owner ? owner->Get<Status>(ctype::Status) : nullptr;
    _emitter = owner ? owner->Get<ParticleEmitter>(ctype::ParticleEmitter) : nullptr;
    _rig = owner ? owner->Get<ParticleRig>(ctype::ParticleRig) : nullptr;
    std::string missing;
    if (!_pathFinder)
        missing += " pathfinder";
    if (!_physics)
        missing += " physics";
    if (!_status)
        missing += " status";
    if (!_emitter)
        missing += " particleemitter";
    if (!_rig)
        missing += " particlerig";
    if (missing.empty())
        return true;
    if (!_reportedMissing)
    {
        _reportedMissing = true;
        const std::string name = owner ? owner->GetName() : std::string();
        Trace::Error("Monster \"" + name + "\" lacks" + missing + "; it stays dormant");
    }
    return false;
}

void BehaviorMonster::Init()
{
    Settings();
    _tree = BehaviorTree();
    _tree.Bind(this, GetOwner());
    if (Entity* owner = GetOwner())
        owner->GetTransform().SetTranslation(kHidingPlace);
    _stateNext = Dormant;

    Blackboard& board = _tree.GetBlackboard();
    board.ResetVec2(kTarget);
    board.ResetVec2(kProbe);
    board.SetInt(kWalls, 0);
    board.ResetFloat(kSpeed);
    board.GetFloat(kSpeed) = _baseSpeed;
    board.ResetFloat(kSenseMult);
    board.GetFloat(kSenseMult) = 1.0f;
    BuildTrees();

    _complete = FindComponents();
    _posedFlailing = -1;
    InitSounds();
}

void BehaviorMonster::BuildTrees()
{
    // Root 0, the hunt: locate the player, count the walls in between, pick the sense
    // that reaches them and follow the path at that sense's speed.
    const BTAccessor hunt = _tree.Root(0).SetBranch(BTNode::Parallel);
    hunt.Child(0).SetLeaf(
        [](Blackboard& b, unsigned, unsigned, const std::string&)
        {
            b.GetVec2(kTarget) = b.OwnPosition();
            return BTNode::Ignore;
        },
        0, 0);
    hunt.Child(1).SetLeaf(leaf::kPositionOfEntity, 1, kTarget, kPlayer);
    hunt.Child(2).SetLeaf(
        [](Blackboard& b, unsigned, unsigned, const std::string&)
        {
            const Entity* self = b._entity;
            const Scene* scene =
                self && self->GetScene() ? self->GetScene() : SceneSystem::Instance().GetCurrentScene();
            b.GetInt(kWalls) = scene ? WallsBetween(*scene, b.OwnPosition(), b.GetVec2(kProbe)) : 0;
            return BTNode::Ignore;
        },
        0, 0);
    hunt.Child(3).SetVec2CopyLeaf(kTarget, kProbe);

    const BTAccessor senses = hunt.Child(4).SetBranch(BTNode::Fallback);
    const BTAccessor sight = senses.Child(0).SetBranch(BTNode::Sequence);
    sight.Child(0).SetLeaf([](Blackboard& b, unsigned, unsigned, const std::string&)
                           { return b.GetInt(kWalls) == 0 ? BTNode::Success : BTNode::Failure; },
                           0, 0);
    sight.Child(1).SetLeaf(
        [](Blackboard& b, unsigned, unsigned, const std::string&)
        {
            b.GetFloat(kSenseMult) = Settings().sightMult;
            return BTNode::Ignore;
        },
        0, 0);
    const BTAccessor hearing = senses.Child(1).SetBranch(BTNode::Sequence);
    hearing.Child(0).SetLeaf(
        [](Blackboard&, unsigned, unsigned, const std::string&)
        { return MessageSystem::Instance().Get(kPlayerSound, false) ? BTNode::Success : BTNode::Failure; },
        0, 0);
    const int* threshold = &_hearingThreshold;
    hearing.Child(1).SetLeaf([threshold](Blackboard& b, unsigned, unsigned, const std::string&)
                             { return b.GetInt(kWalls) <= *threshold ? BTNode::Success : BTNode::Failure; },
                             0, 0);
    hearing.Child(2).SetLeaf(
        [](Blackboard& b, unsigned, unsigned, const std::string&)
        {
            b.GetFloat(kSenseMult) = Settings().soundMult;
            return BTNode::Ignore;
        },
        0, 0);
    senses.Child(2).SetLeaf(
        [](Blackboard& b, unsigned, unsigned, const std::string&)
        {
            b.GetFloat(kSenseMult) = Settings().smellMult;
            return BTNode::Ignore;
        },
        0, 0);

    hunt.Child(5).SetLeaf(
        [](Blackboard& b, unsigned, unsigned, const std::string&)
        {
            b.GetFloat(kSpeed) *= b.GetFloat(kSenseMult);
            return BTNode::Ignore;
        },
        0, 0);
    hunt.Child(6).SetLeaf(leaf::kPathfindTo, kTarget, kSpeed);

    // Root 1, the pursuit while emerging and in frenzy: straight for the player.
    const BTAccessor pursuit = _tree.Root(1).SetBranch(BTNode::Parallel);
    pursuit.Child(0).SetLeaf(leaf::kPositionOfEntity, 0, kTarget, kPlayer);
    pursuit.Child(1).SetLeaf(leaf::kPathfindTo, kTarget, kSpeed);
}

void BehaviorMonster::InitSounds()
{
    _roarSound.Set("monster_scream3", 1.0f, false, true);
    _dieSound.Set("monster_scream5", 1.0f, false, true);
    _yelpSound.Set("monster_scream4", 1.0f, false, true);
    _stompSound.Set("footsteps_heavy", 1.0f, true, false);
    _heartBeatSound.Set("heartbeat", 1.0f, true, false);
    _explodeSound.Set("explosion", 1.0f, false, true);
    _rumblingLongSound.Set("rumblinglong", 1.0f, true, false);
    _crackingSound.Set("crackinglong", 0.6f, true, false);
    // Both loops run from the start, silent until the monster is called.
    _stompSound.Play();
    _heartBeatSound.Play();
    _stompSound.Pause(true);
    _heartBeatSound.Pause(true);
}

float& BehaviorMonster::Speed()
{
    return _tree.GetBlackboard().GetFloat(kSpeed);
}

void BehaviorMonster::Tick(std::size_t root, float dt)
{
    _tree.GetBlackboard()._dt = dt;
    _tree.Tick(root);
}

void BehaviorMonster::Update(float dt)
{
    Behavior::Update(dt);
    // Without its parts it cannot hunt; it was reported once and sleeps on.
    if (!_complete)
        return;

    if (Cheats::IsTriggered("Monster Speed Down"))
        _baseSpeed *= 0.5f;
    else if (Cheats::IsTriggered("Monster Speed Up"))
        _baseSpeed *= 2.0f;
    Speed() = _status->SpeedMultiplier() * _baseSpeed;
    ApplyDisco(dt);

    MessageSystem& messages = MessageSystem::Instance();
    switch (_state)
    {
    case Dormant:
        CheckCollected();
        return;
    case Hunting:
        Tick(0, dt);
        Checks();
        break;
    case Emerging:
        _emergeTimer.timer -= dt;
        if (_emergeTimer.timer <= 0.0f)
        {
            _emergeTimer.timer = _emergeTimer.duration;
            _stateNext = Hunting;
        }
        else
            Tick(1, dt);
        Checks();
        break;
    case Holding:
        Jitter(dt);
        Hold();
        if (messages.Get(kPlayerWins, true))
        {
            Burst();
            SetShade(false);
            _stunTimer.timer = _stunTimer.duration;
            _stateNext = Stunned;
        }
        break;
    case Stunned:
        Jitter(dt);
        _physics->SetVelocity(glm::vec2(0.0f));
        _stunTimer.timer -= dt;
        if (_stunTimer.timer <= 0.0f)
        {
            _stunTimer.timer = _stunTimer.duration;
            SetShade(true);
            _stateNext = Hunting;
        }
        break;
    case Frenzy:
        Speed() *= Settings().sightMult;
        Tick(1, dt);
        Checks();
        _heartBeatSound.SetVolume(1.0f);
        ShakeUnlessShaking(2.0f, 0.0f);
        break;
    case Dying:
        Jitter(dt);
        _captureTimer.timer -= dt;
        if (_captureTimer.timer <= 0.0f)
        {
            _captureTimer.timer = _captureTimer.duration;
            _explodeSound.Play();
            _crackingSound.Stop();
            _rumblingLongSound.Stop();
            _heartBeatSound.Stop();
            _stompSound.Stop();
            GetOwner()->Destroy();
            _stateNext = Dead;
            SceneSystem::Instance().ChangeScene(kWinScene, true);
        }
        break;
    case Dead:
        return;
    default:
        break;
    }

    messages.Post("monster_pos", true)._arguments.emplace_back(GetOwner()->GetTransform().GetTranslation());
    Animate(dt);
}

void BehaviorMonster::Checks()
{
    MessageSystem& messages = MessageSystem::Instance();
    if (messages.Get(kKillMonster, true))
        StartDying();
    if (const Message* data = messages.Get(kPlayerData, false))
        if (const glm::vec2* player = data->Arg<glm::vec2>(0))
        {
            const float d = 0.1f * glm::length(*player - GetOwner()->GetTransform().GetTranslation());
            _heartBeatSound.SetVolume(std::pow(0.97f, d));
            _stompSound.SetVolume(std::pow(0.99f, d));
        }
    CheckCollected();
}

bool BehaviorMonster::CheckCollected()
{
    const Message* collected = MessageSystem::Instance().Get(kCollected, true);
    if (!collected)
        return false;
    _roarSound.Play();
    Burst();
    Resume(_stompSound);
    Resume(_heartBeatSound);
    if (const glm::vec2* at = collected->Arg<glm::vec2>(0))
        GetOwner()->GetTransform().SetTranslation(*at);
    if (_collected < 3)
    {
        _stateNext = Emerging;
        ++_collected;
        _emergeTimer.timer = _emergeTimer.duration;
    }
    else
    {
        _stateNext = Frenzy;
        Shake(2.0f, 0.0f);
    }
    return true;
}

void BehaviorMonster::StartDying()
{
    _dieSound.Play();
    _crackingSound.Play();
    _rumblingLongSound.Play();
    Speed() = 0.0f;
    _physics->SetVelocity(glm::vec2(0.0f));
    _captureTimer.timer = _captureTimer.duration;
    _deathPulseTimer = 0.0f;
    _stateNext = Dying;
    FadeHudToWhite();
}

// The screen turns white over the last 30 % of the death.
void BehaviorMonster::FadeHudToWhite() const
{
    SceneSystem& scenes = SceneSystem::Instance();
    Scene* hud = scenes.FindScene(kGuiScene);
    Entity* fade = hud ? hud->FindEntity(kFade) : nullptr;
    for (const auto& scene : scenes.GetScenes())
    {
        if (fade)
            break;
        if (scene && (fade = scene->FindEntity(kFade)))
            hud = scene.get();
    }
    Sprite* sprite = fade ? fade->Get<Sprite>(ctype::Sprite) : nullptr;
    if (!sprite)
        return;
    sprite->SetTint(1.0f, 1.0f, 1.0f, 0.0f);
    const float d = _captureTimer.duration;
    hud->GetActionList().Add(FadeAction(fade, 1.0f, 0.7f * d, 0.3f * d, Lanes{kFadeLane}, false));
}

void BehaviorMonster::Hold()
{
    const Transform& transform = GetOwner()->GetTransform();
    const float a = transform.GetRotation() / kDegreesPerRadian;
    const float s = transform.GetScale().x;
    const glm::vec2 heading(std::cos(a), std::sin(a));
    _physics->SetVelocity(0.2f * _baseSpeed * heading);
    const glm::vec2 point = transform.GetTranslation() + heading * s / 3.0f;
    MessageSystem::Instance().Post("holdplayer", true)._arguments.emplace_back(point);
}

void BehaviorMonster::Jitter(float dt)
{
    _jitterTimer -= dt;
    if (_jitterTimer < 0.0f)
    {
        _jitterTarget = StdRandom::Unit() * 360.0f;
        _jitterTimer = 0.2f + StdRandom::Unit() * 1.3f;
    }
    Transform& transform = GetOwner()->GetTransform();
    transform.SetRotation(Physics::TurnToward(transform.GetRotation(), _jitterTarget, 0.1f));
}

void BehaviorMonster::Burst()
{
    _stompSound.Pause(true);
    EmitBurst(_physics ? _physics->GetVelocity() : glm::vec2(0.0f));
}

void BehaviorMonster::ApplyDisco(float dt)
{
    if (Cheats::IsTriggered("Disco"))
        _disco = !_disco;
    if (_disco)
    {
        _discoPhase += dt;
        const float p = _discoPhase;
        EmitterColors(glm::vec4(std::sin(p) + 0.5f, std::sin(p + kPi / 2.0f) + 0.5f, std::sin(p + kPi) + 0.5f, 1.0f),
                      true);
    }
    else
        EmitterColors(glm::vec4(0.0f, 0.0f, 0.0f, 1.0f), false);
}

bool BehaviorMonster::IsFlailing() const
{
    const bool sliced = (_status->_permanent & _status->_permMask & kSliceBit) ||
                        (_status->_temporary & _status->_tempMask & kSliceBit);
    return sliced || _state == Stunned || _state == Dying;
}

void BehaviorMonster::Animate(float dt)
{
    const float amplitude =
        std::clamp(_baseSpeed != 0.0f ? glm::length(_physics->GetVelocity()) / _baseSpeed : 0.0f, 0.0f, 1.0f);
    const bool flailing = IsFlailing();
    if (flailing)
    {
        EmitterPosVariation(glm::vec2(-35.0f, 35.0f));
        RigPose(8.0f, 1.0f, true);
    }
    else
    {
        EmitterPosVariation(glm::vec2(5.0f, 5.0f));
        RigPose(_animspeedmultiplier * Speed() * 0.01f, amplitude, false);
    }
    if (_state == Dying)
        DeathRays(dt);
}

void BehaviorMonster::DeathRays(float dt)
{
    _deathPulseTimer -= dt;
    if (_deathPulseTimer < 0.0f)
    {
        _explodeSound.Play();
        Shake(10.0f, 2.0f);
        ++_deathRays;
        _deathCountdown = std::max(1, _deathCountdown - 1);
        _deathPulseTimer = _captureTimer.duration / 3.0f;
    }
    _deathRayTimer -= dt;
    if (_deathRayTimer <= 0.0f)
    {
        _deathRayTimer = 0.01f;
        EmitRays(_deathRays, _captureTimer.timer);
    }
}

void BehaviorMonster::Shake(float magnitude, float decay) const
{
    const Scene* scene = GetOwner() ? GetOwner()->GetScene() : nullptr;
    if (SceneCamera* camera = scene ? scene->GetCamera() : nullptr)
        camera->StartShake(magnitude, decay);
}

void BehaviorMonster::ShakeUnlessShaking(float magnitude, float decay) const
{
    const Scene* scene = GetOwner() ? GetOwner()->GetScene() : nullptr;
    if (SceneCamera* camera = scene ? scene->GetCamera() : nullptr; camera && !camera->IsShaking())
        camera->StartShake(magnitude, decay);
}

void BehaviorMonster::SetShade(bool on)
{
    if (on)
        _status->_permanent |= kShadeBit;
    else
        _status->_permanent &= static_cast<std::uint16_t>(~kShadeBit);
}

void BehaviorMonster::OnStatusGained(unsigned flag)
{
    if (flag == static_cast<unsigned>(StatusFlag::Impact))
    {
        _yelpSound.Play();
        _stateNext = Stunned;
        _stunTimer.timer = kImpactStun;
    }
    else if (flag == static_cast<unsigned>(StatusFlag::Slice))
    {
        if (!_yelpSound.IsPlaying())
            _yelpSound.Play();
    }
}

void BehaviorMonster::OnStatusGiven(unsigned flag)
{
    if (flag == static_cast<unsigned>(StatusFlag::Shade))
        _stateNext = Holding;
    else if (flag == static_cast<unsigned>(StatusFlag::Smash))
    {
        _stateNext = Stunned;
        _stunTimer.timer = kSmashStun;
        Shake(20.0f, 50.0f);
    }
}

// The figure's spawn colour; black unless the disco is on.
void BehaviorMonster::EmitterColors(const glm::vec4& begin, bool keepAlpha)
{
    ParticleProperties& p = _emitter->Properties();
    p.colorBegin = keepAlpha ? glm::vec4(glm::vec3(begin), p.colorBegin.a) : begin;
    p.colorEnd = glm::vec4(0.0f);
}

void BehaviorMonster::EmitterPosVariation(const glm::vec2& variation)
{
    _emitter->Properties().posVariation = variation;
}

// Every line of the figure throws off two fast, long-lived particles.
void BehaviorMonster::EmitBurst(const glm::vec2& velocity)
{
    ParticleProperties& p = _emitter->Properties();
    const ParticleProperties kept = p;
    p.velVariation *= 3.0f;
    p.lifeTime *= 1.5f;
    p.vel = velocity;
    _rig->EmitAlongLines(2);
    p.velVariation = kept.velVariation;
    p.lifeTime = kept.lifeTime;
    p.vel = kept.vel;
}

void BehaviorMonster::RigPose(float speed, float amplitude, bool flailing)
{
    _rig->SetAnimationSpeed(speed);
    _rig->SetAmplitude(amplitude);
    // The torso is the first segment of the figure, the legs the second.
    const int pose = flailing ? 1 : 0;
    if (pose != _posedFlailing)
    {
        _posedFlailing = pose;
        _rig->SetKeyFrame(0, flailing ? "torsoflailing" : "torso");
        _rig->SetKeyFrame(1, flailing ? "legsstill" : "legs");
    }
}

// Rays of long-lived particles wheel out from the body, one more with every pulse.
void BehaviorMonster::EmitRays(int rays, float t)
{
    ParticleProperties& p = _emitter->Properties();
    const ParticleProperties kept = p;
    p.posVariation = glm::vec2(0.0f);
    p.velVariation = glm::vec2(0.0f);
    p.colorBegin.a = 1.0f;
    p.colorEnd.a = 1.0f;
    p.sizeEnd = 0.0f;
    p.sizeBegin *= 1.5f;
    p.lifeTime = 12.0f;
    // An emitter that spawns along the figure would start the rays wherever the last
    // line left it: they start at the body instead.
    if (!_emitter->GetUseParentPos())
        p.pos = GetOwner()->GetTransform().GetTranslation();
    for (int i = 0; i < rays; ++i)
    {
        const float fi = static_cast<float>(i);
        const float theta = std::sin((t + fi) * 4.0f) * 0.6f + fi * 2.0f * kPi / 3.0f + t;
        p.vel = 700.0f * glm::vec2(std::cos(theta), std::sin(theta));
        _emitter->Emit();
    }
    p = kept;
}
