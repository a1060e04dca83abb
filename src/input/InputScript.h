#pragma once

#include <glm/vec2.hpp>
#include <nlohmann/json_fwd.hpp>

#include <map>
#include <string>
#include <string_view>
#include <vector>

// Scripted input for the test harness (--input FILE), fed to the input system through
// the same callbacks as real events. The file is a JSON array of steps:
//   [{"frame": 10, "cursor": {"x": 960, "y": 540}, "press": [87, 0], "release": [65], "scroll": -1}]
// Every key but "frame" is optional. Codes below 32 are mouse buttons, the rest keys.
// Within a frame the cursor moves first, then presses, releases and the scroll.
class InputScript
{
public:
    struct Step
    {
        bool moveCursor = false;
        glm::vec2 cursor{0.0f};
        std::vector<int> press;
        std::vector<int> release;
        bool scroll = false;
        double scrollOffset = 0.0;
    };

    // False when the file cannot be opened or is not a JSON array (reported). A bad
    // step is reported with its JSON path and skipped.
    bool Load(const std::string& path);
    void Read(const nlohmann::json& j, std::string_view file);

    // Feeds the steps of `frame` to the input system's callbacks.
    void Play(long long frame) const;

    const std::multimap<long long, Step>& Steps() const { return _steps; }
    bool Empty() const { return _steps.empty(); }

private:
    std::multimap<long long, Step> _steps;
};
