#pragma once

#include "behaviors/Behavior.h"

#include <string>

// Shows the current value of one player option as its sprite's text, so the options
// page always tells what its buttons changed.
class BehaviorOptionText : public ComponentBase<BehaviorOptionText, Behavior>
{
public:
    // "mastervol", "musicvol", "sfxvol" or "windowmode"; anything else is reported.
    void Read(const json& j) override;
    void Write(json& j) const override;
    void Update(float dt) override;
    std::string_view GetName() const override { return "behavioroptiontext"; }
    std::uint32_t GetFlags() const override { return 1u << ctype::Sprite; }

    // A volume as ten marks and a percentage: "=======--- 70%".
    static std::string VolumeText(float volume);
    // The text for an option name, or "" for an unknown one.
    static std::string TextFor(const std::string& option);

    static const FieldDescriptor<BehaviorOptionText>& Descriptor();

private:
    std::string _option;
};
