#pragma once

#include "data/Component.h"
#include "data/FieldDescriptor.h"

#include <glm/vec2.hpp>

class Scene;

// Runs the pause menu and its pages by moving its scene's camera between regions of
// that scene's world, in answer to the messages the menu's buttons post.
class PauseManager : public ComponentBase<PauseManager>
{
public:
    static constexpr int kCameraLane = 1;
    static constexpr const char* kMainMenu = "main_menu";

    PauseManager() : ComponentBase<PauseManager>(ctype::PauseManager) {}

    void Read(const json& j) override;
    void Write(json& j) const override;
    void Update(float dt) override;

    bool IsPaused() const { return _paused; }

    static const FieldDescriptor<PauseManager>& Descriptor();

private:
    void MoveCamera(Scene& scene, const glm::vec2& to, float seconds, int easing, bool blocking);
    void StartUnpausing(Scene& scene);
    // The level this menu is a sub-scene of stops, and the menu is asked to open.
    void PauseLevel(const Scene& menu);

    bool _paused = false;
    glm::vec2 _onScreenPos{0.0f};
    glm::vec2 _tutorialPos{0.0f};
    glm::vec2 _optionsPos{0.0f};
    float _pauseMoveTime = 0.0f;
    float _submenuMoveTime = 0.0f;
    float _unpausePercentage = 0.0f;
    int _menuLerpIn = 2;
    int _menuLerpOut = 1;
};
