#include "behaviors/player/BehaviorPlayer.h"

#include "behaviors/UiLinks.h"
#include "core/Cheats.h"
#include "core/MessageSystem.h"
#include "core/Trace.h"
#include "data/Archetypes.h"
#include "data/Entity.h"
#include "data/Stream.h"
#include "data/TypeRegistry.h"
#include "input/InputSystem.h"
#include "physics/Collider.h"
#include "physics/LineBuffer.h"
#include "physics/Physics.h"
#include "physics/Status.h"
#include "render/Sprite.h"
#include "scene/Flashlight.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <glm/geometric.hpp>
#include <glm/trigonometric.hpp>

#include <algorithm>
#include <any>
#include <cmath>
#include <string>

GLOAMER_REGISTER_COMPONENT(BehaviorPlayer, ctype::Behavior)

namespace
{
constexpr float kPauseDelay = 0.0001f;

BehaviorPlayer::Tuning& TuningValues()
{
    static BehaviorPlayer::Tuning tuning;
    return tuning;
}

// A looping sound kept paused between uses: resuming must not start a second playback.
void Resume(Sound& sound)
{
    if (sound.IsPlaying())
        sound.Pause(false);
    else
        sound.Play();
}

void PauseSound(Sound& sound)
{
    sound.Pause(true);
}

void SetAlpha(Entity& entity, float alpha)
{
    if (Sprite* sprite = entity.Get<Sprite>(ctype::Sprite))
    {
        const glm::vec4 tint = sprite->GetTint();
        sprite->SetTint(tint.r, tint.g, tint.b, alpha);
    }
}
} // namespace

const FieldDescriptor<BehaviorPlayer>& BehaviorPlayer::Descriptor()
{
    static const FieldDescriptor<BehaviorPlayer> descriptor("BehaviorPlayer",
                                                            {
                                                                GLOAMER_FIELD(BehaviorPlayer, _baseSpeed),
                                                                GLOAMER_FIELD(BehaviorPlayer, _sprintFactor),
                                                                GLOAMER_FIELD(BehaviorPlayer, _baseStamina),
                                                                GLOAMER_FIELD(BehaviorPlayer, _stamina),
                                                                GLOAMER_FIELD(BehaviorPlayer, _placeTimer),
                                                                GLOAMER_FIELD(BehaviorPlayer, _placingslow),
                                                                GLOAMER_FIELD(BehaviorPlayer, _placed),
                                                                GLOAMER_FIELD(BehaviorPlayer, _struggleStamina),
                                                                GLOAMER_FIELD(BehaviorPlayer, _struggleFactorstart),
                                                                GLOAMER_FIELD(BehaviorPlayer, _struggleFactor),
                                                                GLOAMER_FIELD(BehaviorPlayer, _struggleFactorincr),
                                                            });
    return descriptor;
}

StaticSettings& BehaviorPlayer::SettingsFile()
{
    Tuning& t = TuningValues();
    static StaticSettings settings("BehaviorPlayer", {
                                                         {&t.trapPreviewPlace, "TrapPreviewPlace"},
                                                         {&t.trapPreviewBad, "TrapPreviewBad"},
                                                         {&t.trapPreviewGood, "TrapPreviewGood"},
                                                         {&t.handDist, "HandDist"},
                                                         {&t.handRotRad, "HandRotRad"},
                                                         {&t.mouseTooClose, "MouseTooClose"},
                                                         {&t.trapRangeUpper, "TrapRangeUpper"},
                                                         {&t.trapRangeLower, "TrapRangeLower"},
                                                     });
    settings.EnsureLoaded();
    return settings;
}

BehaviorPlayer::Tuning& BehaviorPlayer::Settings()
{
    SettingsFile();
    return TuningValues();
}

// A copy belongs to a new entity: its stock, off hand and cached links are made by its own Init.
BehaviorPlayer::BehaviorPlayer(const BehaviorPlayer& other)
    : ComponentBase<BehaviorPlayer, Behavior>(other), _baseSpeed(other._baseSpeed), _sprintFactor(other._sprintFactor),
      _baseStamina(other._baseStamina), _stamina(other._stamina), _godMode(other._godMode),
      _infiniteTraps(other._infiniteTraps), _placeTimer(other._placeTimer), _placingslow(other._placingslow),
      _struggleStamina(other._struggleStamina), _struggleTimer(other._struggleTimer),
      _struggleFactorstart(other._struggleFactorstart), _struggleFactor(other._struggleFactor),
      _struggleFactorincr(other._struggleFactorincr), _walkingSound(other._walkingSound),
      _runningSound(other._runningSound), _trapPlaceSound(other._trapPlaceSound),
      _trapPlacingSound(other._trapPlacingSound), _buzzingSound(other._buzzingSound), _savedSpeed(other._savedSpeed)
{
}

BehaviorPlayer::~BehaviorPlayer() = default;

void BehaviorPlayer::Read(const json& j)
{
    Behavior::Read(j);
    Descriptor().Read(*this, j);
    const std::pair<const char*, Sound*> sounds[] = {{"walkingsound", &_walkingSound},
                                                     {"runningsound", &_runningSound},
                                                     {"trapplacesound", &_trapPlaceSound},
                                                     {"trapplacingsound", &_trapPlacingSound},
                                                     {"buzzingsound", &_buzzingSound}};
    for (const auto& [key, sound] : sounds)
        if (auto it = j.find(key); it != j.end())
            sound->Read(*it);
}

void BehaviorPlayer::Write(json& j) const
{
    Behavior::Write(j);
    Descriptor().Write(*this, j);
    const std::pair<const char*, const Sound*> sounds[] = {{"walkingsound", &_walkingSound},
                                                           {"runningsound", &_runningSound},
                                                           {"trapplacesound", &_trapPlaceSound},
                                                           {"trapplacingsound", &_trapPlacingSound},
                                                           {"buzzingsound", &_buzzingSound}};
    for (const auto& [key, sound] : sounds)
    {
        json s = json::object();
        sound->Write(s);
        j[key] = std::move(s);
    }
    j["trapcount"] = TrapCount();
    j["selectedslot"] = _selectedSlot;
    j["offhand"] = _offHand != nullptr;
}

unsigned BehaviorPlayer::TrapCount() const
{
    return _trapStock.empty() || !_trapStock.front().prototype ? 0u : _trapStock.front().count;
}

const Entity* BehaviorPlayer::TrapPrototype() const
{
    return _trapStock.empty() ? nullptr : _trapStock.front().prototype.get();
}

glm::vec2 BehaviorPlayer::HandOffset(float angleRadians, float handDist, float handRotRad)
{
    const float c = angleRadians - handRotRad;
    return -handDist * glm::vec2(std::cos(c), std::sin(c));
}

glm::vec2 BehaviorPlayer::WalkVelocity(int x, int y, float speed)
{
    if (x == 0 && y == 0)
        return glm::vec2(0.0f);
    return glm::normalize(glm::vec2(static_cast<float>(x), static_cast<float>(y))) * speed;
}

void BehaviorPlayer::ReportMissing(bool& reported, const char* what)
{
    if (reported)
        return;
    reported = true;
    const std::string name = GetOwner() ? GetOwner()->GetName() : std::string();
    Trace::Error("Player \"" + name + "\" has no " + what + "; it plays without one");
}

void BehaviorPlayer::Init()
{
    Settings();
    _struggleFactor = _struggleFactorstart;
    _stamina = _baseStamina;
    _stateNext = Idle;

    _trapStock.clear();
    if (std::unique_ptr<Entity> trap = CreateFromArchetype("beartrap", true))
        _trapStock.push_back({std::move(trap), kStartingTraps});
    else
        Trace::Error(Stream::GetPath("beartrap", EntityFile) + ": no bear trap archetype; the trap stock is empty");
    _offHand.reset();
    for (TrapSlot& slot : _trapStock)
        slot.prototype->Init();

    _walkingSound.Set("footsteps_med", 0.8f, true, false);
    _runningSound.Set("footsteps_fast", 0.8f, true, false);
    _trapPlaceSound.Set("trap_place", 0.7f, false, false);
    _trapPlacingSound.Set("trap_placing", 0.8f, true, false);
    _buzzingSound.Set("lightbuzz", 0.0f, true, false);
    for (Sound* sound : {&_walkingSound, &_runningSound, &_trapPlacingSound, &_buzzingSound})
    {
        sound->Play();
        sound->Pause(true);
    }

    Entity* owner = GetOwner();
    if (!owner)
        return;
    _transform = &owner->GetTransform();
    _physics = owner->Get<Physics>(ctype::Physics);
    _status = owner->Get<Status>(ctype::Status);
    _progress = dynamic_cast<ProgressDisplay*>(owner->GetComponent(ctype::ProgressBar));
    _tip = dynamic_cast<TipDisplay*>(owner->GetComponent(ctype::ToolTip));
    if (!_physics)
        ReportMissing(_reportedNoPhysics, "Physics");
    if (!_progress)
        ReportMissing(_reportedNoProgressBar, "ProgressBar");
    if (!_tip)
        ReportMissing(_reportedNoToolTip, "ToolTip");
}

void BehaviorPlayer::Exit()
{
    for (TrapSlot& slot : _trapStock)
        if (slot.prototype)
            slot.prototype->Exit();
}

Scene* BehaviorPlayer::OwnerScene() const
{
    return GetOwner() ? GetOwner()->GetScene() : nullptr;
}

void BehaviorPlayer::PostSound()
{
    MessageSystem::Instance().Post("player_sound", true);
}

void BehaviorPlayer::Update(float dt)
{
    Behavior::Update(dt);
    if (!GetOwner() || !_transform)
        return;
    InputSystem& input = InputSystem::Instance();

    ApplyCheats();
    PostPlayerData();
    UpdateHud();
    ReadPlayerTalk();

    _speedFactor = _status ? _status->SpeedMultiplier() : 1.0f;
    _position = _transform->GetTranslation();
    _mouse = input.GetMouseWorldPosition();
    const glm::vec2 fromMouse = _position - _mouse;
    _facingRadians = std::atan2(fromMouse.y, fromMouse.x);
    _facingDegrees = glm::degrees(_facingRadians);
    _mouseDistance = glm::length(fromMouse);

    if (input.IsTriggered("Pause"))
    {
        MessageSystem::Instance().Send(Message("Pause", {}, kPauseDelay, true));
        if (Scene* scene = OwnerScene())
            scene->SetPaused(true);
    }

    switch (_state)
    {
    case Idle:
    case Walking:
    case Sprinting:
    case Exhausted:
        AimFlashlight();
        HandleOffHand();
        SelectSlots();
        AimTrap(dt);
        _transform->SetRotation(_facingDegrees);
        // A hold that started placing stops the player; walking would undo the request.
        if (_stateNext == Placing)
        {
            if (_physics)
            {
                _physics->SetVelocity(glm::vec2(0.0f));
                _physics->SetAcceleration(glm::vec2(0.0f));
            }
        }
        else
            Move(dt);
        break;
    case Placing:
        _speedFactor *= _placingslow;
        if (_physics)
        {
            _physics->SetVelocity(glm::vec2(0.0f));
            _physics->SetAcceleration(glm::vec2(0.0f));
        }
        if (!PlacingStep(dt) || _placed)
        {
            _stateNext = Idle;
            PauseSound(_trapPlacingSound);
        }
        break;
    case Held:
        AimFlashlight();
        SelectSlots();
        Struggle(dt);
        _transform->SetRotation(_facingDegrees);
        break;
    case Dying:
        Die();
        break;
    default:
        break;
    }
}

void BehaviorPlayer::ApplyCheats()
{
    if (Cheats::IsTriggered("God Mode"))
        _godMode = !_godMode;
    if (Cheats::IsTriggered("Infinite Traps"))
        _infiniteTraps = !_infiniteTraps;
    if (!Cheats::IsTriggered("No Clip"))
        return;
    Collider* collider = GetOwner()->Get<Collider>(ctype::Collider);
    if (!collider)
        return;
    collider->SetRigid(!collider->IsRigid());
    // No-clip is on while the collider is not rigid.
    if (!collider->IsRigid())
    {
        SetAlpha(*GetOwner(), 0.5f);
        _savedSpeed = _baseSpeed;
        _baseSpeed *= 2.0f;
    }
    else
    {
        SetAlpha(*GetOwner(), 1.0f);
        _baseSpeed = _savedSpeed;
    }
}

void BehaviorPlayer::PostPlayerData()
{
    const glm::vec2 velocity = _physics ? _physics->GetVelocity() : glm::vec2(0.0f);
    const float stamina = _baseStamina != 0.0f ? _stamina / _baseStamina : 0.0f;
    // Filled in place: posted every update, it must not allocate.
    std::vector<std::any>& payload = MessageSystem::Instance().Post("playerdata")._arguments;
    payload.emplace_back(_transform->GetTranslation());
    payload.emplace_back(velocity);
    payload.emplace_back(static_cast<int>(TrapCount()));
    payload.emplace_back(stamina);
}

void BehaviorPlayer::UpdateHud()
{
    HudOperations& hud = Hud::Get();
    hud.SetSprint(_baseStamina != 0.0f ? _stamina / _baseStamina : 0.0f);
    hud.SetSlotValue(static_cast<int>(TrapCount()), 0);
    hud.SetSlotValue(_offHand ? 1 : 0, 1);
    hud.SelectSlot(_selectedSlot);
    if (_selectedSlot == 0 && TrapCount() > 0)
        hud.ShowClickPrompt("place trap");
    else if (_selectedSlot == 1 && _offHand)
        hud.ShowClickPrompt("throw brick");
    else
        hud.HideClickPrompt();
}

void BehaviorPlayer::ReadPlayerTalk()
{
    Message* talk = MessageSystem::Instance().Get("playertalk", true);
    if (!talk)
        return;
    const std::string* text = talk->Arg<std::string>(0);
    if (!text)
        return;
    if (_tip)
        _tip->ShowText(*text);
    else
        ReportMissing(_reportedNoToolTip, "ToolTip");
}

void BehaviorPlayer::AimFlashlight()
{
    // The beam starts at the hand and points at the mouse moved by the same offset, so
    // it stays parallel to the line from the body to the cursor.
    Entity* owner = GetOwner();
    Flashlight* light = owner ? owner->Get<Flashlight>(ctype::Flashlight) : nullptr;
    if (!light)
    {
        ReportMissing(_reportedNoFlashlight, "Flashlight");
        return;
    }
    const Tuning& tuning = Settings();
    const glm::vec2 hand = HandOffset(_facingRadians, tuning.handDist, tuning.handRotRad);
    light->_origin = _position + hand;
    light->_aimPoint = _mouse + hand;
}

void BehaviorPlayer::SelectSlots()
{
    InputSystem& input = InputSystem::Instance();
    if (input.IsReleased("trap 1"))
        _selectedSlot = _selectedSlot == 0 ? -1 : 0;
    else if (input.IsReleased("trap offhand"))
        _selectedSlot = _selectedSlot == 1 ? -1 : 1;
}

void BehaviorPlayer::HandleOffHand()
{
    Scene* scene = OwnerScene();
    if (Message* message = MessageSystem::Instance().Get("throwable", true))
    {
        const EntityParcel* parcel = message->Arg<EntityParcel>(0);
        if (parcel && *parcel && **parcel)
        {
            std::unique_ptr<Entity> item = std::move(**parcel);
            item->ClearDetach();
            if (_offHand)
            {
                // Only one item fits: the old one drops at the player's feet.
                _offHand->GetTransform().SetTranslation(_position);
                if (Physics* physics = _offHand->Get<Physics>(ctype::Physics))
                    physics->SetVelocity(glm::vec2(0.0f));
                if (scene)
                    scene->AddEntity(std::move(_offHand));
            }
            else
                Trace::Message("Item added to offhand");
            _offHand = std::move(item);
        }
    }

    if (_offHand && _selectedSlot == 1 && InputSystem::Instance().IsDown("throw"))
    {
        _offHand->GetTransform().SetTranslation(_position);
        if (Physics* physics = _offHand->Get<Physics>(ctype::Physics))
        {
            physics->SetOldPosition(_position);
            physics->SetVelocity(-kThrowSpeed * glm::vec2(std::cos(_facingRadians), std::sin(_facingRadians)));
        }
        if (Collider* collider = _offHand->Get<Collider>(ctype::Collider))
            collider->SetEnabled(true);
        if (scene)
            scene->AddEntity(std::move(_offHand));
        _offHand.reset();
    }
}

void BehaviorPlayer::SlideOutOfWalls(Entity& prototype)
{
    Collider* collider = prototype.Get<Collider>(ctype::Collider);
    Scene* scene = OwnerScene();
    if (!collider || !scene)
        return;
    // The preview may sit where a placed trap could not: slide it the way a rigid body
    // would be pushed.
    const bool rigid = collider->IsRigid();
    collider->SetRigid(true);
    collider->Update(0.0f);
    for (const auto& entity : scene->GetEntities().Entities())
    {
        const Collider* wall = entity->Get<Collider>(ctype::Collider);
        if (!wall || !wall->IsEnabled() || wall->GetShapeType() != shape::LineBuffer || !wall->GetWorldShape())
            continue;
        Collider::CollideWalls(*collider, static_cast<const LineBuffer&>(*wall->GetWorldShape()));
    }
    if (const LineBuffer* walls = scene->GetTilemapWalls())
        Collider::CollideWalls(*collider, *walls);
    collider->SetRigid(rigid);
}

void BehaviorPlayer::AimTrap(float dt)
{
    if (_selectedSlot != 0 || _state == Dead || _trapStock.empty() || !_trapStock.front().prototype)
        return;
    const Tuning& tuning = Settings();
    Entity& prototype = *_trapStock.front().prototype;

    const float r = std::min(tuning.trapRangeUpper, _mouseDistance);
    const glm::vec2 preview = _position - r * glm::vec2(std::cos(_facingRadians), std::sin(_facingRadians));
    if (Physics* physics = prototype.Get<Physics>(ctype::Physics))
        physics->SetOldPosition(_position);
    prototype.GetTransform().SetTranslation(preview);
    SlideOutOfWalls(prototype);

    const float d = glm::distance(prototype.GetTransform().GetTranslation(), _position);
    if (!InputSystem::Instance().IsDown("click button"))
        _placed = false;

    glm::vec4 tint = tuning.trapPreviewBad;
    if (d > tuning.trapRangeLower && !_placed)
    {
        if (PlacingStep(dt))
        {
            // Placing the last trap empties the stock; nothing is left to preview.
            if (TrapCount() == 0)
                return;
            tint = tuning.trapPreviewPlace;
            _stateNext = Placing;
            _speedFactor *= _placingslow;
            Resume(_trapPlacingSound);
        }
        else
            tint = tuning.trapPreviewGood;
    }
    if (Sprite* sprite = prototype.Get<Sprite>(ctype::Sprite))
        sprite->SetTint(tint);
}

bool BehaviorPlayer::PlacingStep(float dt)
{
    const bool held = InputSystem::Instance().IsDown("click button");
    float progress = 0.0f;
    if (held)
    {
        _placeTimer.timer -= dt;
        if (_placeTimer.timer <= 0.0f)
        {
            _placeTimer.timer = _placeTimer.duration;
            PlaceTrap();
        }
        progress =
            _placeTimer.duration > 0.0f ? (_placeTimer.duration - _placeTimer.timer) / _placeTimer.duration : 1.0f;
    }
    else
    {
        _placeTimer.timer = _placeTimer.duration;
        PauseSound(_trapPlacingSound);
    }

    if (_progress)
    {
        _progress->SetValue(progress);
        _progress->SetVisible(held && progress != 0.0f);
    }
    return held;
}

void BehaviorPlayer::PlaceTrap()
{
    if (_trapStock.empty() || !_trapStock.front().prototype)
        return;
    TrapSlot& slot = _trapStock.front();
    if (Sprite* sprite = slot.prototype->Get<Sprite>(ctype::Sprite))
        sprite->SetTint(1.0f, 1.0f, 1.0f, 1.0f);
    if (Scene* scene = OwnerScene())
        scene->AddEntity(slot.prototype->Clone());
    if (!_infiniteTraps && slot.count > 0)
        --slot.count;
    _placed = true;
    _trapPlaceSound.Play();
    PostSound();
    if (slot.count < 1)
    {
        slot.prototype->Exit();
        slot.prototype.reset();
        _selectedSlot = -1;
        _trapPlacingSound.Stop();
    }
}

void BehaviorPlayer::RegainStamina(float dt)
{
    _stamina = _stamina < _baseStamina ? std::min(_stamina + dt, _baseStamina) : _baseStamina;
}

void BehaviorPlayer::Move(float dt)
{
    InputSystem& input = InputSystem::Instance();
    const int x = (input.IsDown("right") ? 1 : 0) - (input.IsDown("left") ? 1 : 0);
    const int y = (input.IsDown("up") ? 1 : 0) - (input.IsDown("down") ? 1 : 0);
    const float speed = _speedFactor * _baseSpeed;
    const glm::vec2 v = WalkVelocity(x, y, speed);

    glm::vec2 velocity(0.0f);
    if ((x == 0 && y == 0) || speed == 0.0f)
    {
        PauseSound(_walkingSound);
        PauseSound(_runningSound);
        _stateNext = Idle;
        RegainStamina(dt);
    }
    else if (_state == Exhausted)
    {
        // An exhausted player walks without recovering until standing still.
        if (_stamina > kExhaustionEnds)
        {
            Resume(_walkingSound);
            PauseSound(_runningSound);
            _stateNext = Walking;
        }
        velocity = v;
    }
    else if (input.IsDown("sprint"))
    {
        if (_stamina > 0.0f)
        {
            PostSound();
            PauseSound(_walkingSound);
            Resume(_runningSound);
            velocity = v * _sprintFactor;
            _stamina = std::max(_stamina - dt, 0.0f);
            _stateNext = Sprinting;
        }
        else
        {
            Resume(_walkingSound);
            PauseSound(_runningSound);
            _stateNext = Exhausted;
            velocity = v;
        }
    }
    else
    {
        Resume(_walkingSound);
        PauseSound(_runningSound);
        PostSound();
        _stateNext = Walking;
        RegainStamina(dt);
        velocity = v;
    }
    if (_physics)
        _physics->SetVelocity(velocity);
}

void BehaviorPlayer::Struggle(float dt)
{
    MessageSystem& messages = MessageSystem::Instance();
    if (Message* hold = messages.Get("holdplayer", true))
        if (const glm::vec2* point = hold->Arg<glm::vec2>(0))
        {
            _transform->SetTranslation(*point);
            _position = *point;
        }

    // Keys must alternate; a repeat of the same key does nothing.
    InputSystem& input = InputSystem::Instance();
    const float gain = 0.5f / (_struggleFactor + 1.0f);
    if (_nextStruggleKey == 0 && input.IsTriggered("left"))
    {
        _nextStruggleKey = 1;
        _struggleTimer += gain;
        _struggleFrame = 0;
    }
    else if (_nextStruggleKey == 1 && input.IsTriggered("right"))
    {
        _nextStruggleKey = 0;
        _struggleTimer += gain;
        _struggleFrame = 1;
    }
    _struggleFactor += dt * _struggleFactorincr;

    const float full = _struggleStamina;
    Hud::Get().SetStruggle(full != 0.0f ? _struggleTimer / full : 0.0f, _struggleFrame);
    _buzzingSound.SetVolume(full != 0.0f ? (full - _struggleTimer) / full : 0.0f);
    _struggleTimer -= (_struggleFactor + 1.0f) * (_struggleFactor + 1.0f) * dt;

    if (_struggleTimer <= 0.0f)
    {
        _struggleTimer = _struggleStamina;
        _stateNext = Dying;
        Hud::Get().EndStruggle();
    }
    else if (_struggleTimer > _struggleStamina)
    {
        _struggleFactor *= 1.1f;
        _stateNext = Idle;
        PauseSound(_buzzingSound);
        messages.Send(Message("player_wins_struggle", {}, 0.0f, true));
        Hud::Get().EndStruggle();
    }
}

void BehaviorPlayer::OnStatusGained(unsigned flag)
{
    if (flag != static_cast<unsigned>(StatusFlag::Shade) || _godMode)
        return;
    if (_state == Held || _state == Dying || _state == Dead)
        return;
    _stateNext = Held;
    _struggleTimer = _struggleStamina * 0.5f;
    Resume(_buzzingSound);
    Hud::Get().StartStruggle();
}

void BehaviorPlayer::Die()
{
    if (_physics)
        _physics->SetVelocity(glm::vec2(0.0f));
    MessageSystem::Instance().Send(Message("player_dead", {_position}, 0.0f, true));
    SceneSystem::Instance().ChangeScene("lose_scene", true);
    _trapPlacingSound.Stop();
    _walkingSound.Stop();
    _runningSound.Stop();
    _stateNext = Dead;
}

void BehaviorPlayer::Render()
{
    if (_selectedSlot != 0 || _state == Dead)
        return;
    if (const Entity* prototype = TrapPrototype())
        if (Sprite* sprite = prototype->Get<Sprite>(ctype::Sprite))
            sprite->Render();
}
