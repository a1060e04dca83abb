#include "TestSupport.h"

#include "behaviors/UiLinks.h"
#include "core/MessageSystem.h"
#include "data/Entity.h"
#include "input/InputSystem.h"
#include "render/Sprite.h"
#include "scene/Scene.h"
#include "ui/Anchor.h"
#include "ui/BehaviorHudController.h"
#include "ui/ProgressBar.h"

#include <cmath>
#include <memory>
#include <tuple>

namespace
{
constexpr float kDt = 1.0f / 60.0f;
constexpr int kTab = 258;
const glm::vec4 kGold{0.97f, 0.82f, 0.17f, 1.0f};
const glm::vec4 kRed{1.0f, 0.0f, 0.0f, 1.0f};
} // namespace

class HudTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        CopyContent();
        InputSystem::Instance().Init();
    }

    void Load(const std::string& name)
    {
        _scene = std::make_unique<Scene>(name);
        _scene->Init();
    }

    void Frame(float dt = kDt)
    {
        _scene->Update(dt);
        InputSystem::Instance().Update(dt);
        MessageSystem::Instance().Update(dt);
    }

    Entity& Part(const std::string& name) const
    {
        Entity* e = _scene->FindEntity(name);
        EXPECT_NE(e, nullptr) << name;
        return *e;
    }
    glm::vec2 At(const std::string& name) const { return Part(name).GetTransform().GetTranslation(); }
    const Sprite& SpriteOf(const std::string& name) const { return *Part(name).Get<Sprite>(ctype::Sprite); }

    std::unique_ptr<Scene> _scene;
};

TEST_F(HudTest, TheShippedHudComesInAtTheStartAndSlidesOutAndBackOnTheEdges)
{
    Load("gui_scene");
    Frame();
    Frame();
    EXPECT_TRUE(BehaviorHudController::IsHudShown());
    // Every named part ships, pinned to its anchor.
    for (const char* name : {"fade", "pillartext", "strugglebar", "clickicon", "clickprompt", "sprintBar", "sprintkey",
                             "ui_toolbelt", "inventoryItem0", "inventoryItem1", "trapcount", "hudkey1", "hudkey2"})
        EXPECT_NE(_scene->FindEntity(name), nullptr) << name;
    const glm::vec2 home = At("ui_toolbelt");
    const Anchor& anchor = *Part("ui_toolbelt").Get<Anchor>(ctype::Anchor);
    EXPECT_EQ(home, Anchor::Placement(anchor.GetPercentX(), anchor.GetPercentY(), 1920, 1080, 1920));
    EXPECT_TRUE(anchor.IsEnabled());
    EXPECT_FLOAT_EQ(SpriteOf("clickicon").GetTint().a, 0.0f) << "the click prompt starts hidden";

    Hud::Get().HideHUD();
    Frame();
    Frame();
    EXPECT_FALSE(anchor.IsEnabled());
    EXPECT_NEAR(At("ui_toolbelt").y, home.y - 500.0f, 1e-3f) << "straight out from the centre";
    const glm::vec2 sprint = At("sprintBar");
    EXPECT_GT(std::abs(sprint.x), 960.0f) << "the sprint bar leaves the screen";

    Hud::Get().ShowHUD();
    Frame();
    Frame();
    EXPECT_TRUE(anchor.IsEnabled());
    EXPECT_NEAR(At("ui_toolbelt").y, home.y, 1e-3f);
}

TEST_F(HudTest, APartAtTheCentreStaysWhereItIsAndMissingPartsAreSkipped)
{
    test::WriteFile("Data/Level/hudlab.json", R"({"entities": [
        {"name": "hud", "components": {"behaviorhudcontroller": {}}},
        {"name": "clickicon", "components": {}},
        {"name": "trapcount", "transform": {"translation": {"x": 30, "y": 40}}, "components": {}}]})");
    Load("hudlab");
    Frame();
    Hud::Get().HideHUD();
    Frame();
    EXPECT_EQ(At("clickicon"), glm::vec2(0.0f));
    EXPECT_NEAR(At("trapcount").x, 330.0f, 1e-3f);
    EXPECT_NEAR(At("trapcount").y, 440.0f, 1e-3f);
}

TEST_F(HudTest, SlotsPromptsAndTheStruggleShowOnTheirParts)
{
    Load("gui_scene");
    Frame();
    HudOperations& hud = Hud::Get();

    // The selected slot's key turns red; a slot without a key leaves both gold.
    for (const auto& [slot, key1, key2] : {std::tuple{0, kRed, kGold}, {1, kGold, kRed}, {2, kGold, kGold}})
    {
        hud.SelectSlot(slot);
        EXPECT_EQ(SpriteOf("hudkey1").GetTint(), key1) << slot;
        EXPECT_EQ(SpriteOf("hudkey2").GetTint(), key2) << slot;
    }

    hud.SetSlotValue(7, 0);
    EXPECT_EQ(SpriteOf("trapcount").GetText(), "7");
    hud.SetSlotValue(0, 1);
    EXPECT_FLOAT_EQ(SpriteOf("inventoryItem1").GetTint().a, 0.25f);
    hud.SetSlotValue(1, 1);
    EXPECT_FLOAT_EQ(SpriteOf("inventoryItem1").GetTint().a, 1.0f);

    hud.ShowClickPrompt("throw brick");
    EXPECT_EQ(SpriteOf("clickprompt").GetText(), "throw brick");
    EXPECT_FLOAT_EQ(SpriteOf("clickprompt").GetTint().a, 0.5f);
    EXPECT_FLOAT_EQ(SpriteOf("clickicon").GetTint().a, 0.5f);
    hud.HideClickPrompt();
    EXPECT_FLOAT_EQ(SpriteOf("clickicon").GetTint().a, 0.0f);

    // The trap key shows the first key of the "trap 1" binding.
    EXPECT_EQ(SpriteOf("hudkey1").GetText(), "1");

    hud.StartStruggle();
    Frame();
    EXPECT_FALSE(BehaviorHudController::IsHudShown());
    EXPECT_EQ(SpriteOf("pillartext").GetText(), "STRUGGLE.");
    EXPECT_FLOAT_EQ(SpriteOf("strugglebar").GetTint().a, 1.0f);
    hud.SetStruggle(0.4f, 0);
    Frame();
    const ProgressBar& bar = *Part("strugglebar").Get<ProgressBar>(ctype::ProgressBar);
    EXPECT_FLOAT_EQ(bar.GetValue(), 0.4f);
    EXPECT_TRUE(bar.IsVisible());
    EXPECT_EQ(SpriteOf("strugglebar").GetFrame(), 0u);
    hud.EndStruggle();
    Frame();
    EXPECT_FALSE(bar.IsVisible());
    EXPECT_TRUE(BehaviorHudController::IsHudShown());

    hud.SetSprint(0.5f);
    Frame();
    EXPECT_FLOAT_EQ(Part("sprintBar").Get<ProgressBar>(ctype::ProgressBar)->GetValue(), 0.5f);
}

TEST_F(HudTest, TheObjectivePadSlidesOutAndBackExponentially)
{
    Load("gui_scene");
    Frame();
    Entity* member = _scene->FindEntity("objectivepanel");
    ASSERT_NE(member, nullptr);
    const glm::vec2 home = member->GetTransform().GetTranslation();

    InputSystem::Instance().HandleButton(kTab, InputSystem::kPress);
    Frame();
    InputSystem::Instance().HandleButton(kTab, InputSystem::kRelease);
    // About 6 % of the way each sixtieth of a second.
    const float first = 450.0f * (1.0f - std::pow(0.02f, kDt));
    EXPECT_NEAR(BehaviorHudController::PadOffset(), first, 1e-3f);
    EXPECT_NEAR(first / 450.0f, 0.063f, 0.001f);
    EXPECT_NEAR(member->GetTransform().GetTranslation().x, home.x + first, 1e-3f);
    for (int i = 0; i < 300; ++i)
        Frame();
    EXPECT_NEAR(BehaviorHudController::PadOffset(), 450.0f, 0.01f);

    InputSystem::Instance().HandleButton(kTab, InputSystem::kPress);
    Frame();
    InputSystem::Instance().HandleButton(kTab, InputSystem::kRelease);
    for (int i = 0; i < 300; ++i)
        Frame();
    EXPECT_NEAR(BehaviorHudController::PadOffset(), 0.0f, 0.01f);
    EXPECT_NEAR(member->GetTransform().GetTranslation().x, home.x, 0.01f);
}

TEST_F(HudTest, ThePillarTextShakesForTwoSecondsThenHidesAtHome)
{
    Load("gui_scene");
    Frame();
    const glm::vec2 home = At("pillartext");
    Hud::Get().SetPillarText("RUN.");
    EXPECT_EQ(SpriteOf("pillartext").GetText(), "RUN.");
    bool moved = false;
    for (int i = 0; i < 60; ++i)
    {
        Frame();
        const glm::vec2 offset = At("pillartext") - home;
        EXPECT_LE(std::abs(offset.x), 5.0f);
        EXPECT_LE(std::abs(offset.y), 5.0f);
        moved = moved || offset != glm::vec2(0.0f);
    }
    EXPECT_TRUE(moved);
    EXPECT_FLOAT_EQ(SpriteOf("pillartext").GetTint().a, 1.0f);
    for (int i = 0; i < 61; ++i)
        Frame();
    EXPECT_FLOAT_EQ(SpriteOf("pillartext").GetTint().a, 0.0f);
    EXPECT_EQ(BehaviorHudController::PillarTimer(), 0.0f);
    EXPECT_EQ(At("pillartext"), home);
}
