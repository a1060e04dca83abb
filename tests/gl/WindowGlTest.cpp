#include "gl/GlTest.h"

#include "Game.h"
#include "core/Screen.h"
#include "core/WindowSystem.h"
#include "render/ScreenCamera.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <GLFW/glfw3.h>
#include <glad/gl.h>

using test::Quad;
using test::Tint;

using WindowGlTest = test::GlTest;

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
    Draw(Quad(400, 0, 40, Tint(0, 1, 0)));
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
    window.SetWindowMode(1);
    EXPECT_TRUE(window.IsFullscreen());
    window.SetWindowMode(2);
    EXPECT_TRUE(window.IsFullscreen()) << "mode 2 leaves the window as it is";
    window.SetWindowMode(0);
    EXPECT_FALSE(window.IsFullscreen());
}

TEST_F(WindowGlTest, FocusPausesScenesAndTheTransitionPanelCoversTheScreenHalfway)
{
    SceneSystem& scenes = SceneSystem::Instance();
    // The main menu's title stands still; the splash screen fades its logo in.
    scenes.ChangeScene("main_menu", false);
    ASSERT_TRUE(scenes.Init());
    WindowSystem::SetFocused(false);
    for (const auto& scene : scenes.GetScenes())
        EXPECT_TRUE(scene->IsPaused());
    WindowSystem::SetFocused(true);
    for (const auto& scene : scenes.GetScenes())
        EXPECT_FALSE(scene->IsPaused());
    // A fixed-step run (tests, screenshots) keeps going behind another window.
    Game::Wire(false);
    WindowSystem::SetFocused(false);
    for (const auto& scene : scenes.GetScenes())
        EXPECT_FALSE(scene->IsPaused());
    Game::Wire();

    auto frame = [&](float dt)
    {
        scenes.Update(dt);
        WindowSystem::Instance().Render();
        scenes.Render();
    };
    frame(0.0f);
    EXPECT_GT(LitPixels({-400, 140}, {400, 300}), 10000) << "the title shows before the transition";

    // 0.5 s slide in, 0.05 s covered: the middle of the transition.
    scenes.ChangeScene("main_menu", true);
    frame(0.52f);
    EXPECT_EQ(LitPixels({-960, -540}, {960, 540}), 0) << "the whole screen is covered";

    for (int i = 0; i < 8; ++i)
        frame(0.1f);
    EXPECT_GT(LitPixels({-400, 140}, {400, 300}), 10000) << "the panel has slid away over the new scene";
}
