#pragma once

#include "core/System.h"

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <functional>
#include <map>
#include <string>
#include <vector>

struct GLFWwindow;
struct GLFWmonitor;

// How the window opens; the defaults are what a player gets.
struct WindowOptions
{
    bool headless = false;                        // no window, no GL: a virtual 1920 x 1080 screen
    bool windowed = false;                        // stay in a 1920 x 1080 window instead of going fullscreen
    bool hidden = false;                          // never shown (GL tests and benchmarks)
    std::map<long long, std::string> screenshots; // frame -> PNG path
};

// What the window tells the systems above it. The window knows none of them: the game's
// wiring fills these lists, and tests may add their own.
struct WindowListeners
{
    std::vector<std::function<void(bool focused)>> focusChanged;
    std::vector<std::function<void(int width, int height)>> framebufferResized;
    // Each frame, once the events of the frame are in.
    std::vector<std::function<void(long long frame)>> afterPoll;
    // True once the GL entry points are loaded; false just before the context goes.
    std::vector<std::function<void(bool live)>> contextChanged;
    // At a normal exit, before the window goes (not when abandoning it on an error).
    std::vector<std::function<void()>> closing;
    // The colour each frame is cleared to; unset, black.
    std::function<glm::vec4()> clearColour;
};

// The game's one window and its OpenGL 3.3 core context. Each frame its Update polls
// events (input callbacks arrive here) and presents the frame drawn last time; its
// Render clears the screen (to the renderer's clear colour) before anything draws.
class WindowSystem : public System
{
public:
    static constexpr int kBaseWidth = 1920;
    static constexpr int kBaseHeight = 1080;

    WindowSystem() : System("WindowSystem") {}

    static WindowSystem& Instance();

    WindowListeners& Listeners() { return _listeners; }

    void Configure(WindowOptions options);

    bool Init() override;
    void Update(float dt) override;
    void Render() override;
    // Tells the closing listeners (the game saves the vsync file there), then destroys
    // the window.
    void Exit() override;

    // 1 fullscreen on the primary monitor, 2 leave as it is, anything else windowed.
    void SetWindowMode(int mode);
    void ToggleFullscreen();
    bool IsFullscreen() const { return _monitor != nullptr; }

    // The window's client size; (0, 0) without a window; 1920 x 1080 when headless.
    glm::ivec2 GetWindowSize() const;
    // A window point (pixels, y down) relative to the window centre, y up.
    glm::vec2 ScreenToCentred(const glm::vec2& point) const;

    int GetVsync() const { return _vsync; }
    // True when presenting a frame waits for the display, so nothing else need pace
    // the loop. A virtual display (Xvfb) and headless runs never wait.
    bool DisplayHoldsFrames() const { return _swapWaits; }
    // --windowed: the run stays windowed whatever the player's saved mode says.
    bool IsWindowedByFlag() const { return _options.windowed; }
    // Frames whose Update has started.
    long long GetFrame() const { return _frame; }
    GLFWwindow* GetWindow() const { return _window; }
    bool IsHeadless() const { return _options.headless; }

    // What the focus callback does: tells every focus listener.
    static void SetFocused(bool focused);

    // Writes the back buffer to a PNG file. False without a window or when the file
    // cannot be written.
    bool SaveScreenshot(const std::string& path) const;

    // The text of the vsync file: indented by 2 spaces, then an end of line.
    static std::string VsyncFileText(int vsync);

    // No listeners and no options, as before the first Configure (between tests).
    void Reset();

private:
    static void OnFocus(GLFWwindow* window, int focused);
    static void OnFramebufferSize(GLFWwindow* window, int width, int height);

    void GoFullscreen();
    void GoWindowed();
    void TakeScreenshotOf(long long frame);
    void Destroy();
    void SetContextLive(bool live);
    bool ProbeSwapWaits() const;

    WindowOptions _options;
    WindowListeners _listeners;
    GLFWwindow* _window = nullptr;
    GLFWmonitor* _monitor = nullptr;
    int _vsync = 1;
    long long _frame = 0;
    bool _glfwStarted = false;
    bool _contextLive = false;
    bool _swapWaits = false;
};
