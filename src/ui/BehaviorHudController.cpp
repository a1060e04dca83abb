#include "ui/BehaviorHudController.h"

#include "actions/CallbackAction.h"
#include "core/Trace.h"
#include "data/EntityRef.h"
#include "data/GroupSystem.h"
#include "data/TypeRegistry.h"
#include "input/InputSystem.h"
#include "render/Sprite.h"
#include "scene/Scene.h"
#include "ui/Anchor.h"
#include "ui/ProgressBar.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

GLOAMER_REGISTER_COMPONENT(BehaviorHudController, ctype::Behavior)

namespace
{
enum Part
{
    Fade,
    PillarText,
    StruggleBar,
    ClickIcon,
    ClickPrompt,
    SprintBar,
    SprintKey,
    Toolbelt,
    InventoryItem0,
    InventoryItem1,
    TrapCount,
    HudKey1,
    HudKey2,
    PartCount,
};

constexpr std::array<const char*, PartCount> kPartNames = {
    "fade",        "pillartext",     "strugglebar",    "clickicon", "clickprompt", "sprintBar", "sprintkey",
    "ui_toolbelt", "inventoryItem0", "inventoryItem1", "trapcount", "hudkey1",     "hudkey2"};
// The parts that slide off the screen when the HUD hides, in this order.
constexpr std::array<Part, 10> kSliding = {ClickIcon,      ClickPrompt,    SprintBar, SprintKey, Toolbelt,
                                           InventoryItem0, InventoryItem1, TrapCount, HudKey1,   HudKey2};
const std::string kObjectivePad = "objectivePad";
constexpr glm::vec4 kGold{0.97f, 0.82f, 0.17f, 1.0f};
constexpr glm::vec4 kRed{1.0f, 0.0f, 0.0f, 1.0f};

struct HudGlobals
{
    EntityRef controller;
    std::array<EntityRef, PartCount> parts;
    bool shown = false;
    float padOffset = 0.0f;
    float pillarTimer = 0.0f;
};

HudGlobals& G()
{
    static HudGlobals globals;
    return globals;
}

float s_hudMoveDistance = 0.0f;

// [0, 1) from 15 bits of rand(): the C library's own range may be far wider.
float UnitRandom()
{
    return static_cast<float>(std::rand() % 32768) / 32768.0f;
}

Entity* PartEntity(Part part)
{
    return G().parts[part].Get();
}

Sprite* PartSprite(Part part)
{
    Entity* entity = PartEntity(part);
    return entity ? entity->Get<Sprite>(ctype::Sprite) : nullptr;
}

ProgressBar* PartBar(Part part)
{
    Entity* entity = PartEntity(part);
    return entity ? entity->Get<ProgressBar>(ctype::ProgressBar) : nullptr;
}

void SetAlpha(Part part, float alpha)
{
    if (Sprite* sprite = PartSprite(part))
    {
        const glm::vec4 tint = sprite->GetTint();
        sprite->SetTint(tint.r, tint.g, tint.b, alpha);
    }
}

void SetText(Part part, const std::string& text)
{
    if (Sprite* sprite = PartSprite(part); sprite && sprite->GetText() != text)
        sprite->SetText(text);
}

Scene* HudScene()
{
    Entity* controller = G().controller.Get();
    return controller ? controller->GetScene() : nullptr;
}

// Moves every sliding part by the slide distance along the line from the screen
// centre; a part at the very centre has no such line and stays put. Each move is an
// instant action of the HUD scene that reads the part's place when it runs, so a hide
// and a show asked for in one frame cancel out.
void SlideParts(float direction, bool anchorsOn)
{
    Scene* scene = HudScene();
    for (Part part : kSliding)
    {
        Entity* entity = PartEntity(part);
        if (!entity)
            continue;
        if (Anchor* anchor = entity->Get<Anchor>(ctype::Anchor); anchor && !anchorsOn)
            anchor->SetEnabled(false);
        if (!scene)
            continue;
        EntityRef ref(entity);
        scene->GetActionList().Add(CallbackAction(
            [ref, direction, anchorsOn](CallbackAction&)
            {
                Entity* e = ref.Get();
                if (!e)
                    return;
                Transform& transform = e->GetTransform();
                const glm::vec2 p = transform.GetTranslation();
                const float length = glm::length(p);
                if (length > 0.0f)
                    transform.SetTranslation(p + direction * BehaviorHudController::kSlideDistance * p / length);
                if (Anchor* anchor = e->Get<Anchor>(ctype::Anchor); anchor && anchorsOn)
                    anchor->SetEnabled(true);
            },
            0.0f, 0.0f, Lanes{BehaviorHudController::kSlideLane}));
    }
}

class HudCalls : public HudOperations
{
public:
    void ShowHUD() override { BehaviorHudController::ShowHUD(); }
    void HideHUD() override { BehaviorHudController::HideHUD(); }
    void StartStruggle() override { BehaviorHudController::StartStruggle(); }
    void EndStruggle() override { BehaviorHudController::EndStruggle(); }
    void ShowClickPrompt(const std::string& text) override { BehaviorHudController::ShowClickPrompt(text); }
    void HideClickPrompt() override { BehaviorHudController::HideClickPrompt(); }
    void SelectSlot(int slot) override { BehaviorHudController::SelectSlot(slot); }
    void SetSlotValue(int value, int slot) override { BehaviorHudController::SetSlotValue(value, slot); }
    void SetPillarText(const std::string& text) override { BehaviorHudController::SetPillarText(text); }
    void SetSprint(float fraction) override { BehaviorHudController::SetSprint(fraction); }
    void SetStruggle(float fraction, unsigned frame) override { BehaviorHudController::SetStruggle(fraction, frame); }
};
} // namespace

StaticSettings& BehaviorHudController::Settings()
{
    static StaticSettings settings("BehaviorHudController", {{&s_hudMoveDistance, "_hudmovedistance"}});
    settings.EnsureLoaded();
    return settings;
}

HudOperations& BehaviorHudController::Operations()
{
    static HudCalls calls;
    return calls;
}

void BehaviorHudController::ResetGlobals()
{
    G() = HudGlobals{};
}

void BehaviorHudController::Init()
{
    Settings();
    Entity* owner = GetOwner();
    Scene* scene = owner ? owner->GetScene() : nullptr;
    HudGlobals& g = G();
    g = HudGlobals{};
    g.controller = owner;
    if (scene)
        for (std::size_t i = 0; i < kPartNames.size(); ++i)
            g.parts[i] = scene->FindEntity(kPartNames[i]);
    HideHUD();
    HideClickPrompt();
    if (Entity* pillar = PartEntity(PillarText))
        _pillarHome = pillar->GetTransform().GetTranslation();
}

void BehaviorHudController::Start()
{
    // The HUD is hidden while the level is built and comes in once play starts.
    ShowHUD();
}

void BehaviorHudController::Exit()
{
    ResetGlobals();
}

void BehaviorHudController::Update(float dt)
{
    Behavior::Update(dt);
    HudGlobals& g = G();
    Scene* scene = GetOwner() ? GetOwner()->GetScene() : nullptr;
    InputSystem& input = InputSystem::Instance();

    if (Group* pad = scene ? GroupSystem::Instance().Find(kObjectivePad, scene) : nullptr)
    {
        if (input.IsTriggered("Objective Pad"))
            g.shown = !g.shown;
        const float target = g.shown ? 0.0f : kPadHiddenOffset;
        g.padOffset += (target - g.padOffset) * std::clamp(1.0f - std::pow(0.02f, dt), 0.0f, 1.0f);
        for (const Group::Member& member : pad->_records)
            if (Entity* entity = member._entity.Get())
                entity->GetTransform().SetTranslation(member._position + glm::vec2(g.padOffset, 0.0f));
    }

    const auto& bindings = input.Bindings();
    const auto trapKey = bindings.find("trap 1");
    const bool bound = trapKey != bindings.end() && !trapKey->second.empty();
    SetText(HudKey1, bound ? std::string(1, static_cast<char>(trapKey->second.front())) : std::string("0"));

    if (g.pillarTimer > 0.0f)
    {
        g.pillarTimer -= dt;
        if (g.pillarTimer <= 0.0f)
        {
            g.pillarTimer = 0.0f;
            SetAlpha(PillarText, 0.0f);
        }
    }
    if (Entity* pillar = PartEntity(PillarText))
    {
        const Sprite* sprite = pillar->Get<Sprite>(ctype::Sprite);
        glm::vec2 position = _pillarHome;
        if (sprite && sprite->GetTint().a != 0.0f)
        {
            const float y = UnitRandom() * 2.0f * kPillarJitter - kPillarJitter;
            const float x = UnitRandom() * 2.0f * kPillarJitter - kPillarJitter;
            position += glm::vec2(x, y);
        }
        pillar->GetTransform().SetTranslation(position);
    }
}

void BehaviorHudController::HideHUD()
{
    SlideParts(1.0f, false);
    G().shown = false;
}

void BehaviorHudController::ShowHUD()
{
    SlideParts(-1.0f, true);
    G().shown = true;
}

void BehaviorHudController::StartStruggle()
{
    SetText(PillarText, "STRUGGLE.");
    SetAlpha(PillarText, 1.0f);
    SetAlpha(StruggleBar, 1.0f);
    HideHUD();
}

void BehaviorHudController::EndStruggle()
{
    if (ProgressBar* bar = PartBar(StruggleBar))
    {
        bar->SetVisible(false);
        bar->SetValue(0.0f);
    }
    // The prompt and its key picture go with the bar.
    SetAlpha(StruggleBar, 0.0f);
    SetAlpha(PillarText, 0.0f);
    ShowHUD();
}

void BehaviorHudController::ShowClickPrompt(const std::string& text)
{
    SetAlpha(ClickIcon, 0.5f);
    SetAlpha(ClickPrompt, 0.5f);
    SetText(ClickPrompt, text);
}

void BehaviorHudController::HideClickPrompt()
{
    SetAlpha(ClickIcon, 0.0f);
    SetAlpha(ClickPrompt, 0.0f);
}

void BehaviorHudController::SelectSlot(int slot)
{
    Sprite* key1 = PartSprite(HudKey1);
    Sprite* key2 = PartSprite(HudKey2);
    const glm::vec4 first = slot == 0 ? kRed : kGold;
    const glm::vec4 second = slot == 1 ? kRed : kGold;
    if (key1)
        key1->SetTint(first);
    if (key2)
        key2->SetTint(second);
}

void BehaviorHudController::SetSlotValue(int value, int slot)
{
    if (slot == 0)
    {
        // Digits of a small count fit the string's own storage: no allocation per frame.
        char digits[16];
        const int n = std::snprintf(digits, sizeof digits, "%d", value);
        if (Sprite* sprite = PartSprite(TrapCount); sprite && sprite->GetText() != std::string_view(digits, n))
            sprite->SetText(std::string(digits, n));
    }
    else if (slot == 1)
        SetAlpha(InventoryItem1, value != 0 ? 1.0f : 0.25f);
}

void BehaviorHudController::SetPillarText(const std::string& text)
{
    SetText(PillarText, text);
    SetAlpha(PillarText, 1.0f);
    G().pillarTimer = kPillarSeconds;
}

void BehaviorHudController::SetSprint(float fraction)
{
    if (ProgressBar* bar = PartBar(SprintBar))
        bar->SetValue(fraction);
}

void BehaviorHudController::SetStruggle(float fraction, unsigned frame)
{
    if (ProgressBar* bar = PartBar(StruggleBar))
        bar->SetValue(fraction);
    if (Sprite* sprite = PartSprite(StruggleBar))
        sprite->SetFrame(frame);
}

bool BehaviorHudController::IsHudShown()
{
    return G().shown;
}

float BehaviorHudController::PadOffset()
{
    return G().padOffset;
}

float BehaviorHudController::PillarTimer()
{
    return G().pillarTimer;
}
