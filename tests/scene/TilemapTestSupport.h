#pragma once

#include "TestSupport.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace test
{
// Writes Data/Tilemap/<name>.json from rows of characters, top row first: '#' is wall
// tile 3 on the upper layer; every floor cell is tile 2.
inline void WriteTileMap(const std::string& name, const std::vector<std::string>& rows)
{
    nlohmann::json floor = nlohmann::json::array(), walls = nlohmann::json::array();
    for (const std::string& row : rows)
        for (const char c : row)
        {
            floor.push_back(2);
            walls.push_back(c == '#' ? 3 : 0);
        }
    const nlohmann::json map = {
        {"width", rows.front().size()}, {"height", rows.size()}, {"layers", {{{"data", floor}}, {{"data", walls}}}}};
    WriteFile("Data/Tilemap/" + name + ".json", map.dump());
}

// Writes Data/Level/<name>.json with the given "tilemap" object and entities.
inline void WriteTileLevel(const std::string& name, const nlohmann::json& tilemap,
                           const nlohmann::json& entities = nlohmann::json::array())
{
    WriteFile("Data/Level/" + name + ".json", nlohmann::json({{"tilemap", tilemap}, {"entities", entities}}).dump());
}
} // namespace test
