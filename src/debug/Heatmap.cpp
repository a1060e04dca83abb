#include "debug/Heatmap.h"

#include <nlohmann/json.hpp>

using json = nlohmann::json;

namespace
{
json Points(const std::vector<glm::vec2>& points)
{
    json list = json::array();
    for (const glm::vec2& p : points)
        list.push_back({{"x", p.x}, {"y", p.y}});
    return list;
}

std::vector<glm::vec2> ReadPoints(const json& j, const char* key)
{
    std::vector<glm::vec2> points;
    auto it = j.find(key);
    if (it == j.end())
        return points;
    if (!it->is_array())
        throw json::type_error::create(302, std::string("type must be array, but is ") + it->type_name(), &*it);
    for (const json& p : *it)
        points.emplace_back(p.at("x").get<float>(), p.at("y").get<float>());
    return points;
}
} // namespace

void HeatmapSamples::Clear()
{
    _positions.clear();
    _deaths.clear();
    _monster.clear();
}

json HeatmapToJson(const HeatmapSamples& samples, const std::string& level)
{
    json j = {{"Positions", Points(samples._positions)},
              {"Deaths", Points(samples._deaths)},
              {"Monster", Points(samples._monster)}};
    if (!level.empty())
        j["Level"] = level;
    return j;
}

HeatmapSamples HeatmapFromJson(const json& j)
{
    if (!j.is_object())
        throw json::type_error::create(302, std::string("type must be object, but is ") + j.type_name(), &j);
    HeatmapSamples samples;
    samples._positions = ReadPoints(j, "Positions");
    samples._deaths = ReadPoints(j, "Deaths");
    samples._monster = ReadPoints(j, "Monster");
    return samples;
}

std::string HeatmapTimeStamp(std::time_t time)
{
    std::tm local{};
    localtime_r(&time, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d_%H-%M-%S", &local);
    return text;
}

std::filesystem::path FreeHeatmapPath(const std::filesystem::path& folder, const std::string& stamp)
{
    const std::string base = "Heatmap_" + stamp;
    std::filesystem::path path = folder / (base + ".json");
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(path, ec); ++n)
        path = folder / (base + "_" + std::to_string(n) + ".json");
    return path;
}
