#pragma once

#include "audio/Sound.h"
#include "data/EntityRef.h"
#include "render/SceneCamera.h"

#include <glm/vec2.hpp>

#include <memory>
#include <string_view>
#include <vector>

class Scene;

// The game levels' camera. It opens with a tour over the level's fragments behind the
// GUI scene's fade overlay (any key ends it), then follows the player half a second
// ahead of where it is going, leaning toward the monster when it is near.
class PlayerCamera : public SceneCamera
{
public:
    static constexpr float kStopDuration = 5.0f;
    static constexpr float kTourSpeed = 100.0f;  // units per second past each fragment
    static constexpr float kLead = 0.5f;         // seconds of player movement ahead
    static constexpr float kLeanRange = 600.0f;  // the monster is leaned toward within this
    static constexpr float kLeanFactor = 0.104f; // of the way from the focus to the monster
    // The tour's actions run in a lane of their own, so ending the tour removes
    // nothing else the GUI scene is animating.
    static constexpr int kTourLane = 8;
    static constexpr const char* kGuiScene = "gui_scene";
    static constexpr const char* kFade = "fade";

    // A player camera for "playercamera", null for any other name.
    static std::unique_ptr<SceneCamera> Create(std::string_view typeName);

    // Finds the fade overlay, queues the tour behind it and plays the opening sound.
    void Init() override;
    void Follow(float dt) override;
    std::string_view TypeName() const override { return "playercamera"; }

    int GetStopsLeft() const { return _stopsLeft; }
    const std::vector<glm::vec2>& GetTourPoints() const { return _tourPoints; }
    const glm::vec2& GetFocus() const { return _focus; }

private:
    void TourStep(float dt);
    void EndTour();
    // The GUI scene with the fade overlay, or null (said once) when either is missing.
    Scene* FindGui();

    int _stopsLeft = 0;
    float _tourTimer = 0.0f;
    std::vector<glm::vec2> _tourPoints;
    glm::vec2 _focus{0.0f};
    glm::vec2 _playerPosition{0.0f};
    glm::vec2 _playerVelocity{0.0f};
    Sound _sound;
    EntityRef _fade;
    bool _reportedNoGui = false;
    bool _reportedBadPlayerData = false;
};
