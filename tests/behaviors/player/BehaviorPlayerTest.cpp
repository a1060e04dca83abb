#include "FakeCheats.h"
#include "PlayerFixture.h"

#include "behaviors/UiLinks.h"
#include "physics/Collider.h"
#include "physics/Physics.h"
#include "physics/Status.h"
#include "render/Sprite.h"
#include "ui/ProgressBar.h"
#include "ui/ToolTip.h"

#include <glm/geometric.hpp>
#include <gmock/gmock.h>

#include <filesystem>

using ::testing::HasSubstr;

class PlayerTest : public test::PlayerFixture
{
protected:
    const glm::vec2& Velocity() const { return _player->Get<Physics>(ctype::Physics)->GetVelocity(); }
    glm::vec2 Position() const { return _player->GetTransform().GetTranslation(); }

    // Sends a cheat for exactly one frame.
    void Cheat(const std::string& name)
    {
        test::TriggerCheats({name});
        Frame();
        test::TriggerCheats({});
    }

    const glm::vec4& PreviewTint() const { return Player().TrapPrototype()->Get<Sprite>(ctype::Sprite)->GetTint(); }

    // Holds the mouse button until a trap is placed or `frames` pass; then lets go.
    void HoldToPlace(int frames = 70)
    {
        Press(test::kLeftButton);
        Frames(frames);
        Release(test::kLeftButton);
        Frame();
    }
};

TEST_F(PlayerTest, WalksEightWaysAtOneSpeedAndFacesTheMouse)
{
    Load();
    Aim({-100.0f, 0.0f});
    Press(test::kKeyD);
    Frame();
    EXPECT_FLOAT_EQ(Velocity().x, 400.0f);
    EXPECT_FLOAT_EQ(Velocity().y, 0.0f);
    EXPECT_EQ(Player().GetStateNext(), BehaviorPlayer::Walking);

    Press(test::kKeyW);
    Frame();
    EXPECT_NEAR(glm::length(Velocity()), 400.0f, 1e-3f) << "a diagonal is no faster than a straight line";
    EXPECT_NEAR(Velocity().x, Velocity().y, 1e-3f);

    // Left and right cancel out; only up is left.
    Press(test::kKeyA);
    Frame();
    EXPECT_FLOAT_EQ(Velocity().x, 0.0f);
    EXPECT_FLOAT_EQ(Velocity().y, 400.0f);

    Release(test::kKeyA);
    Release(test::kKeyW);
    Release(test::kKeyD);
    Frame();
    EXPECT_EQ(Velocity(), glm::vec2(0.0f));
    EXPECT_EQ(Player().GetStateNext(), BehaviorPlayer::Idle);
    // The body's front faces -x at rotation 0, so it turns to the mouse: the angle points
    // from the mouse to the player.
    const glm::vec2 position = Position();
    Aim(position + glm::vec2(0.0f, 50.0f));
    Frame();
    EXPECT_NEAR(_player->GetTransform().GetRotation(), -90.0f, 1e-3f);
}

TEST_F(PlayerTest, SprintDrainsStaminaToExactlyZeroThenTheExhaustedPlayerWalksUntilItRests)
{
    Load();
    Aim({-500.0f, 0.0f});
    Press(test::kKeyD);
    Press(test::kShift);
    Frame();
    EXPECT_FLOAT_EQ(Velocity().x, 400.0f * 1.3f);
    EXPECT_NEAR(Player().GetStamina(), 10.0f - kDt, 1e-5f);

    // Ten seconds of sprint use it all up; the stamina stops at 0.
    int frames = 1;
    for (; Player().GetStamina() > 0.0f && frames < 700; ++frames)
        Frame();
    EXPECT_NEAR(frames, 600, 2);
    EXPECT_EQ(Player().GetStamina(), 0.0f);
    EXPECT_EQ(Player().GetStateNext(), BehaviorPlayer::Sprinting) << "the last of it is still sprinted";
    Frame();
    EXPECT_EQ(Player().GetStateNext(), BehaviorPlayer::Exhausted) << "sprinting on exactly 0 stamina";
    EXPECT_FLOAT_EQ(Velocity().x, 400.0f);

    // Still moving: no recovery, even with the sprint key let go.
    Release(test::kShift);
    Frames(60);
    EXPECT_EQ(Player().GetState(), BehaviorPlayer::Exhausted);
    EXPECT_EQ(Player().GetStamina(), 0.0f);
    EXPECT_FLOAT_EQ(Velocity().x, 400.0f);

    // Standing still ends it and the pool fills again.
    Release(test::kKeyD);
    Frames(30);
    EXPECT_EQ(Player().GetState(), BehaviorPlayer::Idle);
    EXPECT_NEAR(Player().GetStamina(), 30.0f * kDt, 1e-4f);
}

TEST_F(PlayerTest, ThePreviewMustLieBeyondTheLowerRangeAndSlidesOutOfWalls)
{
    Load(kFullPlayer, R"(, {"name": "wall", "components": {"physics": {}, "collider": {"type": 0, "static": true,
        "rigid": true, "shape": {"lines": [{"start": {"x": -40, "y": 300}, "end": {"x": -40, "y": -300}}]}}}})");
    Tap(test::kKey1);
    ASSERT_EQ(Player().GetSelectedSlot(), 0);

    // Right of the player, past the range: clamped to the upper range, good to place.
    Aim({500.0f, 0.0f});
    Frame();
    EXPECT_NEAR(Player().TrapPrototype()->GetTransform().GetTranslation().x, 220.0f, 1e-3f);
    EXPECT_EQ(PreviewTint(), BehaviorPlayer::Settings().trapPreviewGood);

    // Exactly at the lower range: rejected, and holding the button places nothing.
    Aim({70.0f, 0.0f});
    Frame();
    EXPECT_FLOAT_EQ(glm::distance(Player().TrapPrototype()->GetTransform().GetTranslation(), Position()), 70.0f);
    EXPECT_EQ(PreviewTint(), BehaviorPlayer::Settings().trapPreviewBad);
    HoldToPlace(90);
    EXPECT_EQ(CountEntities("beartrap"), 0);
    EXPECT_EQ(Player().TrapCount(), 12u);

    // Behind the wall at x = -40 the preview is pushed back to the player's side, too close.
    Aim({-150.0f, 0.0f});
    Frame();
    const glm::vec2 preview = Player().TrapPrototype()->GetTransform().GetTranslation();
    EXPECT_GT(preview.x, -40.0f);
    EXPECT_EQ(PreviewTint(), BehaviorPlayer::Settings().trapPreviewBad);
}

TEST_F(PlayerTest, HoldingTheButtonPlacesATrapAfterTheTimerAndTheLastTrapDeselectsTheSlot)
{
    Load();
    Aim({150.0f, 0.0f});
    Tap(test::kKey1);

    Press(test::kLeftButton);
    Frame();
    EXPECT_EQ(PreviewTint(), BehaviorPlayer::Settings().trapPreviewPlace);
    EXPECT_EQ(Player().GetStateNext(), BehaviorPlayer::Placing);
    auto* bar = _player->Get<ProgressBar>(ctype::ProgressBar);
    EXPECT_NEAR(bar->GetValue(), kDt, 1e-4f);
    Frames(55);
    EXPECT_EQ(Player().GetState(), BehaviorPlayer::Placing);
    EXPECT_EQ(CountEntities("beartrap"), 0) << "not before a whole second";
    Frames(10);
    Frame(); // the copy joins the scene at the update after it was added
    EXPECT_EQ(CountEntities("beartrap"), 1);
    EXPECT_EQ(Player().TrapCount(), 11u);
    EXPECT_EQ(Player().GetState(), BehaviorPlayer::Idle);
    const Entity* placed = _scene->FindEntity("beartrap");
    EXPECT_NEAR(placed->GetTransform().GetTranslation().x, 150.0f, 1e-3f);
    EXPECT_EQ(placed->Get<Sprite>(ctype::Sprite)->GetTint(), glm::vec4(1.0f)) << "placed traps are not tinted";

    // Keeping the button down places no second trap.
    Frames(80);
    EXPECT_EQ(Player().TrapCount(), 11u);
    Release(test::kLeftButton);
    Frame();
    EXPECT_FALSE(bar->IsVisible());

    for (int i = 0; i < 10; ++i)
        HoldToPlace();
    EXPECT_EQ(Player().TrapCount(), 1u);
    EXPECT_EQ(Player().GetSelectedSlot(), 0);

    // With infinite traps the last one stays.
    Cheat("Infinite Traps");
    ASSERT_TRUE(Player().HasInfiniteTraps());
    HoldToPlace();
    EXPECT_EQ(Player().TrapCount(), 1u);
    EXPECT_EQ(Player().GetSelectedSlot(), 0);

    Cheat("Infinite Traps");
    ASSERT_FALSE(Player().HasInfiniteTraps());
    HoldToPlace();
    Frame();
    EXPECT_EQ(CountEntities("beartrap"), 13);
    EXPECT_EQ(Player().TrapCount(), 0u);
    EXPECT_EQ(Player().TrapPrototype(), nullptr);
    EXPECT_EQ(Player().GetSelectedSlot(), -1) << "the empty slot is deselected";

    // Selecting the empty slot again and holding does nothing.
    Tap(test::kKey1);
    HoldToPlace();
    EXPECT_EQ(CountEntities("beartrap"), 13);
}

TEST_F(PlayerTest, StruggleKeysMustAlternateAndWinningOrLosingEndsTheHold)
{
    Load();
    Player().OnStatusGained(static_cast<unsigned>(StatusFlag::Shade));
    Frame(0.0f);
    ASSERT_EQ(Player().GetState(), BehaviorPlayer::Held);
    EXPECT_FLOAT_EQ(Player().GetStruggleValue(), 2.75f);

    // With no time passing only the keys change the value.
    const float gain = 0.5f / (Player().GetStruggleFactor() + 1.0f);
    Press(test::kKeyA);
    Frame(0.0f);
    EXPECT_FLOAT_EQ(Player().GetStruggleValue(), 2.75f + gain);
    Release(test::kKeyA);
    Frame(0.0f);
    Press(test::kKeyA);
    Frame(0.0f);
    EXPECT_FLOAT_EQ(Player().GetStruggleValue(), 2.75f + gain) << "the same key twice counts once";
    Release(test::kKeyA);
    Press(test::kKeyD);
    Frame(0.0f);
    EXPECT_FLOAT_EQ(Player().GetStruggleValue(), 2.75f + 2.0f * gain);
    Release(test::kKeyD);
    Frame(0.0f);
    // Both at once: only the one that is due counts.
    Press(test::kKeyA);
    Press(test::kKeyD);
    Frame(0.0f);
    EXPECT_FLOAT_EQ(Player().GetStruggleValue(), 2.75f + 3.0f * gain);
    Release(test::kKeyA);
    Release(test::kKeyD);

    // A grip that is not fought off wins: the player dies and the lose scene is asked for.
    const float factor = Player().GetStruggleFactor();
    Frames(400);
    EXPECT_GT(Player().GetStruggleFactor(), factor) << "the struggle gets harder as it goes on";
    EXPECT_EQ(Player().GetState(), BehaviorPlayer::Dead);
}

TEST_F(PlayerTest, AWonStruggleFreesThePlayerAndGodModeIsNeverGripped)
{
    Load();
    Player().OnStatusGained(static_cast<unsigned>(StatusFlag::Shade));
    Frame(0.0f);
    const float factor = Player().GetStruggleFactor();
    for (int i = 0; i < 20 && Player().GetState() == BehaviorPlayer::Held; ++i)
        Tap(i % 2 == 0 ? test::kKeyA : test::kKeyD);
    EXPECT_EQ(Player().GetState(), BehaviorPlayer::Idle);
    EXPECT_NEAR(Player().GetStruggleFactor(), factor * 1.1f, 0.004f) << "the next escape is harder";

    Cheat("God Mode");
    ASSERT_TRUE(Player().IsGodMode());
    Player().OnStatusGained(static_cast<unsigned>(StatusFlag::Shade));
    Frame();
    EXPECT_EQ(Player().GetState(), BehaviorPlayer::Idle);
}

TEST_F(PlayerTest, ASecondThrowableDropsTheFirstAtThePlayersFeetAndTheHeldOneIsThrownAtTheMouse)
{
    Load();
    const auto give = [](const std::string& name)
    {
        auto item = std::make_unique<Entity>(name);
        item->AddComponent(std::make_unique<Physics>());
        MessageSystem::Instance().Send(
            Message("throwable", {std::make_shared<std::unique_ptr<Entity>>(std::move(item))}, 0.0f, true));
    };
    give("brick1");
    Frame();
    ASSERT_NE(Player().OffHandItem(), nullptr);
    EXPECT_EQ(Player().OffHandItem()->GetName(), "brick1");

    Press(test::kKeyD);
    Frames(10);
    Release(test::kKeyD);
    give("brick2");
    Frame();
    Frame();
    EXPECT_EQ(Player().OffHandItem()->GetName(), "brick2");
    const Entity* dropped = _scene->FindEntity("brick1");
    ASSERT_NE(dropped, nullptr);
    EXPECT_NEAR(dropped->GetTransform().GetTranslation().x, Position().x, 1e-3f);
    EXPECT_EQ(test::Count(test::ReadTrace(), "Item added to offhand"), 1u);

    // Throwing needs the off-hand slot.
    Aim(Position() + glm::vec2(0.0f, 300.0f));
    Press(test::kKeyQ);
    Frame();
    EXPECT_NE(Player().OffHandItem(), nullptr);
    Release(test::kKeyQ);
    Tap(test::kKeyR);
    ASSERT_EQ(Player().GetSelectedSlot(), 1);
    Press(test::kKeyQ);
    Frame();
    EXPECT_EQ(Player().OffHandItem(), nullptr);
    Frame();
    const Entity* thrown = _scene->FindEntity("brick2");
    ASSERT_NE(thrown, nullptr);
    const glm::vec2 v = thrown->Get<Physics>(ctype::Physics)->GetVelocity();
    EXPECT_NEAR(v.x, 0.0f, 1e-2f);
    EXPECT_GT(v.y, 900.0f) << "toward the mouse, slowed a little by one frame of friction";
}

TEST_F(PlayerTest, PlayerDataAndTalkReachTheRestOfTheGame)
{
    Load();
    Press(test::kKeyD);
    Frames(2);
    Message* data = MessageSystem::Instance().Get("playerdata");
    ASSERT_NE(data, nullptr);
    ASSERT_NE(data->Arg<glm::vec2>(1), nullptr);
    EXPECT_FLOAT_EQ(data->Arg<glm::vec2>(1)->x, 400.0f);
    EXPECT_EQ(*data->Arg<int>(2), 12);
    EXPECT_FLOAT_EQ(*data->Arg<float>(3), 1.0f);
    EXPECT_NE(MessageSystem::Instance().Get("player_sound"), nullptr) << "walking is heard";

    MessageSystem::Instance().Send(Message("playertalk", {std::string("I cant use this yet")}, 0.0f, true));
    Frame();
    const auto* tip = _player->Get<ToolTip>(ctype::ToolTip);
    EXPECT_EQ(tip->GetFillSprite()->GetText(), "I cant use this yet");
    EXPECT_TRUE(tip->IsVisible());

    json j;
    Player().Write(j);
    EXPECT_EQ(j["trapcount"], 12);
    EXPECT_EQ(j["state"], BehaviorPlayer::Walking);
}

TEST_F(PlayerTest, NoClipTogglesTheColliderAlphaAndDoubledSpeed)
{
    Load(std::string(kFullPlayer) + R"(, "sprite": {"tint": {"r": 1, "g": 1, "b": 1, "a": 1}})");
    Cheat("No Clip");
    auto* collider = _player->Get<Collider>(ctype::Collider);
    EXPECT_FALSE(collider->IsRigid());
    EXPECT_FLOAT_EQ(_player->Get<Sprite>(ctype::Sprite)->GetTint().a, 0.5f);
    EXPECT_FLOAT_EQ(Player().GetBaseSpeed(), 800.0f);
    Cheat("No Clip");
    EXPECT_TRUE(collider->IsRigid());
    EXPECT_FLOAT_EQ(_player->Get<Sprite>(ctype::Sprite)->GetTint().a, 1.0f);
    EXPECT_FLOAT_EQ(Player().GetBaseSpeed(), 400.0f);
}

TEST_F(PlayerTest, AMissingTrapArchetypeOrUiComponentIsReportedOnceAndThePlayerStillWorks)
{
    std::filesystem::remove("Data/Entity/beartrap.json");
    Load(R"("physics": {}, "behaviorplayer": {})");
    EXPECT_EQ(Player().TrapCount(), 0u);
    Aim({150.0f, 0.0f});
    Tap(test::kKey1);
    HoldToPlace();
    MessageSystem::Instance().Send(Message("playertalk", {std::string("hello")}, 0.0f, true));
    Frame();
    MessageSystem::Instance().Send(Message("playertalk", {std::string("again")}, 0.0f, true));
    Press(test::kKeyD);
    Frames(3);
    EXPECT_GT(Position().x, 0.0f);
    EXPECT_EQ(CountEntities("beartrap"), 0);

    const std::string trace = test::ReadTrace();
    EXPECT_THAT(trace, HasSubstr("Data/Entity/beartrap.json: no bear trap archetype; the trap stock is empty"));
    EXPECT_EQ(test::Count(trace, "Player \"player\" has no ToolTip; it plays without one"), 1u);
    EXPECT_EQ(test::Count(trace, "Player \"player\" has no ProgressBar; it plays without one"), 1u);
    EXPECT_EQ(test::Count(trace, "Player \"player\" has no Flashlight; it plays without one"), 1u);
}

TEST(PlayerMath, TheHandSitsBesideTheBodyTowardTheMouse)
{
    // Facing angle 0 points from the mouse (at -x) to the player: the hand is toward -x.
    const glm::vec2 straight = BehaviorPlayer::HandOffset(0.0f, 40.0f, 0.0f);
    EXPECT_NEAR(straight.x, -40.0f, 1e-4f);
    EXPECT_NEAR(straight.y, 0.0f, 1e-4f);
    const glm::vec2 turned = BehaviorPlayer::HandOffset(0.0f, 40.0f, 1.5707964f);
    EXPECT_NEAR(turned.x, 0.0f, 1e-4f);
    EXPECT_NEAR(turned.y, 40.0f, 1e-4f);
    EXPECT_EQ(BehaviorPlayer::WalkVelocity(0, 0, 400.0f), glm::vec2(0.0f));
}
