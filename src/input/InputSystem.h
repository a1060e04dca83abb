#pragma once

#include "core/System.h"
#include "input/InputScript.h"
#include "render/SceneCamera.h"

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <nlohmann/json_fwd.hpp>

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

struct GLFWwindow;

// Keyboard and mouse state per frame, asked for by binding name ("interact",
// "Pause", ...). Keys (GLFW codes 32..348) and mouse buttons (0..7) share one table.
class InputSystem : public System
{
public:
    static constexpr int kKeyCount = 349;
    static constexpr int kPress = 1;
    static constexpr int kRelease = 0;

    InputSystem() : System("InputSystem") {}

    static InputSystem& Instance();

    // Loads Data/Data/dat_input.json, Data/Data/dat_keynames.json and the input script
    // if one is set. A value of the wrong type costs only that binding, name or step
    // (reported); always true.
    bool Init() override;
    // The current state becomes the previous one; the scroll offset returns to 0.
    void Update(float dt) override;

    bool IsTriggered(std::string_view name) const;
    bool IsDown(std::string_view name) const;
    bool IsReleased(std::string_view name) const;
    // Whether any keyboard key (not a mouse button) is held.
    bool AnyKeyDown() const;
    // Whether any key or mouse button is held.
    bool AnyDown() const;
    // One code's state now and at the end of the previous frame; false out of range.
    bool IsCodeDown(int code) const;
    bool WasCodeDown(int code) const;

    glm::vec2 GetMousePosition() const { return _cursor; }
    // The cursor in world units, through the current scene camera (identity while
    // drawing in screen space or without a camera).
    glm::vec2 GetMouseWorldPosition() const;
    double GetScroll() const { return _scroll; }
    int GetLastKey() const { return _lastKey; }
    int GetHeldCount() const { return _heldCount; }

    const std::map<std::string, std::vector<int>, std::less<>>& Bindings() const { return _bindings; }
    const std::map<int, std::string>& KeyNames() const { return _keyNames; }
    std::size_t LongestKeyName() const { return _longestKeyName; }

    // The state routine shared by keys and mouse buttons.
    void HandleButton(int code, int action);
    void SetCursor(float x, float y) { _cursor = {x, y}; }
    void SetScroll(double offset) { _scroll = offset; }

    void LoadBindings(const nlohmann::json& j, std::string_view file);
    void LoadKeyNames(const nlohmann::json& j, std::string_view file);

    // Scripted input (--input FILE), loaded by Init; empty for none.
    void SetScriptFile(std::string path) { _scriptFile = std::move(path); }
    bool IsScripted() const { return !_scriptFile.empty(); }
    // Feeds the script's steps for `frame` through the event callbacks.
    void PlayScript(long long frame) const { _script.Play(frame); }

    // Back to the start-up state (tests).
    void Reset();

    // A window point (pixels, y down) in world units: centred, scaled by the screen
    // camera's pixel scale, then through the inverse of the view matrix.
    static glm::vec2 ScreenToWorld(const glm::vec2& cursor, const glm::ivec2& windowSize, float pixelScale,
                                   const glm::mat4& view);

    // What the free camera reads: the cursor from the window centre, the drag button
    // and this frame's scroll.
    static PointerState Pointer();

    // Routes the window's key, button, cursor and scroll events here.
    static void AttachTo(GLFWwindow* window);
    static void OnKey(GLFWwindow* window, int key, int scancode, int action, int mods);
    static void OnMouseButton(GLFWwindow* window, int button, int action, int mods);
    static void OnCursorPosition(GLFWwindow* window, double x, double y);
    static void OnScroll(GLFWwindow* window, double xoffset, double yoffset);

private:
    template <typename Test> bool AnyCode(std::string_view name, Test test) const;

    std::array<bool, kKeyCount> _current{};
    std::array<bool, kKeyCount> _previous{};
    std::map<std::string, std::vector<int>, std::less<>> _bindings;
    std::map<int, std::string> _keyNames;
    std::size_t _longestKeyName = 0;
    glm::vec2 _cursor{0.0f};
    double _scroll = 0.0;
    int _lastKey = -1;
    int _heldCount = 0;
    std::string _scriptFile;
    InputScript _script;
};
