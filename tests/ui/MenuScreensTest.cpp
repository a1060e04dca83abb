#include "TestSupport.h"

#include "core/MessageSystem.h"
#include "input/InputSystem.h"
#include "render/SceneCamera.h"
#include "render/Sprite.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"
#include "ui/BehaviorOptionText.h"
#include "ui/BehaviorSplash.h"
#include "ui/CreditsManager.h"
#include "ui/OptionSystem.h"
#include "ui/PauseManager.h"

#include <nlohmann/json.hpp>

#include <string>

using nlohmann::json;

namespace
{
// Eighths add up exactly, so every fade and slide ends on a known frame.
constexpr float kDt = 0.125f;

// Scenes run by the scene system itself, built from level files in the scratch folder.
class MenuScreensTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        InputSystem::Instance().LoadBindings(json::parse(R"({"keys": {"Pause": [256]}})"), "bindings");
    }

    static void Level(const std::string& name, const std::string& body)
    {
        test::WriteFile("Data/Level/" + name + ".json", body);
    }

    // Builds `name` (and its sub-scenes) as the running scenes.
    static void Start(const std::string& name)
    {
        SceneSystem& scenes = SceneSystem::Instance();
        scenes.ChangeScene(name, false);
        scenes.Update(0.0f);
    }

    static void Frame(float dt = kDt)
    {
        SceneSystem::Instance().Update(dt);
        InputSystem::Instance().Update(dt);
        MessageSystem::Instance().Update(dt);
    }

    static void Frames(int n)
    {
        for (int i = 0; i < n; ++i)
            Frame();
    }

    static void Post(const std::string& name) { MessageSystem::Instance().Send(Message(name, {}, 0.0f, true)); }

    template <typename T> static T& Find(const std::string& scene, const std::string& entity, CType type)
    {
        Scene* s = SceneSystem::Instance().FindScene(scene);
        EXPECT_NE(s, nullptr) << scene;
        Entity* e = s->FindEntity(entity);
        EXPECT_NE(e, nullptr) << entity;
        return *e->Get<T>(type);
    }

    static glm::vec2 Camera(const std::string& scene)
    {
        return SceneSystem::Instance().FindScene(scene)->GetCamera()->GetPosition();
    }
};

const char* kPauseMenu = R"({"entities": [{"name": "pause", "components": {"pausemanager": {
    "onscreenpos": {"x": 0, "y": 3000}, "tutorialpos": {"x": -2400, "y": 3000},
    "optionspos": {"x": 2400, "y": 3000}, "pausemovetime": 0.5, "submenumovetime": 0.25,
    "unpausepercentage": 0.5}}}]})";

TEST_F(MenuScreensTest, EscapeStopsTheLevelOpensThePauseMenuAndEscapeAgainResumesIt)
{
    Level("pause_menu", kPauseMenu);
    Level("level", R"({"entities": [], "subscenes": ["pause_menu"]})");
    Start("level");
    Scene* level = SceneSystem::Instance().FindScene("level");
    const PauseManager& pause = Find<PauseManager>("pause_menu", "pause", ctype::PauseManager);

    InputSystem::Instance().HandleButton(256, InputSystem::kPress);
    Frame();
    EXPECT_TRUE(level->IsPaused());
    EXPECT_FALSE(SceneSystem::Instance().FindScene("pause_menu")->IsPaused()) << "the menu itself keeps running";
    Frame();
    EXPECT_TRUE(pause.IsPaused());
    Frames(5);
    EXPECT_EQ(Camera("pause_menu"), glm::vec2(0.0f, 3000.0f));

    // Pages are camera moves; "Pause" brings the camera back to the menu.
    Post("Options-Pause");
    Frames(4);
    EXPECT_EQ(Camera("pause_menu"), glm::vec2(2400.0f, 3000.0f));
    Post("Pause");
    Frames(6);
    EXPECT_EQ(Camera("pause_menu"), glm::vec2(0.0f, 3000.0f));
    EXPECT_TRUE(level->IsPaused());

    InputSystem::Instance().HandleButton(256, InputSystem::kRelease);
    Frame();
    InputSystem::Instance().HandleButton(256, InputSystem::kPress);
    Frame();
    EXPECT_TRUE(pause.IsPaused());
    Frame();
    EXPECT_FALSE(pause.IsPaused()) << "closed half way through the half-second slide";
    EXPECT_TRUE(level->IsPaused()) << "the level resumes the frame after";
    Frame();
    EXPECT_FALSE(level->IsPaused());
    Frame();
    EXPECT_EQ(Camera("pause_menu"), glm::vec2(0.0f, 0.0f));
}

TEST_F(MenuScreensTest, InTheMainMenuPauseOnlyReturnsToTheMainPage)
{
    Level("main_menu", R"({"entities": [{"name": "pages", "components": {"pausemanager": {
        "optionspos": {"x": 0, "y": -1400}, "submenumovetime": 0.25}}}]})");
    Start("main_menu");
    const PauseManager& pages = Find<PauseManager>("main_menu", "pages", ctype::PauseManager);

    InputSystem::Instance().HandleButton(256, InputSystem::kPress);
    Frame();
    Frame();
    EXPECT_FALSE(MessageSystem::Instance().Get("Pause")) << "Escape does not pause a menu";

    Post("Options-Main");
    Frames(3);
    EXPECT_EQ(Camera("main_menu"), glm::vec2(0.0f, -1400.0f));
    Post("Pause");
    Frame();
    EXPECT_FALSE(pages.IsPaused());
    Frames(3);
    EXPECT_EQ(Camera("main_menu"), glm::vec2(0.0f, 0.0f));
}

TEST_F(MenuScreensTest, CreditsPagesWrapBothWays)
{
    Level("credits", R"({"entities": [{"name": "pager", "components": {"creditsmanager": {
        "offset": {"x": 0, "y": -1200}, "maxpages": 3}}}]})");
    Start("credits");
    const CreditsManager& pager = Find<CreditsManager>("credits", "pager", ctype::CreditsManager);
    Post("Page Backward");
    Frame();
    EXPECT_EQ(pager.GetPage(), 2);
    EXPECT_EQ(Camera("credits"), glm::vec2(0.0f, -2400.0f));
    Post("Page Forward");
    Frame();
    EXPECT_EQ(pager.GetPage(), 0);
    EXPECT_EQ(Camera("credits"), glm::vec2(0.0f, 0.0f));
}

std::string Splash(bool last)
{
    return R"({"entities": [{"name": "logo", "components": {"sprite": {"tint": {"r": 0.5, "g": 0.4, "b": 0.3}},
        "behaviorsplash": {"delay": 0.25, "fadeintime": 0.375, "duration": 0.5, "fadeouttime": 0.375,
        "scenedelay": 0.25, "nextscene": "menu", "last": )" +
           std::string(last ? "true" : "false") + "}}}]}";
}

TEST_F(MenuScreensTest, ASplashFadesInAndOutAndOnlyTheLastOneMovesOnAtOnceIfAKeyIsHeld)
{
    Level("menu", R"({"entities": []})");
    Level("first", Splash(false));
    Start("first");
    const Sprite& logo = Find<Sprite>("first", "logo", ctype::Sprite);
    const auto alpha = [&] { return logo.GetTint().a; };

    InputSystem::Instance().HandleButton(65, InputSystem::kPress);
    Frame();
    EXPECT_EQ(alpha(), 0.0f);
    EXPECT_FLOAT_EQ(logo.GetTint().r, 0.5f) << "only the alpha fades";
    Frames(5);
    EXPECT_FLOAT_EQ(alpha(), 1.0f) << "after the delay and the fade-in";
    Frames(9);
    EXPECT_FLOAT_EQ(alpha(), 0.0f) << "after the stay and the fade-out";
    Frames(5);
    EXPECT_NE(SceneSystem::Instance().FindScene("first"), nullptr) << "a splash that is not last stays, keys or not";

    // The last one moves on by itself once faded out and the scene delay is over.
    InputSystem::Instance().HandleButton(65, InputSystem::kRelease);
    Level("second", Splash(true));
    Start("second");
    Frames(13);
    EXPECT_NE(SceneSystem::Instance().FindScene("second"), nullptr);
    EXPECT_EQ(SceneSystem::Instance().GetRequestedScene(), "menu") << "asked for once the scene delay is over";
    Frame();
    EXPECT_NE(SceneSystem::Instance().FindScene("menu"), nullptr);

    // A key held when the last one starts moves on in its first update.
    InputSystem::Instance().HandleButton(0, InputSystem::kPress);
    Start("second"); // builds the scene and runs its first update
    EXPECT_TRUE(Find<BehaviorSplash>("second", "logo", ctype::Behavior).IsSkipped());
    EXPECT_EQ(SceneSystem::Instance().GetRequestedScene(), "menu");
}

TEST_F(MenuScreensTest, OptionReadoutsFollowTheVolumeStepsAndTheWindowMode)
{
    EXPECT_FLOAT_EQ(OptionSystem::StepVolume(0.95f, 1), 1.0f);
    EXPECT_FLOAT_EQ(OptionSystem::StepVolume(1.0f, 1), 1.0f);
    EXPECT_FLOAT_EQ(OptionSystem::StepVolume(0.04f, -1), 0.0f);
    EXPECT_FLOAT_EQ(OptionSystem::StepVolume(0.7f, -1), 0.6f);

    Level("options", R"({"entities": [
        {"name": "music", "components": {"sprite": {}, "behavioroptiontext": {"option": "musicvol"}}},
        {"name": "mode", "components": {"sprite": {}, "behavioroptiontext": {"option": "windowmode"}}},
        {"name": "odd", "components": {"sprite": {}, "behavioroptiontext": {"option": "gamma"}}}]})");
    Start("options");
    OptionSystem::SetWindowModeFunction([](int) {});
    for (int i = 0; i < 3; ++i)
    {
        Post("Music Volume Down");
        OptionSystem::Instance().Update(kDt);
        Frame();
    }
    Post("Toggle Window");
    OptionSystem::Instance().Update(kDt);
    Frame();
    Frame();
    EXPECT_EQ(Find<Sprite>("options", "music", ctype::Sprite).GetText(), "=======--- 70%");
    EXPECT_EQ(Find<Sprite>("options", "mode", ctype::Sprite).GetText(), "WINDOWED");
    const std::string trace = test::ReadTrace();
    EXPECT_EQ(test::Count(trace, "Music Volume 70%"), 1u) << trace;
    EXPECT_EQ(test::Count(trace, "/entities/2/components/behavioroptiontext/option: unknown option \"gamma\""), 1u)
        << trace;
}
} // namespace
