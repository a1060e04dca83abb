#pragma once

#include "audio/Sound.h"
#include "behaviors/Behavior.h"
#include "data/StaticSettings.h"
#include "data/Timer.h"

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <memory>
#include <vector>

class Physics;
class Scene;
class ProgressDisplay;
class Status;
class TipDisplay;
class Transform;

// The character the player controls: eight-way walking and sprinting on a stamina
// pool, facing the mouse, placing bear traps from a counted stock with a hold-to-place
// timer, carrying and throwing one off-hand item, and struggling free of the monster.
class BehaviorPlayer : public ComponentBase<BehaviorPlayer, Behavior>
{
public:
    enum State
    {
        Idle = 0,
        Walking = 1,
        Sprinting = 2,
        Exhausted = 3,
        Placing = 4,
        Held = 5,
        Dying = 6,
        Dead = 7,
    };

    static constexpr unsigned kStartingTraps = 12;
    static constexpr float kThrowSpeed = 1000.0f;
    // Sprinting stops at empty stamina until this much has come back.
    static constexpr float kExhaustionEnds = 3.0f;

    // Class-wide tuning kept in Data/Static/behaviorplayer.json.
    struct Tuning
    {
        glm::vec4 trapPreviewPlace{0.0f};
        glm::vec4 trapPreviewBad{0.0f};
        glm::vec4 trapPreviewGood{0.0f};
        float handDist = 0.0f;
        float handRotRad = 0.0f;
        float mouseTooClose = 0.0f;
        float trapRangeUpper = 0.0f;
        float trapRangeLower = 0.0f;
    };

    BehaviorPlayer() = default;
    BehaviorPlayer(const BehaviorPlayer& other);
    ~BehaviorPlayer() override;

    std::string_view GetName() const override { return "behaviorplayer"; }
    std::uint32_t GetFlags() const override { return 0x6621; }

    void Read(const json& j) override;
    // Also the state a dump needs: the trap count, the selected slot and the off hand.
    void Write(json& j) const override;
    void Init() override;
    void Update(float dt) override;
    void Render() override;
    void Exit() override;
    void OnStatusGained(unsigned flag) override;

    static Tuning& Settings();
    static StaticSettings& SettingsFile();

    float GetStamina() const { return _stamina; }
    float GetBaseSpeed() const { return _baseSpeed; }
    int GetSelectedSlot() const { return _selectedSlot; }
    // Traps left in the first slot; 0 once the stock is empty.
    unsigned TrapCount() const;
    const Entity* TrapPrototype() const;
    const Entity* OffHandItem() const { return _offHand.get(); }
    float GetStruggleValue() const { return _struggleTimer; }
    float GetStruggleFactor() const { return _struggleFactor; }
    bool IsGodMode() const { return _godMode; }
    bool HasInfiniteTraps() const { return _infiniteTraps; }

    // Where the hand (the flashlight origin) sits relative to the body when the body
    // faces angle a (radians, from the mouse to the player).
    static glm::vec2 HandOffset(float angleRadians, float handDist, float handRotRad);
    // The velocity of eight-way input x, y (each -1, 0 or 1) at a speed: diagonals are
    // normalised, no input is zero.
    static glm::vec2 WalkVelocity(int x, int y, float speed);

    static const FieldDescriptor<BehaviorPlayer>& Descriptor();

private:
    struct TrapSlot
    {
        std::unique_ptr<Entity> prototype;
        unsigned count = 0;
    };

    void ApplyCheats();
    void PostPlayerData();
    void UpdateHud();
    void ReadPlayerTalk();
    // Aims the flashlight from the hand toward the mouse.
    void AimFlashlight();
    void SelectSlots();
    void HandleOffHand();
    void AimTrap(float dt);
    void SlideOutOfWalls(Entity& prototype);
    // Advances the hold-to-place timer; true while the button is held.
    bool PlacingStep(float dt);
    void PlaceTrap();
    void Move(float dt);
    void RegainStamina(float dt);
    void Struggle(float dt);
    void Die();
    void PostSound();
    Scene* OwnerScene() const;
    void ReportMissing(bool& reported, const char* what);

    float _baseSpeed = 400.0f;
    float _sprintFactor = 1.3f;
    float _baseStamina = 10.0f;
    float _stamina = 10.0f;
    bool _godMode = false;
    bool _infiniteTraps = false;
    int _selectedSlot = -1;
    Timer _placeTimer{1.0f, 1.0f};
    float _placingslow = 0.2f;
    bool _placed = false;
    float _struggleStamina = 5.5f;
    float _struggleTimer = 5.5f;
    float _struggleFactorstart = 0.1f;
    float _struggleFactor = 0.1f;
    float _struggleFactorincr = 0.01f;
    Sound _walkingSound;
    Sound _runningSound;
    Sound _trapPlaceSound;
    Sound _trapPlacingSound;
    Sound _buzzingSound;

    std::vector<TrapSlot> _trapStock;
    std::unique_ptr<Entity> _offHand;
    // 0: "left" is the next struggle key, 1: "right".
    int _nextStruggleKey = 0;
    // The struggle bar's frame: 1 until "left" is pressed, then the key pressed last.
    unsigned _struggleFrame = 1;
    Transform* _transform = nullptr;
    Physics* _physics = nullptr;
    Status* _status = nullptr;
    ProgressDisplay* _progress = nullptr;
    TipDisplay* _tip = nullptr;
    float _facingDegrees = 0.0f;
    float _facingRadians = 0.0f;
    float _mouseDistance = 0.0f;
    glm::vec2 _mouse{0.0f};
    glm::vec2 _position{0.0f};
    float _speedFactor = 1.0f;
    // Move speed kept while no-clip doubles it.
    float _savedSpeed = 400.0f;

    bool _reportedNoFlashlight = false;
    bool _reportedNoProgressBar = false;
    bool _reportedNoToolTip = false;
    bool _reportedNoPhysics = false;
};
