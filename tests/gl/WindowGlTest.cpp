#include "gl/GlTest.h"

#include "core/Screen.h"
#include "core/WindowSystem.h"
#include "input/InputSystem.h"
#include "render/ScreenCamera.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <GLFW/glfw3.h>
#include <glad/gl.h>
#include <stb_image.h>

using test::NearColour;

namespace
{
std::string Panel(float x, float y, float size, const char* tint)
{
    return R"({"transform": {"translation": {"x": )" + std::to_string(x) + R"(, "y": )" + std::to_string(y) +
           R"(}, "scale": {"x": )" + std::to_string(size) + R"(, "y": )" + std::to_string(size) +
           R"(}}, "components": {"sprite": {
               "mesh": {"type": "quad", "name": "unit", "halfsizex": 0.5, "halfsizey": 0.5, "u": 1, "v": 1},
               "shader": {"name": "default"}, "tint": )" +
           tint + "}}}";
}
} // namespace

class WindowGlTest : public test::GlTest
{
};

TEST_F(WindowGlTest, AScreenshotHoldsTheBackBufferTopRowFirst)
{
    Draw(Panel(0, 400, 100, R"({"r": 1, "g": 0, "b": 0, "a": 1})"));
    ASSERT_TRUE(WindowSystem::Instance().SaveScreenshot("shot.png"));
    int w = 0, h = 0, channels = 0;
    unsigned char* image = stbi_load("shot.png", &w, &h, &channels, 4);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(w, 1920);
    EXPECT_EQ(h, 1080);
    // World y 400 is 140 pixels below the top edge.
    const unsigned char* red = image + (140 * w + 960) * 4;
    EXPECT_EQ(red[0], 255);
    EXPECT_EQ(red[1], 0);
    const unsigned char* below = image + (1000 * w + 960) * 4;
    EXPECT_EQ(below[0], 0);
    stbi_image_free(image);
}

TEST_F(WindowGlTest, ResizingKeepsTheViewNineteenTwentyUnitsWide)
{
    GLFWwindow* window = WindowSystem::Instance().GetWindow();
    glfwSetWindowSize(window, 960, 540);
    // The size callback comes with the window system's events, a little later.
    for (int i = 0; i < 100 && ScreenCamera::Instance().GetPixelScale() != 2.0f; ++i)
        glfwWaitEventsTimeout(0.05);
    EXPECT_EQ(Screen::GetWindowSize().width, 960);
    EXPECT_FLOAT_EQ(ScreenCamera::Instance().GetPixelScale(), 2.0f);
    Clear();
    // 400 units right of the centre is 200 pixels right of it now.
    Draw(Panel(400, 0, 40, R"({"r": 0, "g": 1, "b": 0, "a": 1})"));
    unsigned char rgba[4] = {};
    glReadPixels(480 + 200, 270, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    EXPECT_EQ(rgba[1], 255);
}

TEST_F(WindowGlTest, FullscreenTogglesBetweenTheMonitorAndANearlyFullWindow)
{
    WindowSystem& window = WindowSystem::Instance();
    EXPECT_FALSE(window.IsFullscreen()) << "--windowed starts in a window";
    window.ToggleFullscreen();
    EXPECT_TRUE(window.IsFullscreen());
    window.ToggleFullscreen();
    EXPECT_FALSE(window.IsFullscreen());
    int x = 0, y = 0, w = 0, h = 0;
    glfwGetWindowPos(window.GetWindow(), &x, &y);
    glfwGetWindowSize(window.GetWindow(), &w, &h);
    EXPECT_EQ(x, 30);
    EXPECT_EQ(y, 30);
    EXPECT_EQ(w, 1900);
    EXPECT_EQ(h, 1069);

    // The "fullscreen" binding toggles during the window's update.
    InputSystem::Instance().LoadBindings(json::parse(R"({"keys": {"fullscreen": [300]}})"), "x");
    InputSystem::OnKey(nullptr, 300, 0, InputSystem::kPress, 0);
    window.Update(0.0f);
    EXPECT_TRUE(window.IsFullscreen());
    window.SetWindowMode(2);
    EXPECT_TRUE(window.IsFullscreen()) << "mode 2 leaves the window as it is";
    window.SetWindowMode(0);
    EXPECT_FALSE(window.IsFullscreen());
}

TEST_F(WindowGlTest, LosingFocusPausesEveryScene)
{
    SceneSystem& scenes = SceneSystem::Instance();
    ASSERT_TRUE(scenes.Init());
    WindowSystem::SetFocused(false);
    for (const auto& scene : scenes.GetScenes())
        EXPECT_TRUE(scene->IsPaused());
    WindowSystem::SetFocused(true);
    for (const auto& scene : scenes.GetScenes())
        EXPECT_FALSE(scene->IsPaused());
}

TEST_F(WindowGlTest, TheTransitionPanelCoversTheScreenHalfwayThroughATransition)
{
    SceneSystem& scenes = SceneSystem::Instance();
    ASSERT_TRUE(scenes.Init());
    auto frame = [&](float dt)
    {
        scenes.Update(dt);
        WindowSystem::Instance().Render();
        scenes.Render();
    };
    frame(0.0f);
    EXPECT_GT(LitPixels({-400, 40}, {400, 200}), 10000) << "the logo shows before the transition";

    scenes.ChangeScene("splash_screen", true);
    frame(0.25f);
    EXPECT_GT(LitPixels({-400, 40}, {400, 200}), 10000) << "the panel is still sliding up from below";
    EXPECT_EQ(LitPixels({-900, -530}, {900, -300}), 0) << "but it already hides the bottom of the screen";

    // 0.5 s slide in, 0.05 s covered: the middle of the transition.
    frame(0.27f);
    EXPECT_EQ(LitPixels({-960, -540}, {960, 540}), 0) << "the whole screen is covered";

    for (int i = 0; i < 8; ++i)
        frame(0.1f);
    EXPECT_GT(LitPixels({-400, 40}, {400, 200}), 10000) << "the panel has slid away over the new scene";
}
