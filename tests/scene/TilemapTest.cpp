#include "scene/TilemapTestSupport.h"

#include "physics/LineBuffer.h"
#include "render/Sprite.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"
#include "scene/Tilemap.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gmock/gmock.h>

using ::testing::HasSubstr;
using json = nlohmann::json;

namespace
{
class TilemapTest : public test::ScratchTest
{
protected:
    void TearDown() override
    {
        SceneSystem::Instance().Reset();
        ScratchTest::TearDown();
    }
};

glm::vec2 Apply(const glm::mat4& m, const glm::vec2& p)
{
    return glm::vec2(m * glm::vec4(p, 0.0f, 1.0f));
}

TileLayer LayerOf(std::uint32_t width, std::uint32_t height, const std::vector<std::uint32_t>& tiles)
{
    TileLayer layer;
    EXPECT_TRUE(layer.Fill(width, height, tiles));
    return layer;
}
} // namespace

TEST_F(TilemapTest, DrawingWallsAndThePathMapAgreeForANonZeroOffset)
{
    test::WriteTileMap("yard", {"....", "..#.", "...."});
    test::WriteTileLevel("yard", {{"map", "yard"}, {"nodescale", 32}, {"xpos", 100}, {"ypos", -50}});
    Scene scene("yard");
    Tilemap* map = scene.GetTilemap();
    ASSERT_NE(map, nullptr);
    ASSERT_EQ(scene.GetTilemapWalls(), &map->GetWalls());
    EXPECT_EQ(map->GetLayer(Tilemap::kFloor).At(0, 0)._tile, 2u);
    EXPECT_EQ(map->GetLayer(Tilemap::kWalls).At(2, 1)._tile, 3u);

    Tilemap::Instances drawn;
    Tilemap::BuildInstances(map->GetLayer(Tilemap::kWalls), 4, 4, drawn);
    ASSERT_EQ(drawn._offsets.size(), 12u);
    const glm::mat4 world = map->WorldMatrix();
    const PathMap& paths = map->GetPathMap();
    for (std::uint32_t y = 0; y < 3; ++y)
        for (std::uint32_t x = 0; x < 4; ++x)
        {
            const glm::vec2 centre = Apply(world, drawn._offsets[y * 4 + x]);
            EXPECT_EQ(centre, tilewalls::CellCentre(4, 3, 32.0f, {100.0f, -50.0f}, x, y));
            const auto px = static_cast<std::int32_t>(x), py = static_cast<std::int32_t>(2 - y);
            EXPECT_EQ(pathmap::CellCentre(paths, px, py), centre) << x << ", " << y;
            EXPECT_EQ(pathmap::CellOf(paths, centre), glm::ivec2(px, py));
        }
    // The wall tile's drawn quad (half a tile each way) is exactly what its outline encloses.
    const glm::vec2 tile = Apply(world, drawn._offsets[1 * 4 + 2]);
    EXPECT_EQ(tile, glm::vec2(100.0f + 16.0f, -50.0f));
    const std::vector<LineSegment>& walls = map->GetWalls()._lines;
    ASSERT_EQ(walls.size(), 4u);
    EXPECT_EQ(walls[0]._start, tile + glm::vec2(-16.0f, 16.0f));
    EXPECT_EQ(walls[1]._end, tile + glm::vec2(16.0f, -16.0f));
    EXPECT_EQ(paths.At(2, 1)._weight, PathMap::kWallWeight);
    EXPECT_EQ(paths.At(0, 1)._weight, 0);
    EXPECT_EQ(paths.At(1, 2)._weight, PathMap::kBesideWallWeight);
}

TEST_F(TilemapTest, TilesPickSheetCellsAndTilesPastTheSheetDrawCellZero)
{
    const TileLayer layer = LayerOf(3, 2, {0, 1, 2, 6, 7, 9});
    Tilemap::Instances out;
    Tilemap::BuildInstances(layer, 4, 2, out);
    ASSERT_EQ(out._sheetOffsets.size(), 6u);
    EXPECT_EQ(out._sheetOffsets[0], glm::vec2(0.0f)) << "an empty cell draws sheet cell 0";
    EXPECT_EQ(out._sheetOffsets[1], glm::vec2(0.0f));
    EXPECT_EQ(out._sheetOffsets[2], glm::vec2(0.25f, 0.0f));
    EXPECT_EQ(out._sheetOffsets[3], glm::vec2(0.25f, 0.5f));
    EXPECT_EQ(out._sheetOffsets[4], glm::vec2(0.5f, 0.5f));
    EXPECT_EQ(out._sheetOffsets[5], glm::vec2(0.0f)) << "tile 9 of an 8-cell sheet";
    EXPECT_EQ(out._firstBeyondSheet, 5);
    EXPECT_EQ(out._offsets[0], glm::vec2(-1.0f, 0.5f)) << "top-left first";
    EXPECT_EQ(out._offsets[5], glm::vec2(1.0f, -0.5f));

    Tilemap::BuildInstances(LayerOf(1, 1, {8}), 4, 2, out);
    EXPECT_EQ(out._firstBeyondSheet, -1);
    EXPECT_EQ(out._sheetOffsets[0], glm::vec2(0.75f, 0.5f));

    // Skipping the empty cells keeps every other tile where it was, and the index of
    // the tile past the sheet still names its cell.
    Tilemap::BuildInstances(layer, 4, 2, out, true);
    ASSERT_EQ(out._offsets.size(), 5u);
    EXPECT_EQ(out._offsets[0], glm::vec2(0.0f, 0.5f));
    EXPECT_EQ(out._sheetOffsets[0], glm::vec2(0.0f));
    EXPECT_EQ(out._offsets[4], glm::vec2(1.0f, -0.5f));
    EXPECT_EQ(out._sheetOffsets[3], glm::vec2(0.5f, 0.5f));
    EXPECT_EQ(out._firstBeyondSheet, 5);
}

TEST_F(TilemapTest, ATilePastTheSheetIsReportedOnceAndChangedTilesRebuildAtTheNextUpdate)
{
    test::WriteTileMap("hall", {".....", ".....", "....."});
    json map = json::parse(test::ReadFile("Data/Tilemap/hall.json"));
    map["layers"][1]["data"][7] = 40;
    test::WriteFile("Data/Tilemap/hall.json", map.dump());
    const json sprite = {
        {"mesh",
         {{"type", "quadinstance"}, {"name", "tile"}, {"halfsizex", 0.5}, {"halfsizey", 0.5}, {"u", 4}, {"v", 2}}},
        {"spritesource", {{"name", "sheet"}, {"source", "Assets/Art/none.png"}, {"cols", 4}, {"rows", 2}}}};
    test::WriteTileLevel("hall", {{"map", "hall"}, {"sprite", sprite}});
    Scene scene("hall");
    Tilemap* tiles = scene.GetTilemap();
    ASSERT_NE(tiles, nullptr);
    ASSERT_NE(tiles->GetSprite(Tilemap::kWalls), nullptr);
    EXPECT_EQ(tiles->GetSprite(Tilemap::kWalls)->Instances().GetCount(), 1u) << "empty wall cells draw nothing";
    EXPECT_EQ(tiles->GetSprite(Tilemap::kFloor)->Instances().GetCount(), 15u);
    EXPECT_EQ(tiles->GetWalls()._lines.size(), 4u) << "an unknown tile is still a wall";

    ASSERT_TRUE(tiles->SetTile(Tilemap::kWalls, 2, 1, 0));
    ASSERT_TRUE(tiles->SetTile(Tilemap::kWalls, 3, 1, 5));
    EXPECT_FALSE(tiles->SetTile(Tilemap::kWalls, 5, 0, 1));
    EXPECT_FALSE(tiles->SetTile(2, 0, 0, 1));
    EXPECT_TRUE(tiles->NeedsRebuild());
    EXPECT_TRUE(tiles->GetPathMap()._changed);
    EXPECT_EQ(tiles->GetPathMap().At(2, 1)._weight, PathMap::kBesideWallWeight) << "now beside the new wall";
    EXPECT_EQ(tiles->GetPathMap().At(3, 1)._weight, PathMap::kWallWeight);
    EXPECT_EQ(tiles->GetWalls()._lines.size(), 4u) << "the outline waits for the update";
    scene.Update(0.016f);
    EXPECT_FALSE(tiles->NeedsRebuild());
    ASSERT_EQ(tiles->GetWalls()._lines.size(), 4u);
    EXPECT_EQ(tiles->GetWalls()._lines[0]._start, glm::vec2(5.0f, 5.0f)) << "the wall moved one tile right";
    ASSERT_TRUE(tiles->SetTile(Tilemap::kWalls, 0, 0, 2));
    scene.Update(0.016f);
    EXPECT_EQ(tiles->GetSprite(Tilemap::kWalls)->Instances().GetCount(), 2u) << "a new wall tile is drawn";

    const std::string line = "Data/Tilemap/hall.json: /layers/1/data/7: tile 40 is beyond the tile sheet; drawn as "
                             "sheet cell 0";
    EXPECT_EQ(test::Count(test::ReadTrace(), line), 1u) << test::ReadTrace();

    // What was read is written back as read.
    json written = json::object();
    scene.Write(written);
    EXPECT_EQ(written["tilemap"]["map"], "hall");
    EXPECT_EQ(written["tilemap"]["sprite"], sprite);
    EXPECT_EQ(written["tilemap"]["nodescale"], 10.0f);
}

TEST_F(TilemapTest, BadMapsAreReportedAndTheLevelGoesOnWithoutATileMap)
{
    const json crate = json::array({{{"name", "crate"}}});
    test::WriteFile("Data/Tilemap/flat.json", R"({"width": 0, "height": 3, "layers": []})");
    test::WriteFile("Data/Tilemap/short.json",
                    R"({"width": 2, "height": 2, "layers": [{"data": [1, 1, 1, 1]}, {"data": [0, 0, 1]}]})");
    test::WriteFile("Data/Tilemap/typed.json",
                    R"({"width": 1, "height": 1, "layers": [{"data": ["stone"]}, {"data": [0]}]})");
    test::WriteFile("Data/Tilemap/broken.json", R"({"width": 1, "height": )");
    const std::vector<std::pair<json, std::string>> cases = {
        {{{"map", "flat"}}, "Data/Tilemap/flat.json: You cannot have zero rows or cols; the scene has no tile map"},
        {{{"map", "short"}},
         "Data/Tilemap/short.json: /layers/1/data: the layer has 3 tiles, fewer than 2 x 2; the scene has no tile map"},
        {{{"map", "typed"}}, "Data/Tilemap/typed.json: /layers/0/data/0: type must be number, but is string"},
        {{{"map", "broken"}}, "Data/Tilemap/broken.json: parse error"},
        {{{"map", "../../secret"}},
         "Data/Level/bad.json: /tilemap/map: \"../../secret\" leaves the content folder; treated as missing"},
        {{{"map", "nowhere"}},
         "Data/Level/bad.json: /tilemap/map: tile map Data/Tilemap/nowhere.json cannot be opened; the scene has no "
         "tile map"},
        {{{"map", 7}}, "Data/Level/bad.json: /tilemap/map: type must be string, but is number"},
        {{{"nodescale", 8}}, "Data/Level/bad.json: /tilemap: key 'map' not found"},
    };
    for (const auto& [tilemap, message] : cases)
    {
        test::WriteTileLevel("bad", tilemap, crate);
        {
            Scene scene("bad");
            EXPECT_EQ(scene.GetTilemap(), nullptr) << message;
            EXPECT_EQ(scene.GetTilemapWalls(), nullptr) << message;
            EXPECT_EQ(scene.GetEntities().PendingCount(), 1u) << "the rest of the level loads";
            ASSERT_TRUE(scene.Save());
        }
        EXPECT_EQ(json::parse(test::ReadFile("Data/Level/bad.json"))["tilemap"], tilemap) << "saving loses nothing";
        EXPECT_THAT(test::ReadTrace(), HasSubstr(message));
        SceneSystem::Instance().Reset();
    }
}
