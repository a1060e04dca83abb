#include "scene/Tilemap.h"

#include "data/DataFileScope.h"
#include "data/DataPath.h"
#include "data/FieldDescriptor.h"
#include "data/JsonError.h"
#include "data/Stream.h"
#include "render/GlState.h"
#include "render/LumInstance.h"
#include "render/LumMesh.h"
#include "render/Mesh.h"
#include "render/Sprite.h"
#include "render/SpriteSource.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>

Tilemap::Tilemap() = default;
Tilemap::~Tilemap() = default;

bool Tilemap::Read(const json& j, std::string_view file)
{
    const json* mapName = nullptr;
    try
    {
        FieldIo::RequireObject(j);
        if (auto it = j.find("nodescale"); it != j.end())
            FieldIo::ReadValue(_nodeScale, *it);
        if (auto it = j.find("xpos"); it != j.end())
            FieldIo::ReadValue(_xpos, *it);
        if (auto it = j.find("ypos"); it != j.end())
            FieldIo::ReadValue(_ypos, *it);
        mapName = &j.at("map");
        _map = mapName->get<std::string>();
    }
    catch (const json::exception& e)
    {
        ReportJsonError(file, e);
        return false;
    }
    if (!CheckDataPath(_map, file, *mapName))
        return false;

    Stream stream(_map, TilemapFile);
    if (!stream.IsOpen())
    {
        ReportDataError(file, JsonPathOf(*mapName),
                        "tile map " + stream.Path() + " cannot be opened; the scene has no tile map");
        return false;
    }
    // Not JSON at all: the stream has said so.
    if (!stream.HasJson())
        return false;
    _mapFile = stream.Path();

    std::vector<std::uint32_t> wallTiles;
    try
    {
        if (!ReadMapFile(stream.GetJson(), wallTiles))
            return false;
    }
    catch (const json::exception& e)
    {
        ReportJsonError(_mapFile, e);
        return false;
    }

    if (auto it = j.find("sprite"); it != j.end())
        ReadSprites(*it, file);
    BuildWalls();
    _pathMap = pathmap::Build(wallTiles, static_cast<std::int32_t>(_layers[kWalls]._width),
                              static_cast<std::int32_t>(_layers[kWalls]._height), _nodeScale, -GetOffset());
    return true;
}

bool Tilemap::ReadMapFile(const json& map, std::vector<std::uint32_t>& wallTiles)
{
    FieldIo::RequireObject(map);
    unsigned width = 0;
    unsigned height = 0;
    if (auto it = map.find("width"); it != map.end())
        FieldIo::ReadValue(width, *it);
    if (auto it = map.find("height"); it != map.end())
        FieldIo::ReadValue(height, *it);
    if (width == 0 || height == 0)
    {
        ReportDataError(_mapFile, "", "You cannot have zero rows or cols; the scene has no tile map");
        return false;
    }

    const json& layers = map.at("layers");
    std::vector<std::uint32_t> floorTiles;
    for (unsigned layer : {kFloor, kWalls})
    {
        const json& data = layers.at(layer).at("data");
        std::vector<std::uint32_t>& tiles = layer == kFloor ? floorTiles : wallTiles;
        tiles = data.get<std::vector<std::uint32_t>>();
        if (!_layers[layer].Fill(width, height, tiles))
        {
            ReportDataError(_mapFile, JsonPathOf(data),
                            "the layer has " + std::to_string(tiles.size()) + " tiles, fewer than " +
                                std::to_string(width) + " x " + std::to_string(height) + "; the scene has no tile map");
            return false;
        }
    }
    return true;
}

void Tilemap::ReadSprites(const json& sprite, std::string_view file)
{
    const DataFileScope scope(file);
    try
    {
        FieldIo::RequireObject(sprite);
        auto lower = std::make_unique<Sprite>();
        lower->Read(sprite);
        auto upper = std::make_unique<Sprite>();
        upper->Read(sprite);
        _lower = std::move(lower);
        _upper = std::move(upper);
        _spriteJson = sprite;
    }
    catch (const json::exception& e)
    {
        ReportJsonError(file, e);
        return;
    }
    UploadLayer(kFloor);
    UploadLayer(kWalls);
}

void Tilemap::BuildInstances(const TileLayer& layer, unsigned cols, unsigned rows, Instances& out, bool skipEmpty,
                             const Cover* cover)
{
    out._offsets.clear();
    out._sheetOffsets.clear();
    out._firstBeyondSheet = -1;
    cols = std::max(cols, 1u);
    rows = std::max(rows, 1u);
    const std::uint64_t sheetCells = static_cast<std::uint64_t>(cols) * rows;
    const float halfWidth = static_cast<float>(layer._width) * 0.5f;
    const float halfHeight = static_cast<float>(layer._height) * 0.5f;
    for (std::uint32_t y = 0; y < layer._height; ++y)
        for (std::uint32_t x = 0; x < layer._width; ++x)
        {
            const std::uint32_t tile = layer.At(x, y)._tile;
            if (tile == 0 && skipEmpty)
                continue;
            if (cover && cover->layer && x < cover->layer->_width && y < cover->layer->_height)
            {
                const std::uint32_t over = cover->layer->At(x, y)._tile;
                if (over != 0 && over - 1u < cover->opaqueCells.size() && cover->opaqueCells[over - 1u])
                    continue;
            }
            std::uint64_t cell = std::max(tile, 1u) - 1u;
            if (cell >= sheetCells)
            {
                if (out._firstBeyondSheet < 0)
                    out._firstBeyondSheet = static_cast<std::int64_t>(y) * layer._width + x;
                cell = 0;
            }
            out._offsets.push_back(
                {static_cast<float>(x) + 0.5f - halfWidth, halfHeight - 0.5f - static_cast<float>(y)});
            out._sheetOffsets.push_back({static_cast<float>(cell % cols) / static_cast<float>(cols),
                                         static_cast<float>(cell / cols) / static_cast<float>(rows)});
        }
}

void Tilemap::UploadLayer(unsigned layer)
{
    Sprite* sprite = GetSprite(layer);
    if (!sprite)
        return;
    const SpriteSource* source = sprite->GetSource();
    // The wall layer is drawn over the entities; where it has no wall it must show
    // nothing, and a quad there would only cost a screenful of fragments that discard.
    // The floor under an opaque wall tile is never seen either.
    _cover.layer = nullptr;
    if (layer == kFloor)
        MakeCover(_cover);
    BuildInstances(_layers[layer], source ? source->GetCols() : 1u, source ? source->GetRows() : 1u, _scratch,
                   layer == kWalls, &_cover);
    if (_scratch._firstBeyondSheet >= 0 && !_reportedBeyondSheet)
    {
        _reportedBeyondSheet = true;
        const std::int64_t i = _scratch._firstBeyondSheet;
        const TileCell& cell = _layers[layer].At(static_cast<std::uint32_t>(i % _layers[layer]._width),
                                                 static_cast<std::uint32_t>(i / _layers[layer]._width));
        ReportDataError(_mapFile, "/layers/" + std::to_string(layer) + "/data/" + std::to_string(i),
                        "tile " + std::to_string(cell._tile) + " is beyond the tile sheet; drawn as sheet cell 0");
    }

    LumMesh* gpu = sprite->GetMesh() ? sprite->GetMesh()->GetGpu() : nullptr;
    if (!gpu)
        return;
    gpu->SetDrawMode(LumMesh::Filled);
    LumInstance& instances = sprite->Instances();
    GlState::BindVertexArray(gpu->GetFillArray());
    instances.UploadOffsets(LumInstance::kOffsetLocation, _scratch._offsets);
    instances.UploadOffsets(LumInstance::kSheetOffsetLocation, _scratch._sheetOffsets);
    instances.SetCount(static_cast<unsigned>(_scratch._offsets.size()));
}

void Tilemap::MakeCover(Cover& cover) const
{
    cover.layer = nullptr;
    cover.opaqueCells.clear();
    const Sprite* upper = _upper.get();
    const SpriteSource* source = upper ? upper->GetSource() : nullptr;
    // Drawn replacing what is under it: alpha blending (or none) and a solid tint.
    const int blend = upper ? upper->GetBlendMode() : 2;
    if (!source || !source->GetTexture() || upper->GetTint().a < 1.0f || blend == 2 || blend == 3)
        return;
    cover.opaqueCells = source->GetTexture()->OpaqueCells(source->GetCols(), source->GetRows());
    if (!cover.opaqueCells.empty())
        cover.layer = &_layers[kWalls];
}

void Tilemap::BuildWalls()
{
    tilewalls::Build(_layers[kWalls], _nodeScale, GetOffset(), _walls._lines);
}

void Tilemap::Write(json& j) const
{
    j["map"] = _map;
    j["nodescale"] = _nodeScale;
    j["xpos"] = _xpos;
    j["ypos"] = _ypos;
    if (!_spriteJson.is_null())
        j["sprite"] = _spriteJson;
}

void Tilemap::Update(float dt)
{
    if (_rebuild)
    {
        BuildWalls();
        UploadLayer(kFloor);
        UploadLayer(kWalls);
        _rebuild = false;
    }
    if (_lower)
        _lower->Update(dt);
    if (_upper)
        _upper->Update(dt);
}

glm::mat4 Tilemap::WorldMatrix() const
{
    return glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(_xpos, _ypos, 0.0f)),
                      glm::vec3(_nodeScale, _nodeScale, 1.0f));
}

void Tilemap::RenderLower()
{
    if (_lower)
        _lower->RenderWithMatrix(WorldMatrix());
}

void Tilemap::RenderUpper()
{
    if (_upper)
        _upper->RenderWithMatrix(WorldMatrix());
}

bool Tilemap::SetTile(unsigned layer, std::uint32_t x, std::uint32_t y, std::uint32_t tile)
{
    if (layer > kWalls)
        return false;
    TileLayer& grid = _layers[layer];
    if (x >= grid._width || y >= grid._height)
        return false;
    grid.At(x, y)._tile = tile;
    if (layer == kWalls)
        pathmap::SetWalkable(_pathMap, static_cast<std::int32_t>(x), static_cast<std::int32_t>(grid._height - 1 - y),
                             tile == 0);
    _rebuild = true;
    return true;
}
