#include "TestSupport.h"

#include "actions/ActionList.h"
#include "actions/ChangeSceneAction.h"
#include "actions/FadeAction.h"
#include "actions/MoveAction.h"
#include "actions/MoveCameraAction.h"
#include "actions/RotateAction.h"
#include "actions/ScaleAction.h"
#include "actions/TextFillAction.h"
#include "actions/TextJumbleAction.h"
#include "actions/TintAction.h"
#include "data/Entity.h"
#include "render/SceneCamera.h"
#include "render/Sprite.h"
#include "scene/SceneSystem.h"
#include "ui/Anchor.h"
#include "ui/AnchorAction.h"

namespace
{
std::unique_ptr<Entity> WithSprite(const std::string& name)
{
    auto e = std::make_unique<Entity>(name);
    e->AddComponent(std::make_unique<Sprite>());
    return e;
}

Sprite& SpriteOf(Entity& e)
{
    return *e.Get<Sprite>(ctype::Sprite);
}

// What each action on an entity says when its target is missing or gone.
const std::vector<std::string> kNullTargetLines = {
    "Move Action Given Null Target, Removing From List",      "Rotate Action Given Null Target, Removing From List",
    "Scale Action Given Null Target, Removing From List",     "Fade Action Given Null Target, Removing From List",
    "Text Fill Action Given Null Target, Removing From List", "Anchor Action given Null target, removing from list"};
} // namespace

class ActionClassesTest : public test::ScratchTest
{
protected:
    void Run(int frames, float dt = 0.25f)
    {
        for (int i = 0; i < frames; ++i)
            _list.Update(dt);
    }

    ActionList _list;
};

TEST_F(ActionClassesTest, TransformAndCameraActionsEaseFromWhereTheyStoodAndLandExactly)
{
    Entity e("door");
    e.GetTransform().SetTranslation({10.0f, 0.0f});
    e.GetTransform().SetRotation(90.0f);
    _list.Add(MoveAction(&e, {20.0f, 40.0f}, 0.0f, 1.0f, {1}));
    _list.Add(RotateAction(&e, 180.0f, 0.0f, 1.0f, {1}));
    _list.Add(ScaleAction(&e, {3.0f, 5.0f}, 0.0f, 1.0f, {2}, false, 2));

    Run(2);
    EXPECT_EQ(e.GetTransform().GetTranslation(), glm::vec2(15.0f, 20.0f));
    EXPECT_FLOAT_EQ(e.GetTransform().GetRotation(), 135.0f) << "rotation eases in and out (curve 3)";
    EXPECT_NEAR(e.GetTransform().GetScale().x, 1.0f + 2.0f * 0.70710677f, 1e-5f);
    EXPECT_TRUE(e.GetTransform().IsStale());

    Run(2);
    EXPECT_EQ(e.GetTransform().GetTranslation(), glm::vec2(20.0f, 40.0f));
    EXPECT_FLOAT_EQ(e.GetTransform().GetRotation(), 180.0f);
    EXPECT_EQ(e.GetTransform().GetScale(), glm::vec2(3.0f, 5.0f));
    EXPECT_TRUE(_list.IsEmpty());
    EXPECT_FALSE(RotateAction(&e, 0.0f, 0.0f, 1.0f, {1}).IsBlocking());

    SceneCamera camera;
    camera.SetTranslation({-100.0f, 0.0f, 7.0f});
    _list.Add(MoveCameraAction(&camera, {300.0f, 200.0f}, 0.0f, 1.0f, {1}));
    Run(2);
    EXPECT_EQ(camera.GetPosition(), glm::vec2(200.0f, 100.0f));
    EXPECT_EQ(camera.GetTranslation(), glm::vec3(-200.0f, -100.0f, 0.0f));
}

TEST_F(ActionClassesTest, MissingTargetsAndTargetsDeletedMidwayAreReportedAndDropped)
{
    _list.Add(MoveAction(nullptr, {1.0f, 1.0f}, 0.0f, 1.0f, {1}, true));
    _list.Add(RotateAction(nullptr, 1.0f, 0.0f, 1.0f, {2}));
    _list.Add(ScaleAction(nullptr, {1.0f, 1.0f}, 0.0f, 1.0f, {3}));
    _list.Add(MoveCameraAction(nullptr, {1.0f, 1.0f}, 0.0f, 1.0f, {4}));
    Entity bare("bare");
    _list.Add(FadeAction(&bare, 0.0f, 0.0f, 1.0f, {5}));
    _list.Add(TintAction(&bare, glm::vec4(0.0f), 0.0f, 1.0f, {5}));
    _list.Add(TextFillAction(&bare, "x", 0.0f, 1.0f, {6}));
    _list.Add(AnchorAction(&bare, false, 0.0f, 1.0f, {7}));
    EXPECT_FALSE(MoveAction(nullptr, {}, 0.0f, 1.0f, {1}).IsValid());
    EXPECT_FALSE(FadeAction(&bare, 0.0f, 0.0f, 1.0f, {1}).IsValid());
    EXPECT_FALSE(AnchorAction(&bare, false, 0.0f, 1.0f, {1}).IsValid());

    auto door = WithSprite("door");
    door->AddComponent(std::make_unique<Anchor>());
    _list.Add(MoveAction(door.get(), {1.0f, 1.0f}, 0.0f, 1.0f, {11}));
    _list.Add(RotateAction(door.get(), 1.0f, 0.0f, 1.0f, {12}));
    _list.Add(ScaleAction(door.get(), {2.0f, 2.0f}, 0.0f, 1.0f, {13}));
    _list.Add(FadeAction(door.get(), 0.0f, 0.0f, 1.0f, {14}));
    _list.Add(TintAction(door.get(), glm::vec4(0.0f), 0.0f, 1.0f, {15}));
    _list.Add(TextFillAction(door.get(), "x", 0.0f, 1.0f, {16}));
    _list.Add(AnchorAction(door.get(), false, 0.0f, 1.0f, {17}));
    Run(1);
    EXPECT_EQ(_list.Count(), 7u) << "only the door's actions are left";
    std::string trace = test::ReadTrace();
    for (const std::string& message : kNullTargetLines)
        EXPECT_EQ(test::Count(trace, message), 1u) << message;
    EXPECT_EQ(test::Count(trace, "Move Camera Action Given Null Target, Removing From List"), 1u);
    EXPECT_EQ(trace.find("Tint"), std::string::npos) << "a tint without a sprite goes quietly";

    door.reset();
    Run(1);
    EXPECT_TRUE(_list.IsEmpty());
    trace = test::ReadTrace();
    for (const std::string& message : kNullTargetLines)
        EXPECT_EQ(test::Count(trace, message), 2u) << message;
}

TEST_F(ActionClassesTest, SpriteActionsFadeTintAndTypeAndAnchorActionsSwitchAtTheirEnd)
{
    auto e = WithSprite("label");
    SpriteOf(*e).SetText("OPEN");
    _list.Add(FadeAction(e.get(), 3.0f, 0.0f, 1.0f, {1}));
    _list.Add(TintAction(e.get(), glm::vec4(0.0f, 0.5f, 1.0f, 1.0f), 0.0f, 1.0f, {2}));
    _list.Add(TextFillAction(e.get(), "OPENED", 0.0f, 1.0f, {3}));

    Run(2);
    EXPECT_EQ(SpriteOf(*e).GetText(), "OPENE");
    EXPECT_FLOAT_EQ(SpriteOf(*e).GetTint().a, 1.0f) << "alpha stays within [0, 1]";
    EXPECT_EQ(SpriteOf(*e).GetTint(), glm::vec4(0.5f, 0.75f, 1.0f, 1.0f));

    Run(2);
    EXPECT_EQ(SpriteOf(*e).GetText(), "OPENED");
    EXPECT_EQ(SpriteOf(*e).GetTint(), glm::vec4(0.0f, 0.5f, 1.0f, 1.0f));

    _list.Add(FadeAction(e.get(), 0.0f, 0.0f, 0.0f, {1}));
    Run(1);
    EXPECT_FLOAT_EQ(SpriteOf(*e).GetTint().a, 0.0f) << "a duration of 0 sets the end value on its first run";

    // An anchor switches when its action ends; reversed, it flips the value.
    Entity hud("hud");
    auto* anchor = static_cast<Anchor*>(hud.AddComponent(std::make_unique<Anchor>()));
    _list.Add(AnchorAction(&hud, false, 0.0f, 0.5f, {1}));
    Run(1);
    EXPECT_TRUE(anchor->IsEnabled());
    Run(1);
    EXPECT_FALSE(anchor->IsEnabled());

    Action& again = _list.Add(AnchorAction(&hud, false, 0.0f, 0.5f, {1}));
    again.Reverse();
    Run(2);
    EXPECT_TRUE(anchor->IsEnabled());
}

TEST_F(ActionClassesTest, TextJumbleRollsEachCharacterAndChangeSceneAsksTheSceneSystem)
{
    std::string word = "AAAA";
    _list.Add(TextJumbleAction(&word, "EEEE", 0.0f, 1.0f, {1}));
    Run(2);
    EXPECT_EQ(word, "CCCC");
    Run(2);
    EXPECT_EQ(word, "EEEE");

    EXPECT_FALSE(TextJumbleAction(&word, "EE", 0.0f, 1.0f, {1}).IsValid());
    _list.Add(TextJumbleAction(&word, "EE", 0.0f, 1.0f, {1}));
    Run(1);
    EXPECT_EQ(word, "EEEE");
    EXPECT_TRUE(_list.IsEmpty());
    EXPECT_NE(test::ReadTrace().find("Text Jumble Action Given Differing String Sizes, Removing From List"),
              std::string::npos);

    EXPECT_FALSE(ChangeSceneAction("", false, 0.0f, 0.0f, {1}).IsValid());
    _list.Add(ChangeSceneAction("cellar", false, 0.25f, 0.0f, {1}));
    Run(1);
    EXPECT_EQ(SceneSystem::Instance().GetRequestedScene(), "cellar");
    EXPECT_TRUE(_list.IsEmpty());
}
