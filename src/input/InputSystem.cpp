#include "input/InputSystem.h"

#include "core/Screen.h"
#include "data/JsonError.h"
#include "data/Stream.h"
#include "render/RenderState.h"
#include "render/ScreenCamera.h"

#include <GLFW/glfw3.h>
#include <glm/mat4x4.hpp>
#include <glm/vec4.hpp>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace
{
constexpr int kFirstKey = 32;

// Whether j is an array whose every element is an integer.
bool IsIntegerArray(const json& j)
{
    return j.is_array() && std::all_of(j.begin(), j.end(), [](const json& v) { return v.is_number_integer(); });
}

const json* ObjectMember(const json& j, const char* key, std::string_view file)
{
    if (!j.is_object())
        return nullptr;
    auto it = j.find(key);
    if (it == j.end() || !it->is_object())
    {
        ReportDataError(file, "/" + std::string(key), "must be an object of bindings; nothing loaded");
        return nullptr;
    }
    return &*it;
}
} // namespace

InputSystem& InputSystem::Instance()
{
    static InputSystem system;
    return system;
}

bool InputSystem::Init()
{
    SceneCamera::SetPointerSource(&InputSystem::Pointer);
    {
        Stream stream("input", DataFile);
        if (stream.IsOpen())
            LoadBindings(stream.GetJson(), stream.Path());
    }
    _keyNames.clear();
    _longestKeyName = 0;
    Stream stream("keynames", DataFile);
    if (stream.IsOpen())
        LoadKeyNames(stream.GetJson(), stream.Path());
    _script = InputScript();
    if (!_scriptFile.empty())
        _script.Load(_scriptFile);
    return true;
}

void InputSystem::LoadBindings(const json& j, std::string_view file)
{
    const json* keys = ObjectMember(j, "keys", file);
    if (!keys)
        return;
    for (auto it = keys->begin(); it != keys->end(); ++it)
    {
        if (!IsIntegerArray(it.value()))
        {
            ReportDataError(file, JsonPathOf(it.value()), "a binding must be an array of integer codes; skipped");
            continue;
        }
        _bindings.try_emplace(it.key(), it.value().get<std::vector<int>>());
    }
}

void InputSystem::LoadKeyNames(const json& j, std::string_view file)
{
    const json* names = ObjectMember(j, "names", file);
    if (!names)
        return;
    for (auto it = names->begin(); it != names->end(); ++it)
    {
        const json& code = it.value();
        if (!code.is_number_integer() || code.get<std::int64_t>() < std::numeric_limits<int>::min() ||
            code.get<std::int64_t>() > std::numeric_limits<int>::max())
        {
            ReportDataError(file, JsonPathOf(code), "a key name must map to an integer code; skipped");
            continue;
        }
        _keyNames.try_emplace(code.get<int>(), it.key());
        _longestKeyName = std::max(_longestKeyName, it.key().size());
    }
}

void InputSystem::Update(float)
{
    _previous = _current;
    _scroll = 0.0;
}

void InputSystem::Reset()
{
    _current.fill(false);
    _previous.fill(false);
    _bindings.clear();
    _keyNames.clear();
    _longestKeyName = 0;
    _cursor = glm::vec2(0.0f);
    _scroll = 0.0;
    _lastKey = -1;
    _heldCount = 0;
    _scriptFile.clear();
    _script = InputScript();
}

template <typename Test> bool InputSystem::AnyCode(std::string_view name, Test test) const
{
    auto it = _bindings.find(name);
    if (it == _bindings.end())
        return false;
    for (int code : it->second)
        if (code >= 0 && code < kKeyCount && test(static_cast<std::size_t>(code)))
            return true;
    return false;
}

bool InputSystem::IsTriggered(std::string_view name) const
{
    return AnyCode(name, [this](std::size_t c) { return !_previous[c] && _current[c]; });
}

bool InputSystem::IsDown(std::string_view name) const
{
    return AnyCode(name, [this](std::size_t c) { return _current[c]; });
}

bool InputSystem::IsReleased(std::string_view name) const
{
    return AnyCode(name, [this](std::size_t c) { return _previous[c] && !_current[c]; });
}

bool InputSystem::AnyKeyDown() const
{
    return std::any_of(_current.begin() + kFirstKey, _current.end(), [](bool down) { return down; });
}

bool InputSystem::AnyDown() const
{
    return std::any_of(_current.begin(), _current.end(), [](bool down) { return down; });
}

bool InputSystem::IsCodeDown(int code) const
{
    return code >= 0 && code < kKeyCount && _current[static_cast<std::size_t>(code)];
}

bool InputSystem::WasCodeDown(int code) const
{
    return code >= 0 && code < kKeyCount && _previous[static_cast<std::size_t>(code)];
}

void InputSystem::HandleButton(int code, int action)
{
    if (static_cast<unsigned>(code) >= static_cast<unsigned>(kKeyCount))
        return;
    const auto index = static_cast<std::size_t>(code);
    if (action == kPress)
    {
        ++_heldCount;
        _current[index] = true;
        _lastKey = code;
    }
    else if (action == kRelease)
    {
        // A key held before the window gained focus is released without a press.
        _heldCount = std::max(_heldCount - 1, 0);
        _current[index] = false;
    }
}

glm::vec2 InputSystem::ScreenToWorld(const glm::vec2& cursor, const glm::ivec2& windowSize, float pixelScale,
                                     const glm::mat4& view)
{
    const float sx = (cursor.x - static_cast<float>(windowSize.x) * 0.5f) * pixelScale;
    const float sy = (static_cast<float>(windowSize.y) * 0.5f - cursor.y) * pixelScale;
    const glm::vec4 world = glm::inverse(view) * glm::vec4(sx, sy, 0.0f, 1.0f);
    return {world.x, world.y};
}

void InputSystem::AttachTo(GLFWwindow* window)
{
    glfwSetKeyCallback(window, &InputSystem::OnKey);
    glfwSetCursorPosCallback(window, &InputSystem::OnCursorPosition);
    glfwSetMouseButtonCallback(window, &InputSystem::OnMouseButton);
    glfwSetScrollCallback(window, &InputSystem::OnScroll);
}

void InputSystem::OnKey(GLFWwindow*, int key, int, int action, int)
{
    Instance().HandleButton(key, action);
}

void InputSystem::OnMouseButton(GLFWwindow*, int button, int action, int)
{
    Instance().HandleButton(button, action);
}

void InputSystem::OnCursorPosition(GLFWwindow*, double x, double y)
{
    Instance().SetCursor(static_cast<float>(x), static_cast<float>(y));
}

void InputSystem::OnScroll(GLFWwindow*, double, double yoffset)
{
    Instance().SetScroll(yoffset);
}

glm::vec2 InputSystem::GetMouseWorldPosition() const
{
    const Screen::Size window = Screen::GetWindowSize();
    glm::mat4 view(1.0f);
    if (!RenderState::IsScreenSpace())
        if (const SceneCamera* camera = RenderState::GetCamera())
            view = camera->GetMatrix();
    return ScreenToWorld(_cursor, {window.width, window.height}, ScreenCamera::Instance().GetPixelScale(), view);
}

PointerState InputSystem::Pointer()
{
    const InputSystem& input = Instance();
    PointerState pointer;
    const Screen::Size window = Screen::GetWindowSize();
    pointer._cursor = {input._cursor.x - static_cast<float>(window.width) / 2.0f,
                       static_cast<float>(window.height) / 2.0f - input._cursor.y};
    pointer._dragHeld = input.IsDown("middle click");
    pointer._scroll = static_cast<float>(input._scroll);
    return pointer;
}
