#include "ui/BehaviorOptionText.h"

#include "audio/SoundSystem.h"
#include "data/DataFileScope.h"
#include "data/Entity.h"
#include "data/JsonError.h"
#include "data/TypeRegistry.h"
#include "render/Sprite.h"
#include "ui/OptionSystem.h"

#include <algorithm>
#include <cmath>

GLOAMER_REGISTER_COMPONENT(BehaviorOptionText, ctype::Behavior)

const FieldDescriptor<BehaviorOptionText>& BehaviorOptionText::Descriptor()
{
    static const FieldDescriptor<BehaviorOptionText> descriptor("BehaviorOptionText",
                                                                {GLOAMER_FIELD(BehaviorOptionText, _option)});
    return descriptor;
}

void BehaviorOptionText::Read(const json& j)
{
    Behavior::Read(j);
    Descriptor().Read(*this, j);
    if (j.contains("option") && TextFor(_option).empty())
        ReportDataError(DataFileScope::Current(), JsonPathOf(j.at("option")),
                        "unknown option \"" + _option + "\" (one of mastervol, musicvol, sfxvol, windowmode)");
}

void BehaviorOptionText::Write(json& j) const
{
    Behavior::Write(j);
    Descriptor().Write(*this, j);
}

std::string BehaviorOptionText::VolumeText(float volume)
{
    const long tenths = std::clamp(std::lround(volume * 10.0f), 0L, 10L);
    std::string text(static_cast<std::size_t>(tenths), '=');
    text.append(static_cast<std::size_t>(10 - tenths), '-');
    return text + " " + std::to_string(std::lround(std::clamp(volume, 0.0f, 1.0f) * 100.0f)) + "%";
}

std::string BehaviorOptionText::TextFor(const std::string& option)
{
    const SoundVolumes& volumes = SoundSystem::Instance().Volumes();
    if (option == "mastervol")
        return VolumeText(volumes.masterVol);
    if (option == "musicvol")
        return VolumeText(volumes.musicVol);
    if (option == "sfxvol")
        return VolumeText(volumes.sfxVol);
    if (option == "windowmode")
        return OptionSystem::Graphics().windowMode == 0 ? "WINDOWED" : "FULLSCREEN";
    return {};
}

void BehaviorOptionText::Update(float dt)
{
    Behavior::Update(dt);
    Sprite* sprite = GetOwner() ? GetOwner()->Get<Sprite>(ctype::Sprite) : nullptr;
    if (!sprite)
        return;
    std::string text = TextFor(_option);
    if (!text.empty() && text != sprite->GetText())
        sprite->SetText(std::move(text));
}
