#include "core/WindowSystem.h"

#include "core/AtomicFile.h"
#include "core/LoadedModules.h"
#include "core/MainLoop.h"
#include "core/Screen.h"
#include "core/Trace.h"

#include <GLFW/glfw3.h>
#include <glad/gl.h>
#include <nlohmann/json.hpp>
#include <stb_image_write.h>

#include <cstring>
#include <vector>

namespace
{
void OnGlfwError(int code, const char* description)
{
    Trace::Error("GLFW error " + std::to_string(code) + ": " + (description ? description : ""));
}

Screen::Size WindowQuery()
{
    const glm::ivec2 size = WindowSystem::Instance().GetWindowSize();
    return {size.x, size.y};
}

Screen::Size MonitorQuery()
{
    GLFWmonitor* primary = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = primary ? glfwGetVideoMode(primary) : nullptr;
    return mode ? Screen::Size{mode->width, mode->height} : Screen::kVirtualSize;
}

void AppendBytes(void* context, void* data, int size)
{
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<std::size_t>(size));
}
} // namespace

WindowSystem& WindowSystem::Instance()
{
    static WindowSystem system;
    return system;
}

void WindowSystem::Configure(WindowOptions options)
{
    _options = std::move(options);
}

bool WindowSystem::Init()
{
    _frame = 0;
    _swapWaits = false;
    if (_options.headless)
        return true;

    glfwSetErrorCallback(&OnGlfwError);
    if (!glfwInit())
        return false;
    _glfwStarted = true;

    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, _options.hidden ? GLFW_FALSE : GLFW_TRUE);
    _monitor = nullptr;
    _window = glfwCreateWindow(kBaseWidth, kBaseHeight, "Gloamer", _monitor, nullptr);
    if (!_window)
    {
        Destroy();
        return false;
    }

    glfwMakeContextCurrent(_window);
    glfwSwapInterval(1);
    if (gladLoadGL(reinterpret_cast<GLADloadfunc>(glfwGetProcAddress)) == 0)
    {
        Trace::Error("cannot load the OpenGL entry points");
        Destroy();
        return false;
    }
    // The driver is loaded by now.
    LoadedModules::KeepUntilExit();
    Engine::SetClock(&glfwGetTime);
    Trace::Stream() << "OpenGL " << glGetString(GL_VERSION) << " on " << glGetString(GL_RENDERER) << Trace::endm;

    glfwSetWindowFocusCallback(_window, &WindowSystem::OnFocus);

    Screen::SetQueries(&WindowQuery, &MonitorQuery);
    glDisable(GL_CULL_FACE);
    // Listeners install their input callbacks and GL state here.
    SetContextLive(true);

    if (!_options.windowed)
        GoFullscreen();

    OnFramebufferSize(_window, kBaseWidth, kBaseHeight);
    glfwSetFramebufferSizeCallback(_window, &WindowSystem::OnFramebufferSize);
    _swapWaits = ProbeSwapWaits();
    return true;
}

bool WindowSystem::ProbeSwapWaits() const
{
    // Swaps that wait for the display take about one refresh each; the first may
    // return at once with nothing queued yet.
    constexpr int kTimed = 3;
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glfwSwapBuffers(_window);
    const double start = glfwGetTime();
    for (int i = 0; i < kTimed; ++i)
    {
        glClear(GL_COLOR_BUFFER_BIT);
        glfwSwapBuffers(_window);
    }
    const double each = (glfwGetTime() - start) / kTimed;
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    const int hz = mode && mode->refreshRate > 0 ? mode->refreshRate : 60;
    return each >= 0.75 / hz;
}

void WindowSystem::Update(float)
{
    // The image of the previous frame is still in the back buffer until the swap.
    if (_frame > 0)
        TakeScreenshotOf(_frame - 1);
    const long long frame = _frame++;

    if (_window)
        glfwPollEvents();
    for (const auto& listener : _listeners.afterPoll)
        listener(frame);
    if (_window)
    {
        glfwSwapBuffers(_window);
        if (glfwWindowShouldClose(_window))
            Engine::Quit();
    }
}

void WindowSystem::Render()
{
    if (!_contextLive)
        return;
    // Levels change the colour while they load; apply whatever the last one set.
    const glm::vec4 clear = _listeners.clearColour ? _listeners.clearColour() : glm::vec4(0.0f, 0.0f, 0.0f, 1.0f);
    glClearColor(clear.r, clear.g, clear.b, clear.a);
    glClear(GL_COLOR_BUFFER_BIT);
}

void WindowSystem::Exit()
{
    if (_frame > 0)
        TakeScreenshotOf(_frame - 1);
    for (const auto& [frame, path] : _options.screenshots)
        Trace::Error(path + ": no screenshot, frame " + std::to_string(frame) + " was never drawn");
    _options.screenshots.clear();

    for (const auto& listener : _listeners.closing)
        listener();
    Destroy();
}

void WindowSystem::Destroy()
{
    if (_window)
    {
        SetContextLive(false);
        glfwDestroyWindow(_window);
        _window = nullptr;
    }
    _monitor = nullptr;
    _swapWaits = false;
    Screen::SetQueries(nullptr, nullptr);
    if (_glfwStarted)
    {
        glfwTerminate();
        _glfwStarted = false;
        Engine::SetClock(nullptr);
    }
}

void WindowSystem::SetContextLive(bool live)
{
    if (_contextLive == live)
        return;
    _contextLive = live;
    for (const auto& listener : _listeners.contextChanged)
        listener(live);
}

void WindowSystem::Reset()
{
    _listeners = {};
    _options = {};
}

std::string WindowSystem::VsyncFileText(int vsync)
{
    return nlohmann::json{{"vsync", vsync}}.dump(2) + "\n";
}

void WindowSystem::SetWindowMode(int mode)
{
    if (!_window)
        return;
    if (mode == 1)
        GoFullscreen();
    else if (mode != 2)
        GoWindowed();
    glfwSwapInterval(1);
}

void WindowSystem::ToggleFullscreen()
{
    if (!_window)
        return;
    if (_monitor == nullptr)
        GoFullscreen();
    else
        GoWindowed();
    glfwSwapInterval(1);
}

void WindowSystem::GoFullscreen()
{
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (!mode)
        return;
    _monitor = monitor;
    glfwSetWindowMonitor(_window, _monitor, 0, 0, mode->width, mode->height, GLFW_DONT_CARE);
    glfwSwapInterval(1);
}

void WindowSystem::GoWindowed()
{
    GLFWmonitor* primary = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = primary ? glfwGetVideoMode(primary) : nullptr;
    if (!mode)
        return;
    _monitor = nullptr;
    const float width = static_cast<float>(mode->width);
    const float height = static_cast<float>(mode->height);
    const int w = static_cast<int>(width - width * 0.01f);
    const int h = static_cast<int>(height - height * 0.01f);
    glfwSetWindowMonitor(_window, nullptr, 30, 30, w, h, mode->refreshRate);
}

glm::ivec2 WindowSystem::GetWindowSize() const
{
    if (_options.headless)
        return {kBaseWidth, kBaseHeight};
    if (!_window)
        return {0, 0};
    glm::ivec2 size(0);
    glfwGetWindowSize(_window, &size.x, &size.y);
    return size;
}

glm::vec2 WindowSystem::ScreenToCentred(const glm::vec2& point) const
{
    const glm::vec2 size(GetWindowSize());
    return {point.x - size.x / 2.0f, size.y / 2.0f - point.y};
}

void WindowSystem::OnFocus(GLFWwindow*, int focused)
{
    SetFocused(focused != GLFW_FALSE);
}

void WindowSystem::SetFocused(bool focused)
{
    for (const auto& listener : Instance()._listeners.focusChanged)
        listener(focused);
}

void WindowSystem::OnFramebufferSize(GLFWwindow*, int width, int height)
{
    WindowSystem& window = Instance();
    if (window._contextLive && width > 0 && height > 0)
        glViewport(0, 0, width, height);
    for (const auto& listener : window._listeners.framebufferResized)
        listener(width, height);
}

void WindowSystem::TakeScreenshotOf(long long frame)
{
    auto it = _options.screenshots.find(frame);
    if (it == _options.screenshots.end())
        return;
    if (SaveScreenshot(it->second))
        Trace::Message("Screenshot of frame " + std::to_string(frame) + ": " + it->second);
    else
        Trace::Error(it->second + ": cannot write the screenshot of frame " + std::to_string(frame));
    _options.screenshots.erase(it);
}

bool WindowSystem::SaveScreenshot(const std::string& path) const
{
    if (!_window || !_contextLive)
        return false;
    int width = 0;
    int height = 0;
    glfwGetFramebufferSize(_window, &width, &height);
    if (width <= 0 || height <= 0)
        return false;

    const auto rowBytes = static_cast<std::size_t>(width) * 4;
    std::vector<unsigned char> pixels(rowBytes * static_cast<std::size_t>(height));
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());

    // GL rows run bottom-up; PNG rows top-down. The window is opaque whatever alpha
    // blending left behind.
    std::vector<unsigned char> image(pixels.size());
    for (int y = 0; y < height; ++y)
        std::memcpy(&image[static_cast<std::size_t>(y) * rowBytes],
                    &pixels[static_cast<std::size_t>(height - 1 - y) * rowBytes], rowBytes);
    for (std::size_t i = 3; i < image.size(); i += 4)
        image[i] = 255;

    std::string png;
    if (!stbi_write_png_to_func(&AppendBytes, &png, width, height, 4, image.data(), static_cast<int>(rowBytes)))
        return false;
    return WriteFileAtomic(path, png);
}
