#include "debug/CheatSystem.h"

#include "core/MainLoop.h"
#include "core/Trace.h"
#include "data/JsonError.h"
#include "data/Stream.h"
#include "input/InputSystem.h"
#include "render/RenderState.h"
#include "render/SceneCamera.h"
#include "ui/OptionSystem.h"

#include <optional>

namespace
{
// Reports what is wrong with one cheat and gives nothing; JSON type errors propagate.
std::optional<CheatCode> ReadCheat(const json& j, std::string_view file)
{
    if (!j.is_object())
    {
        ReportDataError(file, JsonPathOf(j), "a cheat must be a JSON object; skipped");
        return std::nullopt;
    }
    CheatCode code;
    if (auto it = j.find("delaytime"); it != j.end())
    {
        code._delayTime = it->get<float>();
        if (code._delayTime < 0.0f)
        {
            ReportDataError(file, JsonPathOf(*it), "the delay time must not be negative; the cheat is skipped");
            return std::nullopt;
        }
    }
    if (auto it = j.find("disabled"); it != j.end())
        code._disabled = it->get<bool>();
    if (auto it = j.find("Keys"); it != j.end())
    {
        if (!it->is_array())
        {
            ReportDataError(file, JsonPathOf(*it), "\"Keys\" must be an array of steps; the cheat is skipped");
            return std::nullopt;
        }
        for (const json& step : *it)
        {
            if (!step.is_object())
            {
                ReportDataError(file, JsonPathOf(step), "a step must be a JSON object; the cheat is skipped");
                return std::nullopt;
            }
            CheatKey key;
            if (auto k = step.find("key"); k != step.end())
            {
                if (!k->is_number_integer())
                {
                    ReportDataError(file, JsonPathOf(*k), "a key must be an integer key code; the cheat is skipped");
                    return std::nullopt;
                }
                key._key = k->get<int>();
                if (key._key < 0 || key._key >= InputSystem::kKeyCount)
                {
                    ReportDataError(file, JsonPathOf(*k),
                                    "key code " + std::to_string(key._key) +
                                        " is not a key or mouse button; the cheat is skipped");
                    return std::nullopt;
                }
            }
            if (auto r = step.find("release"); r != step.end())
                key._release = r->get<bool>();
            code._keys.push_back(key);
        }
    }
    return code;
}
} // namespace

CheatSystem& CheatSystem::Instance()
{
    static CheatSystem instance;
    return instance;
}

bool CheatSystem::Init()
{
    Stream stream("cheat_codes", DataFile);
    if (stream.IsOpen())
        Load(stream.GetJson(), stream.Path());
    return true;
}

void CheatSystem::Load(const json& j, std::string_view file)
{
    if (j.is_null())
        return; // unparsable: the stream has said so
    if (!j.is_object())
    {
        ReportDataError(file, "", "the cheat file must be a JSON object; no cheats");
        return;
    }
    for (auto it = j.begin(); it != j.end(); ++it)
    {
        try
        {
            if (std::optional<CheatCode> code = ReadCheat(it.value(), file))
                _codes.insert_or_assign(it.key(), std::move(*code));
        }
        catch (const json::exception& e)
        {
            ReportJsonError(file, e);
        }
    }
}

void CheatSystem::Match(CheatCode& code, float dt, const InputSystem& input)
{
    if (code._disabled)
        return;
    const std::size_t count = code._keys.size();
    const auto keyOf = [&](std::size_t step) { return step < count ? code._keys[step]._key : -1; };

    code._timer -= dt;
    if (code._timer <= 0.0f)
    {
        code._triggered = false;
        code._progress = 0;
    }
    else if (code._progress > 0 && input.GetLastKey() != keyOf(code._progress) &&
             input.GetLastKey() != keyOf(code._progress - 1))
    {
        code._triggered = false;
        code._progress = 0;
    }

    // Keys held together complete several steps in one frame.
    for (std::size_t i = code._progress; i < count; ++i)
    {
        const CheatKey& step = code._keys[i];
        const bool down = input.IsCodeDown(step._key);
        const bool wasDown = input.WasCodeDown(step._key);
        if (!down && !wasDown)
            return;
        if (step._release && (!wasDown || down))
            return;
        code._progress = static_cast<unsigned>(i + 1);
        code._timer = code._delayTime;
        const bool last = i + 1 == count;
        if (last && static_cast<long long>(i + 1) >= input.GetHeldCount() && down && !wasDown)
        {
            code._triggered = true;
            code._progress = 0;
            code._timer = 0.0f;
            return;
        }
        if (step._release || last)
            return;
    }
}

void CheatSystem::Update(float dt)
{
    const InputSystem& input = InputSystem::Instance();
    for (auto& [name, code] : _codes)
    {
        Match(code, dt, input);
        if (code._triggered)
            Trace::Message("Cheat: " + name);
    }
    ApplyEffects();
}

bool CheatSystem::IsTriggered(std::string_view name)
{
    auto it = _codes.find(name);
    if (it == _codes.end())
        it = _codes.emplace(std::string(name), CheatCode{}).first;
    return it->second._triggered;
}

bool CheatSystem::Triggered(std::string_view name) const
{
    auto it = _codes.find(name);
    return it != _codes.end() && it->second._triggered;
}

void CheatSystem::ApplyEffects()
{
    if (Triggered("Toggle Lights"))
    {
        const bool off = !RenderState::AreLightsDisabled();
        RenderState::SetLightsDisabled(off);
        OptionSystem::Debug().disableLights = off;
    }
    if (Triggered("Close") || Triggered("Konami"))
        Engine::Quit();
    if (Triggered("Free Cam"))
    {
        FreeCameraSwitch() = !FreeCameraSwitch();
        OptionSystem::Debug().freeCam = FreeCameraSwitch();
    }
    if (Triggered("Disco"))
        Trace::Message("PARTY!!!");
}
