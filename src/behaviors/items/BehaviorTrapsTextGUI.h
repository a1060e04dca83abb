#pragma once

#include "behaviors/Behavior.h"

#include <array>
#include <string>

// The captions of the trap display: a count and one caption per slot. The display
// reads them; the component itself does nothing each update beyond the base.
class BehaviorTrapsTextGUI : public ComponentBase<BehaviorTrapsTextGUI, Behavior>
{
public:
    static constexpr int kCaptions = 5;

    // "value" and "captions" (up to five strings), each optional.
    void Read(const json& j) override;
    void Write(json& j) const override;
    std::string_view GetName() const override { return "behaviortrapstextgui"; }

    unsigned _value = 0;
    std::array<std::string, kCaptions> _captions{"Empty", "Empty", "Empty", "Empty", "Empty"};
};
