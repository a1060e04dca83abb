#include "TestSupport.h"

#include "input/InputSystem.h"
#include "render/RenderState.h"
#include "scene/SceneSystem.h"

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <gmock/gmock.h>

using ::testing::HasSubstr;
using json = nlohmann::json;

namespace
{
constexpr int W = 87;
constexpr int Up = 265;
constexpr int F11 = 300;
} // namespace

class InputSystemTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        test::ScratchTest::SetUp();
        input().LoadBindings(json::parse(R"({"keys": {"up": [87, 265], "fullscreen": [300], "menu": [348],
                                                      "click": [0], "nothing": []}})"),
                             "dat_input.json");
    }

    static InputSystem& input() { return InputSystem::Instance(); }
    static void EndFrame() { input().Update(0.016f); }
    static void Press(int code) { input().HandleButton(code, InputSystem::kPress); }
    static void Release(int code) { input().HandleButton(code, InputSystem::kRelease); }
};

TEST_F(InputSystemTest, AHeldKeyTriggersOnceIsDownThroughoutAndReleasesOnce)
{
    Press(W);
    EXPECT_TRUE(input().IsTriggered("up"));
    EXPECT_TRUE(input().IsDown("up"));
    EXPECT_FALSE(input().IsReleased("up"));
    EndFrame();
    for (int frame = 0; frame < 3; ++frame)
    {
        EXPECT_FALSE(input().IsTriggered("up"));
        EXPECT_TRUE(input().IsDown("up"));
        EndFrame();
    }
    Release(W);
    EXPECT_TRUE(input().IsReleased("up"));
    EXPECT_FALSE(input().IsDown("up"));
    EndFrame();
    EXPECT_FALSE(input().IsReleased("up"));

    // Any code of a binding qualifies.
    Press(W);
    EndFrame();
    Press(Up);
    EXPECT_TRUE(input().IsTriggered("up")) << "the second code was pressed this frame";
    EXPECT_EQ(input().GetHeldCount(), 2);
}

TEST_F(InputSystemTest, APressAndReleaseInOnePollLeavesNoTraceAndCallbacksFeedTheState)
{
    Press(W);
    Release(W);
    EXPECT_FALSE(input().IsTriggered("up"));
    EXPECT_FALSE(input().IsDown("up"));
    EXPECT_FALSE(input().IsReleased("up"));
    EXPECT_EQ(input().GetHeldCount(), 0);
    EXPECT_EQ(input().GetLastKey(), W);

    InputSystem::OnScroll(nullptr, 3.0, 1.5);
    InputSystem::OnScroll(nullptr, 0.0, -2.0);
    EXPECT_DOUBLE_EQ(input().GetScroll(), -2.0) << "the last event of the frame wins";
    InputSystem::OnCursorPosition(nullptr, 100.75, 20.5);
    EXPECT_EQ(input().GetMousePosition(), glm::vec2(100.75f, 20.5f));
    InputSystem::OnKey(nullptr, F11, 0, InputSystem::kPress, 0);
    EXPECT_TRUE(input().IsTriggered("fullscreen"));
    EndFrame();
    EXPECT_DOUBLE_EQ(input().GetScroll(), 0.0);
}

TEST_F(InputSystemTest, StrayEventsChangeNothingAndTheHighestCodeAndMouseButtonsWork)
{
    input().HandleButton(W, 2);
    Press(-1);
    Press(349);
    Release(-1);
    Release(W);
    EXPECT_EQ(input().GetHeldCount(), 0);
    EXPECT_EQ(input().GetLastKey(), -1);
    EXPECT_FALSE(input().IsDown("up"));
    EXPECT_FALSE(input().AnyKeyDown());
    EXPECT_FALSE(input().IsTriggered("no such binding"));
    Press(F11);
    EXPECT_FALSE(input().IsTriggered("nothing")) << "an empty binding never fires";
    EXPECT_EQ(input().GetHeldCount(), 1) << "the stray release left the count at zero, not below";

    Release(F11);
    Press(348);
    Press(0);
    EndFrame();
    EXPECT_FALSE(input().IsTriggered("menu"));
    EXPECT_TRUE(input().IsDown("menu"));
    EXPECT_TRUE(input().IsDown("click"));
    Release(348);
    EXPECT_TRUE(input().IsReleased("menu"));
    EXPECT_FALSE(input().AnyKeyDown()) << "a held mouse button is not a key";
}

TEST_F(InputSystemTest, BindingsAndKeyNamesKeepTheFirstOfANameSkipBadOnesAndInitReadsTheFiles)
{
    input().LoadBindings(json::parse(R"({"keys": {"up": [1], "jump": [32], "broken": [1, "x"], "worse": 5}})"),
                         "Data/Data/dat_input.json");
    EXPECT_EQ(input().Bindings().at("up"), (std::vector<int>{87, 265}));
    EXPECT_EQ(input().Bindings().at("jump"), (std::vector<int>{32}));
    EXPECT_EQ(input().Bindings().count("broken"), 0u);
    EXPECT_EQ(input().Bindings().count("worse"), 0u);
    input().LoadBindings(json::parse(R"({"keys": []})"), "Data/Data/dat_input.json");
    const std::string trace = test::ReadTrace();
    EXPECT_THAT(trace, HasSubstr("Data/Data/dat_input.json: /keys/broken: a binding must be an array of integer"));
    EXPECT_THAT(trace, HasSubstr("Data/Data/dat_input.json: /keys/worse:"));
    EXPECT_THAT(trace, HasSubstr("Data/Data/dat_input.json: /keys: must be an object"));

    input().LoadKeyNames(json::parse(R"({"names": {"Escape": 256, "Esc": 256, "A": 65, "Bad": "x"}})"), "names");
    // Object members come in byte order: "A", "Bad", "Esc", "Escape".
    EXPECT_EQ(input().KeyNames().at(256), "Esc");
    EXPECT_EQ(input().KeyNames().at(65), "A");
    EXPECT_EQ(input().KeyNames().size(), 2u);
    EXPECT_EQ(input().LongestKeyName(), 6u);

    input().Reset();
    test::WriteFile("Data/Data/dat_input.json", R"({"keys": {"interact": [69, 70]}})");
    test::WriteFile("Data/Data/dat_keynames.json", R"({"names": {"E": 69}})");
    EXPECT_TRUE(input().Init());
    EXPECT_EQ(input().Bindings().at("interact"), (std::vector<int>{69, 70}));
    EXPECT_EQ(input().KeyNames().at(69), "E");
}

TEST_F(InputSystemTest, TheCursorReachesTheWorldThroughTheWindowScaleAndTheSceneCamera)
{
    test::WriteFile("Data/Level/look.json", R"({"camera": {"translation": {"x": -100, "y": -50},
                                                            "scale": {"x": 0, "y": 0, "z": 0}}})");
    SceneSystem::Instance().ChangeScene("look", false);
    ASSERT_TRUE(SceneSystem::Instance().Init());

    InputSystem::OnCursorPosition(nullptr, 960.0, 540.0);
    EXPECT_EQ(input().GetMouseWorldPosition(), glm::vec2(100.0f, 50.0f)) << "the centre shows the camera position";
    InputSystem::OnCursorPosition(nullptr, 0.0, 0.0);
    EXPECT_EQ(input().GetMouseWorldPosition(), glm::vec2(100.0f - 960.0f, 50.0f + 540.0f));

    RenderState::SetScreenSpace(true);
    EXPECT_EQ(input().GetMouseWorldPosition(), glm::vec2(-960.0f, 540.0f)) << "screen space ignores the camera";

    const glm::ivec2 window(1280, 720);
    const float scale = 1920.0f / 1280.0f;
    // Without a camera the window centre is the origin and the top-left corner half the
    // 1920-unit view to the left, y up.
    EXPECT_EQ(InputSystem::ScreenToWorld({640, 360}, window, scale, glm::mat4(1.0f)), glm::vec2(0.0f));
    EXPECT_EQ(InputSystem::ScreenToWorld({0, 0}, window, scale, glm::mat4(1.0f)), glm::vec2(-960.0f, 540.0f));

    // A camera zoomed 1.5x, looking at (100, 50) (its view translation is the negation).
    const glm::mat4 view = glm::scale(glm::mat4(1.0f), glm::vec3(1.5f)) *
                           glm::translate(glm::mat4(1.0f), glm::vec3(-100.0f, -50.0f, 0.0f));
    const auto near = [](glm::vec2 a, glm::vec2 b) { return glm::distance(a, b) < 1e-3f; };
    EXPECT_TRUE(near(InputSystem::ScreenToWorld({640, 360}, window, scale, view), {100.0f, 50.0f}));
    EXPECT_TRUE(near(InputSystem::ScreenToWorld({1280, 720}, window, scale, view),
                     {100.0f + 960.0f / 1.5f, 50.0f - 540.0f / 1.5f}));
}
