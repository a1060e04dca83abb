#include "ui/OptionSystem.h"

#include "audio/SoundSystem.h"
#include "core/AtomicFile.h"
#include "core/MessageSystem.h"
#include "core/Trace.h"
#include "core/WindowSystem.h"
#include "data/JsonError.h"
#include "data/Stream.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace
{
GraphicsOptions s_graphics;
GameplayOptions s_gameplay;
DebugOptions s_debug;
OptionSystem::WindowModeFn s_setWindowMode = nullptr;
// The file was there but not a JSON object: it is kept as "<file>.bad" before the rewrite.
bool s_keepBad = false;

const FieldDescriptor<GraphicsOptions>& GraphicsDescriptor()
{
    static const FieldDescriptor<GraphicsOptions> descriptor("Graphics", {
                                                                             GLOAMER_FIELD(GraphicsOptions, resolution),
                                                                             GLOAMER_FIELD(GraphicsOptions, windowMode),
                                                                             GLOAMER_FIELD(GraphicsOptions, vSync),
                                                                         });
    return descriptor;
}

const FieldDescriptor<GameplayOptions>& GameplayDescriptor()
{
    static const FieldDescriptor<GameplayOptions> descriptor("Gameplay",
                                                             {
                                                                 GLOAMER_FIELD(GameplayOptions, disableTooltips),
                                                                 GLOAMER_FIELD(GameplayOptions, disableFlashing),
                                                             });
    return descriptor;
}

const FieldDescriptor<DebugOptions>& DebugDescriptor()
{
    static const FieldDescriptor<DebugOptions> descriptor("Debug", {
                                                                       GLOAMER_FIELD(DebugOptions, freeCam),
                                                                       GLOAMER_FIELD(DebugOptions, disableLights),
                                                                       GLOAMER_FIELD(DebugOptions, godMode),
                                                                       GLOAMER_FIELD(DebugOptions, infiniteTraps),
                                                                   });
    return descriptor;
}

// One section of the file. A value of the wrong type costs only that key.
template <typename T>
void ReadSection(const json& file, const FieldDescriptor<T>& descriptor, T& values, const std::string& path)
{
    auto section = file.find(descriptor.ClassName());
    if (section == file.end())
        return;
    if (!section->is_object())
    {
        ReportDataError(path, "/" + descriptor.ClassName(), "a section must be a JSON object; its values are kept");
        return;
    }
    for (const auto& field : descriptor.Fields())
    {
        auto it = section->find(field._key);
        if (it == section->end())
            continue;
        try
        {
            std::visit([&](auto member) { FieldIo::ReadValue(values.*member, *it); }, field._member);
        }
        catch (const json::exception& e)
        {
            ReportJsonError(path, e);
        }
    }
}

void ApplyWindowMode(int mode)
{
    if (s_setWindowMode)
        s_setWindowMode(mode);
    else
        WindowSystem::Instance().SetWindowMode(mode);
}

// Strings built once: messages are looked up by std::string, and most of these names
// are too long to be stored inline, so literals would allocate every frame.
struct VolumeSetting
{
    std::string up;
    std::string down;
    std::string traceName;
    float SoundVolumes::*value;
};

const VolumeSetting kVolumeSettings[] = {
    {"Master Volume Up", "Master Volume Down", "Master Volume ", &SoundVolumes::masterVol},
    {"Music Volume Up", "Music Volume Down", "Music Volume ", &SoundVolumes::musicVol},
    {"Effects Volume Up", "Effects Volume Down", "Effects Volume ", &SoundVolumes::sfxVol},
};

template <typename T> void WriteSection(json& file, const FieldDescriptor<T>& descriptor, const T& values)
{
    json section = json::object();
    descriptor.Write(values, section);
    file[descriptor.ClassName()] = std::move(section);
}
} // namespace

OptionSystem& OptionSystem::Instance()
{
    static OptionSystem instance;
    return instance;
}

std::string OptionSystem::FilePath()
{
    return Stream::GetPath("options", DataFile);
}

GraphicsOptions& OptionSystem::Graphics()
{
    return s_graphics;
}

GameplayOptions& OptionSystem::Gameplay()
{
    return s_gameplay;
}

DebugOptions& OptionSystem::Debug()
{
    return s_debug;
}

void OptionSystem::SetWindowModeFunction(WindowModeFn fn)
{
    s_setWindowMode = fn;
}

void OptionSystem::Reset()
{
    s_graphics = {};
    s_gameplay = {};
    s_debug = {};
    s_keepBad = false;
    SoundSystem::Instance().Volumes() = {};
}

bool OptionSystem::Init()
{
    Stream stream("options", DataFile);
    if (!stream.IsOpen())
        return true;
    const json& file = stream.GetJson();
    if (!file.is_object())
    {
        s_keepBad = true;
        if (stream.HasJson())
            ReportDataError(stream.Path(), "", "the options must be a JSON object; defaults are used");
        return true;
    }
    ReadSection(file, SoundSystem::VolumesDescriptor(), SoundSystem::Instance().Volumes(), stream.Path());
    ReadSection(file, GraphicsDescriptor(), s_graphics, stream.Path());
    ReadSection(file, GameplayDescriptor(), s_gameplay, stream.Path());
    ReadSection(file, DebugDescriptor(), s_debug, stream.Path());
    SoundSystem::Instance().RefreshVolumes();
    // The game comes back the way the player left it, unless this run was started
    // with --windowed.
    if (!WindowSystem::Instance().IsWindowedByFlag())
        ApplyWindowMode(s_graphics.windowMode);
    return true;
}

void OptionSystem::Update(float /*dt*/)
{
    MessageSystem& messages = MessageSystem::Instance();
    if (messages.Get("Toggle Audio", true))
        ToggleAudio();
    if (messages.Get("Toggle Window", true))
        ToggleWindow();

    SoundVolumes& volumes = SoundSystem::Instance().Volumes();
    for (const VolumeSetting& setting : kVolumeSettings)
    {
        float& value = volumes.*setting.value;
        const float before = value;
        if (messages.Get(setting.up, true))
            value = StepVolume(value, 1);
        if (messages.Get(setting.down, true))
            value = StepVolume(value, -1);
        if (value != before)
        {
            SoundSystem::Instance().RefreshVolumes();
            Trace::Message(setting.traceName + std::to_string(static_cast<int>(std::lround(value * 100.0f))) + "%");
        }
    }
}

float OptionSystem::StepVolume(float volume, int steps)
{
    // Whole tenths, so repeated steps never drift away from the values shown.
    const long tenths = std::lround(volume * 10.0f) + steps;
    return static_cast<float>(std::clamp(tenths, 0L, 10L)) / 10.0f;
}

void OptionSystem::ToggleAudio()
{
    SoundSystem& sound = SoundSystem::Instance();
    sound.SetEnabled(!sound.IsEnabled());
    Trace::Message("Audio Toggled");
}

void OptionSystem::ToggleWindow()
{
    s_graphics.windowMode = s_graphics.windowMode == 0 ? 1 : 0;
    ApplyWindowMode(s_graphics.windowMode);
    Trace::Message("Fullscreen Toggled");
}

json OptionSystem::ToJson()
{
    json file = json::object();
    WriteSection(file, SoundSystem::VolumesDescriptor(), SoundSystem::Instance().Volumes());
    WriteSection(file, GraphicsDescriptor(), s_graphics);
    WriteSection(file, GameplayDescriptor(), s_gameplay);
    WriteSection(file, DebugDescriptor(), s_debug);
    return file;
}

void OptionSystem::Exit()
{
    const std::string path = FilePath();
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    if (s_keepBad)
    {
        if (!KeepBadCopy(path))
        {
            Trace::Error(path + ": could not keep a copy of the unreadable file; it is not rewritten");
            return;
        }
        s_keepBad = false;
    }
    if (!WriteFileAtomic(path, ToJson().dump(4) + "\n"))
        Trace::Error(path + ": could not write the options back");
}
