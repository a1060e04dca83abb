#include "gl/GlTest.h"
#include "scene/TilemapTestSupport.h"

#include "render/LumInstance.h"
#include "render/Sprite.h"
#include "render/SpriteSource.h"
#include "scene/Scene.h"
#include "scene/Tilemap.h"

#include <gmock/gmock.h>
#include <stb_image_write.h>

#include <vector>

namespace
{
// A sheet of four 4 x 4 cells in a row: clear, solid, solid but for one half-clear
// pixel, solid.
void WriteSheet()
{
    std::vector<unsigned char> rgba(16 * 4 * 4, 255);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            rgba[(y * 16 + x) * 4 + 3] = 0;
    rgba[(3 * 16 + 9) * 4 + 3] = 128;
    ASSERT_NE(stbi_write_png("Assets/Art/sheet4.png", 16, 4, 4, rgba.data(), 0), 0);
}

nlohmann::json SheetSprite(int setting)
{
    return {{"mesh",
             {{"type", "quadinstance"}, {"name", "tile"}, {"halfsizex", 0.5}, {"halfsizey", 0.5}, {"u", 4}, {"v", 1}}},
            {"spritesource",
             {{"name", "sheet4_" + std::to_string(setting)},
              {"source", "Assets/Art/sheet4.png"},
              {"cols", 4},
              {"rows", 1},
              {"setting", setting}}},
            {"shader", {{"name", "instanced"}}}};
}
} // namespace

class TilemapDrawTest : public test::GlTest
{
};

TEST_F(TilemapDrawTest, TheFloorUnderOpaqueWallTilesIsLeftOut)
{
    WriteSheet();
    const SpriteSource* nearest = nullptr;
    {
        // Floor tile 4 everywhere; walls: none, solid, holed, solid, past the sheet.
        test::WriteFile(
            "Data/Tilemap/strip.json",
            R"({"width": 5, "height": 1, "layers": [{"data": [4, 4, 4, 4, 4]}, {"data": [0, 2, 3, 4, 9]}]})");
        test::WriteTileLevel("strip", {{"map", "strip"}, {"sprite", SheetSprite(9728)}});
        Scene scene("strip");
        const Tilemap* map = scene.GetTilemap();
        ASSERT_NE(map, nullptr);
        nearest = map->GetSprite(Tilemap::kWalls)->GetSource();
        ASSERT_NE(nearest, nullptr);
        ASSERT_NE(nearest->GetTexture(), nullptr);
        EXPECT_EQ(nearest->GetTexture()->OpaqueCells(4, 1), (std::vector<bool>{false, true, false, true}));
        EXPECT_EQ(map->GetSprite(Tilemap::kFloor)->Instances().GetCount(), 3u)
            << "under nothing, the holed tile and the tile past the sheet (drawn as the clear cell)";
        EXPECT_EQ(map->GetSprite(Tilemap::kWalls)->Instances().GetCount(), 4u);
    }
    {
        // Linear filtering blends each cell's edge with its neighbours: nothing hides the floor.
        test::WriteTileLevel("strip", {{"map", "strip"}, {"sprite", SheetSprite(9729)}});
        Scene scene("strip");
        const Tilemap* map = scene.GetTilemap();
        ASSERT_NE(map, nullptr);
        EXPECT_TRUE(map->GetSprite(Tilemap::kWalls)->GetSource()->GetTexture()->OpaqueCells(4, 1).empty());
        EXPECT_EQ(map->GetSprite(Tilemap::kFloor)->Instances().GetCount(), 5u);
    }
    {
        // A see-through tint on the walls lets the floor show.
        nlohmann::json sprite = SheetSprite(9728);
        sprite["tint"] = {{"r", 1}, {"g", 1}, {"b", 1}, {"a", 0.5}};
        test::WriteTileLevel("strip", {{"map", "strip"}, {"sprite", sprite}});
        Scene scene("strip");
        ASSERT_NE(scene.GetTilemap(), nullptr);
        EXPECT_EQ(scene.GetTilemap()->GetSprite(Tilemap::kFloor)->Instances().GetCount(), 5u);
    }
}
