#pragma once

#include "behaviors/Behavior.h"
#include "behaviors/UiLinks.h"
#include "data/StaticSettings.h"

#include <glm/vec2.hpp>

#include <string>

// Runs the HUD scene beside the level and gives the game its HUD operations: hiding
// and showing the HUD, the struggle prompt, the click prompt, the tool slots, the
// sliding objective pad and the shaking pillar text. Its state is global, since one
// HUD is shown at a time; parts that are missing are skipped.
class BehaviorHudController : public ComponentBase<BehaviorHudController, Behavior>
{
public:
    // How far the sliding parts move out of the screen when the HUD hides.
    static constexpr float kSlideDistance = 500.0f;
    static constexpr float kPadHiddenOffset = 450.0f;
    static constexpr float kPillarSeconds = 2.0f;
    static constexpr float kPillarJitter = 5.0f;
    static constexpr int kSlideLane = 1;

    std::string_view GetName() const override { return "behaviorhudcontroller"; }

    void Init() override;
    void Update(float dt) override;
    void Exit() override;
    void Start() override;

    static void ShowHUD();
    static void HideHUD();
    static void StartStruggle();
    static void EndStruggle();
    static void ShowClickPrompt(const std::string& text);
    static void HideClickPrompt();
    static void SelectSlot(int slot);
    static void SetSlotValue(int value, int slot);
    static void SetPillarText(const std::string& text);
    static void SetSprint(float fraction);
    static void SetStruggle(float fraction, unsigned frame);

    static bool IsHudShown();
    static float PadOffset();
    static float PillarTimer();

    // The operations in the form gameplay calls them.
    static HudOperations& Operations();
    // Forgets every global (between tests and runs).
    static void ResetGlobals();

    static StaticSettings& Settings();

private:
    glm::vec2 _pillarHome{0.0f};
};
