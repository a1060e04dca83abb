#pragma once

#include <glm/vec2.hpp>
#include <nlohmann/json_fwd.hpp>

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

// Positions gathered for level tuning, in sample order.
struct HeatmapSamples
{
    std::vector<glm::vec2> _positions; // the player, once per sample interval
    std::vector<glm::vec2> _deaths;    // where the player died
    std::vector<glm::vec2> _monster;   // the monster, once per sample interval

    void Clear();
    bool Empty() const { return _positions.empty() && _deaths.empty() && _monster.empty(); }
};

// {"Positions": [...], "Deaths": [...], "Monster": [...]} of {"x", "y"} points, plus
// "Level" naming the level they were gathered in (left out when empty), so the
// heatmap tool knows what to draw them over.
nlohmann::json HeatmapToJson(const HeatmapSamples& samples, const std::string& level);

// The reverse. A missing list stays empty; a list or point of the wrong type throws
// the JSON library's error.
HeatmapSamples HeatmapFromJson(const nlohmann::json& j);

// Local date and time as "YYYY-MM-DD_HH-MM-SS".
std::string HeatmapTimeStamp(std::time_t time);

// "Heatmap_<stamp>.json" in folder, or "Heatmap_<stamp>_2.json", "_3", ... when a
// file of that name is already there: the stamp has one-second steps and two heatmaps
// written within one second must both be kept.
std::filesystem::path FreeHeatmapPath(const std::filesystem::path& folder, const std::string& stamp);
