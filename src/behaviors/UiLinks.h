#pragma once

#include "data/Entity.h"

#include <memory>
#include <string>

// What gameplay asks of the in-world UI and the HUD. The ui layer sits above the
// behaviours, so behaviours talk to its components and to the HUD through these
// interfaces and never include it.

// A fill bar on the entity (the ProgressBar component implements it).
class ProgressDisplay
{
public:
    virtual void SetValue(float value) = 0;
    virtual float GetValue() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool IsVisible() const = 0;

protected:
    ~ProgressDisplay() = default;
};

// A hint shown near the entity (the ToolTip component implements it).
class TipDisplay
{
public:
    // Puts the text on the tip and shows it (a timed tip starts a new showing).
    virtual void ShowText(const std::string& text) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool IsVisible() const = 0;

protected:
    ~TipDisplay() = default;
};

// The HUD operations. Until the HUD controller is installed every call goes nowhere.
class HudOperations
{
public:
    virtual ~HudOperations() = default;

    virtual void ShowHUD() {}
    virtual void HideHUD() {}
    virtual void StartStruggle() {}
    virtual void EndStruggle() {}
    virtual void ShowClickPrompt(const std::string& /*text*/) {}
    virtual void HideClickPrompt() {}
    // 0 the trap slot, 1 the off hand, anything else none.
    virtual void SelectSlot(int /*slot*/) {}
    // Slot 0: the trap count; slot 1: non-zero while an item is held.
    virtual void SetSlotValue(int /*value*/, int /*slot*/) {}
    virtual void SetPillarText(const std::string& /*text*/) {}
    // The sprint bar's fill.
    virtual void SetSprint(float /*fraction*/) {}
    // The struggle bar's fill, and its frame: which key is next.
    virtual void SetStruggle(float /*fraction*/, unsigned /*frame*/) {}
};

namespace Hud
{
HudOperations& Get();
// Null restores the silent default.
void Install(HudOperations* hud);
} // namespace Hud

// The player's gameplay options that behaviours honour. The option system lives in the
// ui layer and installs its reader; until then every option reads as off.
namespace GameplayOptionLinks
{
using Query = bool (*)();
// Null restores "off".
void SetFlashingDisabledQuery(Query query);
bool IsFlashingDisabled();
} // namespace GameplayOptionLinks

// An entity handed over through a message ("throwable"): the payload is shared so the
// message can be copied, and whoever reads it takes the entity out exactly once.
using EntityParcel = std::shared_ptr<std::unique_ptr<Entity>>;
