#pragma once

#include "physics/LineBuffer.h"
#include "physics/PathMap.h"
#include "physics/TileWalls.h"

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class Sprite;

// A level's floor and walls from "Data/Tilemap/<map>.json": two layers of tile numbers,
// each drawn as one instanced sprite (the floor under the entities, the walls over
// them), the walls' outline for collisions and shadows, and the path map built from
// the wall layer.
//
// Everything a non-zero "xpos", "ypos" moves goes the same way: the drawn layers, the
// wall outline and the path map's cells all sit at +offset.
class Tilemap
{
public:
    static constexpr unsigned kFloor = 0;
    static constexpr unsigned kWalls = 1;

    // Per-instance data of one layer, in drawing order (row by row from the top).
    struct Instances
    {
        std::vector<glm::vec2> _offsets;      // tile units from the map's centre
        std::vector<glm::vec2> _sheetOffsets; // texture-space corner of the sheet cell
        std::int64_t _firstBeyondSheet = -1;  // index of the first tile past the sheet
    };

    Tilemap();
    ~Tilemap();
    Tilemap(const Tilemap&) = delete;
    Tilemap& operator=(const Tilemap&) = delete;

    // Reads a scene's "tilemap" object found in the level `file`, then the map file it
    // names. False when there is no usable map; the reason has been reported as
    // "file: /json/path: message" and the scene goes on without a tile map.
    bool Read(const json& j, std::string_view file);
    // "map", "nodescale", "xpos", "ypos" and "sprite" as read.
    void Write(json& j) const;

    // Rebuilds the walls and the layers' instancing when a tile changed.
    void Update(float dt);
    void RenderLower();
    void RenderUpper();

    // Translation by the offset times a scale of one tile.
    glm::mat4 WorldMatrix() const;

    // Changes one tile; the walls, drawing and (for the wall layer) the path map follow
    // at the next update. False for a layer or cell the map does not have.
    bool SetTile(unsigned layer, std::uint32_t x, std::uint32_t y, std::uint32_t tile);

    const LineBuffer& GetWalls() const { return _walls; }
    PathMap& GetPathMap() { return _pathMap; }
    const PathMap& GetPathMap() const { return _pathMap; }
    const TileLayer& GetLayer(unsigned layer) const { return _layers[layer == kFloor ? 0 : 1]; }
    Sprite* GetSprite(unsigned layer) const { return (layer == kFloor ? _lower : _upper).get(); }
    const std::string& GetMap() const { return _map; }
    float GetNodeScale() const { return _nodeScale; }
    glm::vec2 GetOffset() const { return {_xpos, _ypos}; }
    bool NeedsRebuild() const { return _rebuild; }

    // The layer drawn over another and which of its sheet cells are fully opaque: the
    // cells of the lower layer it covers with those are never seen.
    struct Cover
    {
        const TileLayer* layer = nullptr;
        std::vector<bool> opaqueCells;
    };

    // Fills `out` for a layer drawn from a sheet of cols x rows cells: an empty cell
    // draws sheet cell 0 (or nothing with `skipEmpty`), tile t draws cell t - 1, and a
    // tile past the sheet draws cell 0. Cells hidden under a `cover` are left out.
    static void BuildInstances(const TileLayer& layer, unsigned cols, unsigned rows, Instances& out,
                               bool skipEmpty = false, const Cover* cover = nullptr);

private:
    bool ReadMapFile(const json& map, std::vector<std::uint32_t>& wallTiles);
    void ReadSprites(const json& sprite, std::string_view file);
    void UploadLayer(unsigned layer);
    // The wall layer as it hides the floor; no cover when its sprite may let it through.
    void MakeCover(Cover& cover) const;
    void BuildWalls();

    std::string _map;
    std::unique_ptr<Sprite> _lower;
    std::unique_ptr<Sprite> _upper;
    PathMap _pathMap;
    float _nodeScale = 10.0f;
    bool _rebuild = true;
    float _xpos = 0.0f;
    float _ypos = 0.0f;
    LineBuffer _walls;
    TileLayer _layers[2];

    json _spriteJson;
    std::string _mapFile;
    Instances _scratch;
    Cover _cover;
    bool _reportedBeyondSheet = false;
};
