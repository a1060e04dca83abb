#include "input/InputScript.h"

#include "data/FieldDescriptor.h"
#include "data/JsonError.h"
#include "data/Stream.h"
#include "input/InputSystem.h"

namespace
{
constexpr int kFirstKey = 32;

void SendButton(int code, int action)
{
    if (code >= 0 && code < kFirstKey)
        InputSystem::OnMouseButton(nullptr, code, action, 0);
    else
        InputSystem::OnKey(nullptr, code, 0, action, 0);
}
} // namespace

bool InputScript::Load(const std::string& path)
{
    Stream stream(path, RawPath);
    if (!stream.IsOpen())
    {
        ReportDataError(path, "", "cannot open the input script");
        return false;
    }
    const json& j = stream.GetJson();
    if (!stream.HasJson())
        return false;
    if (!j.is_array())
    {
        ReportDataError(path, "", "an input script must be an array of steps");
        return false;
    }
    Read(j, path);
    return true;
}

namespace
{
// Key codes one at a time, so a number no int can hold is reported, not converted.
std::vector<int> ReadCodes(const json& j)
{
    if (!j.is_array())
        throw json::type_error::create(302, std::string("type must be array, but is ") + j.type_name(), &j);
    std::vector<int> codes(j.size());
    for (std::size_t i = 0; i < j.size(); ++i)
        FieldIo::ReadValue(codes[i], j[i]);
    return codes;
}
} // namespace

void InputScript::Read(const json& j, std::string_view file)
{
    for (const json& item : j)
    {
        try
        {
            FieldIo::RequireObject(item);
            Step step;
            int frame = 0;
            FieldIo::ReadValue(frame, item.at("frame"));
            if (auto it = item.find("cursor"); it != item.end())
            {
                FieldIo::ReadValue(step.cursor, *it);
                step.moveCursor = true;
            }
            if (auto it = item.find("press"); it != item.end())
                step.press = ReadCodes(*it);
            if (auto it = item.find("release"); it != item.end())
                step.release = ReadCodes(*it);
            if (auto it = item.find("scroll"); it != item.end())
            {
                step.scrollOffset = it->get<double>();
                step.scroll = true;
            }
            _steps.emplace(frame, std::move(step));
        }
        catch (const json::exception& e)
        {
            ReportJsonError(file, e);
        }
    }
}

void InputScript::Play(long long frame) const
{
    auto [first, last] = _steps.equal_range(frame);
    for (auto it = first; it != last; ++it)
    {
        const Step& step = it->second;
        if (step.moveCursor)
            InputSystem::OnCursorPosition(nullptr, step.cursor.x, step.cursor.y);
        for (int code : step.press)
            SendButton(code, InputSystem::kPress);
        for (int code : step.release)
            SendButton(code, InputSystem::kRelease);
        if (step.scroll)
            InputSystem::OnScroll(nullptr, 0.0, step.scrollOffset);
    }
}
