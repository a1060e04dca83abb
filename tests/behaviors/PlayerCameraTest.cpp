#include "TestSupport.h"

#include "behaviors/PlayerCamera.h"
#include "behaviors/items/ObjectiveSystem.h"
#include "core/MessageSystem.h"
#include "input/InputSystem.h"
#include "render/Sprite.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <glm/geometric.hpp>

#include <any>

namespace
{
constexpr int kSpaceKey = 32;
constexpr int kLeftMouse = 0;
constexpr float kFrame = 1.0f / 60.0f;

void Post(const std::string& name, std::vector<std::any> payload, bool consumable = false)
{
    MessageSystem::Instance().Send(Message(name, std::move(payload), 0.0f, consumable));
}

// What a collectable does as it starts: register, then announce where it stands.
void Fragment(int id, const glm::vec2& at)
{
    ObjectiveSystem::Instance().Register(id, "fragment" + std::to_string(id), "test");
    Post("fragment" + std::to_string(id), {at}, true);
}

void PostPlayer(const glm::vec2& position, const glm::vec2& velocity)
{
    Post("playerdata", {position, velocity, 3, 1.0f});
}
} // namespace

// A level with a player camera and a GUI scene holding the fade overlay.
class PlayerCameraTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        test::WriteFile("Data/Level/level.json", R"({"camera": {"name": "playercamera"}, "subscenes": ["gui_scene"]})");
        test::WriteFile("Data/Level/lonely.json", R"({"camera": {"name": "playercamera"}})");
        test::WriteFile("Data/Level/gui_scene.json",
                        R"({"entities": [{"name": "fade", "components": {"sprite": {}}}]})");
    }

    PlayerCamera& Start(const std::string& level)
    {
        SceneSystem::Instance().ChangeScene(level, false);
        EXPECT_TRUE(SceneSystem::Instance().Init());
        auto* camera = dynamic_cast<PlayerCamera*>(SceneSystem::Instance().FindScene(level)->GetCamera());
        if (!camera)
            throw std::runtime_error("the level's camera is not a player camera");
        return *camera;
    }

    static void Run(float seconds, float dt = 0.1f)
    {
        for (float t = 0.0f; t < seconds - 1e-4f; t += dt)
            SceneSystem::Instance().Update(dt);
    }

    static Scene& Gui() { return *SceneSystem::Instance().FindScene("gui_scene"); }
    static float FadeAlpha() { return Gui().FindEntity("fade")->Get<Sprite>(ctype::Sprite)->GetTint().a; }
};

TEST_F(PlayerCameraTest, TheTourPassesTheLastFragmentBehindTheFadeUntilAKeyEndsIt)
{
    Fragment(1, glm::vec2(1000.0f, 0.0f));
    Fragment(2, glm::vec2(-500.0f, 300.0f));
    PlayerCamera& camera = Start("level");
    ASSERT_EQ(camera.GetStopsLeft(), 2);
    EXPECT_EQ(camera.GetTourPoints(), (std::vector<glm::vec2>{{1000.0f, 0.0f}, {-500.0f, 300.0f}}));
    EXPECT_EQ(Gui().GetActionList().Count(), 7u) << "opaque at once, then fade in, wait, fade out per stop";

    SceneSystem::Instance().Update(0.1f);
    EXPECT_EQ(camera.GetStopsLeft(), 1);
    EXPECT_FLOAT_EQ(FadeAlpha(), 1.0f) << "the level opens behind the overlay";
    const glm::vec2 fragment(-500.0f, 300.0f);
    EXPECT_NEAR(glm::length(camera.GetPosition() - fragment), 375.0f - 10.0f, 0.01f)
        << "placed 3.75 s of travel before the fragment, then moved for one update";
    EXPECT_NEAR(glm::length(glm::vec2(camera.GetVelocity())), 100.0f, 1e-3f);

    // A mouse click is not a key.
    InputSystem::Instance().HandleButton(kLeftMouse, InputSystem::kPress);
    Run(2.0f);
    EXPECT_EQ(camera.GetStopsLeft(), 1);
    EXPECT_NEAR(glm::length(camera.GetPosition() - fragment), 375.0f - 210.0f, 0.05f) << "gliding past it";
    EXPECT_LT(FadeAlpha(), 1.0f) << "the overlay lifts over the fragment";

    InputSystem::Instance().HandleButton(kSpaceKey, InputSystem::kPress);
    const glm::vec2 atKey = camera.GetPosition();
    SceneSystem::Instance().Update(0.1f);
    EXPECT_EQ(camera.GetStopsLeft(), 0);
    EXPECT_EQ(camera.GetVelocity(), glm::vec3(0.0f));
    EXPECT_EQ(camera.GetPosition(), atKey) << "no player yet: it stays";
    EXPECT_EQ(Gui().GetActionList().Count(), 1u) << "only the last fade is left";
    Run(1.5f);
    EXPECT_FLOAT_EQ(FadeAlpha(), 0.0f);
    EXPECT_EQ(test::Count(test::ReadTrace(), "Clear Action List"), 1u);
}

TEST_F(PlayerCameraTest, WithoutKeysTheTourEndsWhenTheLastStopBegins)
{
    Fragment(1, glm::vec2(1000.0f, 0.0f));
    Fragment(2, glm::vec2(-500.0f, 300.0f));
    PlayerCamera& camera = Start("level");
    Run(5.0f);
    EXPECT_EQ(camera.GetStopsLeft(), 1);
    Run(0.2f);
    EXPECT_EQ(camera.GetStopsLeft(), 0);
    EXPECT_EQ(camera.GetVelocity(), glm::vec3(0.0f));
    EXPECT_NEAR(glm::length(camera.GetPosition() - glm::vec2(1000.0f, 0.0f)), 375.0f, 0.05f)
        << "parked where the first fragment's pass would start";
}

TEST_F(PlayerCameraTest, TheFollowConvergesHalfASecondAheadOfThePlayerAndLeansTowardANearMonster)
{
    Post("fragment1", {glm::vec2(1000.0f, 0.0f)}, true);
    PlayerCamera& camera = Start("level");
    EXPECT_EQ(camera.GetStopsLeft(), 0) << "a fragment no object registered makes no stop";
    EXPECT_TRUE(Gui().GetActionList().IsEmpty()) << "no fragments: no tour and no overlay left on";

    SceneSystem::Instance().Update(kFrame);
    EXPECT_EQ(camera.GetPosition(), glm::vec2(0.0f)) << "no player: the camera keeps its place";

    const glm::vec2 player(400.0f, -200.0f);
    const glm::vec2 velocity(100.0f, 60.0f);
    const glm::vec2 ahead = player + velocity * 0.5f;
    PostPlayer(player, velocity);
    SceneSystem::Instance().Update(kFrame);
    const float first = glm::length(camera.GetPosition());
    EXPECT_GT(first, 0.0f);
    EXPECT_LT(first, 0.1f * glm::length(ahead)) << "smoothed, not a jump";
    EXPECT_NEAR(glm::dot(glm::normalize(camera.GetPosition()), glm::normalize(ahead)), 1.0f, 1e-4f);

    for (int i = 0; i < 240; ++i)
    {
        PostPlayer(player, velocity);
        SceneSystem::Instance().Update(kFrame);
    }
    EXPECT_NEAR(camera.GetPosition().x, ahead.x, 0.5f);
    EXPECT_NEAR(camera.GetPosition().y, ahead.y, 0.5f);

    // The monster posts "monster_pos"; within 600 units the camera leans a tenth toward it.
    const glm::vec2 near(700.0f, -170.0f);
    for (int i = 0; i < 240; ++i)
    {
        PostPlayer(player, velocity);
        Post("monster_pos", {near}, true);
        SceneSystem::Instance().Update(kFrame);
    }
    const glm::vec2 leaned = ahead + (near - ahead) * PlayerCamera::kLeanFactor;
    EXPECT_NEAR(camera.GetPosition().x, leaned.x, 0.5f);
    EXPECT_NEAR(camera.GetPosition().y, leaned.y, 0.5f);
    EXPECT_NE(camera.GetPosition().x, ahead.x);

    for (int i = 0; i < 240; ++i)
    {
        PostPlayer(player, velocity);
        Post("monster_pos", {glm::vec2(1100.0f, -200.0f)}, true);
        SceneSystem::Instance().Update(kFrame);
    }
    EXPECT_NEAR(camera.GetPosition().x, ahead.x, 0.5f) << "700 units away: no lean";
}

TEST_F(PlayerCameraTest, AMissingGuiOrFadeIsReportedOnceAndTheCameraJustFollows)
{
    Fragment(1, glm::vec2(1000.0f, 0.0f));
    PlayerCamera& camera = Start("lonely");
    EXPECT_EQ(camera.GetStopsLeft(), 0);
    for (int i = 0; i < 240; ++i)
    {
        PostPlayer({-300.0f, 50.0f}, {0.0f, 0.0f});
        SceneSystem::Instance().Update(kFrame);
    }
    EXPECT_NEAR(camera.GetPosition().x, -300.0f, 0.5f);
    EXPECT_NEAR(camera.GetPosition().y, 50.0f, 0.5f);

    // A payload of the wrong kind leaves the camera where it is, said once.
    for (int i = 0; i < 3; ++i)
    {
        Post("playerdata", {1, 2});
        SceneSystem::Instance().Update(kFrame);
    }
    EXPECT_NEAR(camera.GetPosition().x, -300.0f, 0.5f);

    PostPlayer({0.0f, 0.0f}, {0.0f, 0.0f});
    test::WriteFile("Data/Level/gui_scene.json", R"({"entities": [{"name": "not the fade"}]})");
    PlayerCamera& second = Start("level");
    EXPECT_EQ(second.GetStopsLeft(), 0);
    SceneSystem::Instance().Update(kFrame);

    const std::string trace = test::ReadTrace();
    EXPECT_EQ(test::Count(trace, "PlayerCamera: no scene \"gui_scene\"; no level tour, the camera just follows"), 1u);
    EXPECT_EQ(test::Count(trace, "PlayerCamera: scene \"gui_scene\" has no \"fade\" entity"), 1u);
    EXPECT_EQ(test::Count(trace, "PlayerCamera: \"playerdata\" does not start with a position and a velocity"), 1u);
}

TEST_F(PlayerCameraTest, OnlyThePlayerCameraNameMakesOne)
{
    auto camera = SceneCamera::Create("playercamera");
    ASSERT_NE(dynamic_cast<PlayerCamera*>(camera.get()), nullptr);
    json j;
    camera->Write(j);
    EXPECT_EQ(j["name"], "playercamera");
    EXPECT_EQ(dynamic_cast<PlayerCamera*>(SceneCamera::Create("defaultcam").get()), nullptr);
}
