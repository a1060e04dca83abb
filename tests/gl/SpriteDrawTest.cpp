#include "gl/GlTest.h"

#include "render/GlState.h"
#include "render/LumInstance.h"
#include "render/LumMesh.h"
#include "render/Mesh.h"
#include "render/Sprite.h"
#include "render/SpriteSource.h"

#include <glad/gl.h>
#include <glm/gtc/matrix_transform.hpp>
#include <gmock/gmock.h>
#include <stb_image_write.h>

#include <vector>

using test::NearColour;
using ::testing::HasSubstr;

namespace
{
// An entity with one sprite; `extra` adds sprite keys.
std::string Quad(float x, float y, float size, const std::string& extra, const std::string& shader = "default")
{
    return R"({"transform": {"translation": {"x": )" + std::to_string(x) + R"(, "y": )" + std::to_string(y) +
           R"(}, "scale": {"x": )" + std::to_string(size) + R"(, "y": )" + std::to_string(size) +
           R"(}}, "components": {"sprite": {
               "mesh": {"type": "quad", "name": "unit", "halfsizex": 0.5, "halfsizey": 0.5, "u": 1, "v": 1},
               "shader": {"name": ")" +
           shader + R"("})" + (extra.empty() ? "" : ", " + extra) + "}}}";
}

std::string Text(const std::string& text, float width, float height)
{
    return R"({"transform": {"scale": {"x": )" + std::to_string(width) + R"(, "y": )" + std::to_string(height) +
           R"(}}, "components": {"sprite": {
               "mesh": {"type": "quad", "name": "glyph", "halfsizex": 0.5, "halfsizey": 0.5, "u": 16, "v": 6},
               "spritesource": {"name": "font", "source": "Assets/Art/font.png", "cols": 16, "rows": 6},
               "shader": {"name": "default"}, "textcenter": true, "text": ")" +
           text + R"("}}})";
}
} // namespace

class SpriteDrawTest : public test::GlTest
{
};

TEST_F(SpriteDrawTest, ATintedQuadShowsItsTintAndNothingOutside)
{
    Draw(Quad(0, 0, 200, R"("tint": {"r": 0.8, "g": 0.2, "b": 0.4, "a": 1})"));
    EXPECT_TRUE(NearColour(PixelAt({0, 0}), {204, 51, 102, 255}));
    EXPECT_TRUE(NearColour(PixelAt({95, -95}), {204, 51, 102, 255}));
    EXPECT_TRUE(NearColour(PixelAt({105, 0}), {0, 0, 0, 255}));
    EXPECT_TRUE(NearColour(PixelAt({0, -105}), {0, 0, 0, 255}));
}

TEST_F(SpriteDrawTest, BlendModesCombineWithWhatIsDrawn)
{
    Draw(Quad(0, 0, 100, R"("tint": {"r": 1, "g": 0, "b": 0, "a": 1})"));
    Draw(Quad(0, 0, 100, R"("tint": {"r": 0, "g": 1, "b": 0, "a": 1}, "blendmode": 2)"));
    EXPECT_TRUE(NearColour(PixelAt({0, 0}), {255, 255, 0, 255})) << "additive";

    Draw(Quad(300, 0, 100, R"("tint": {"r": 1, "g": 0, "b": 0, "a": 1})"));
    Draw(Quad(300, 0, 100, R"("tint": {"r": 0, "g": 0, "b": 1, "a": 0.5}, "blendmode": 1)"));
    EXPECT_TRUE(NearColour(PixelAt({300, 0}), {128, 0, 128, 255})) << "alpha";

    Draw(Quad(-300, 0, 100, R"("tint": {"r": 1, "g": 0, "b": 0, "a": 1})"));
    Draw(Quad(-300, 0, 100, R"("tint": {"r": 0, "g": 0, "b": 1, "a": 0.5}, "blendmode": 0)"));
    EXPECT_TRUE(NearColour(PixelAt({-300, 0}), {0, 0, 255, 255})) << "no blending replaces";
}

TEST_F(SpriteDrawTest, TheBlendModeOfTheLastSpriteReadHoldsForLaterDraws)
{
    Entity* red = Read(Quad(0, 0, 100, R"("tint": {"r": 1, "g": 0, "b": 0, "a": 1})"));
    Entity* green = Read(Quad(0, 0, 100, R"("tint": {"r": 0, "g": 1, "b": 0, "a": 1}, "blendmode": 2)"));
    Read(Quad(0, 0, 100, R"("blendmode": 0)"));
    red->Render();
    green->Render();
    EXPECT_TRUE(NearColour(PixelAt({0, 0}), {0, 255, 0, 255})) << "blending is off since the last read";
}

TEST_F(SpriteDrawTest, TextDrawsOneGlyphCellPerCharacterAroundTheCentre)
{
    // "AB" centred with 100-unit cells: A covers [-100, 0], B [0, 100].
    Draw(Text("AB", 100, 130));
    const int a = LitPixels({-100, -65}, {0, 65});
    const int b = LitPixels({0, -65}, {100, 65});
    EXPECT_GT(a, 500);
    EXPECT_GT(b, 500);
    EXPECT_EQ(LitPixels({-300, -65}, {-101, 65}), 0);
    EXPECT_EQ(LitPixels({101, -65}, {300, 65}), 0);

    // The left cell is the same glyph "A" draws alone at that place.
    Clear();
    Draw(R"({"transform": {"translation": {"x": -50}, "scale": {"x": 100, "y": 130}}, "components": {"sprite": {
        "mesh": {"type": "quad", "name": "glyph", "halfsizex": 0.5, "halfsizey": 0.5, "u": 16, "v": 6},
        "spritesource": {"name": "font", "source": "Assets/Art/font.png", "cols": 16, "rows": 6},
        "shader": {"name": "default"}, "text": "A"}}})");
    EXPECT_EQ(LitPixels({-100, -65}, {0, 65}), a);

    Clear();
    Draw(Text("  ", 100, 130));
    EXPECT_EQ(LitPixels({-200, -65}, {200, 65}), 0) << "spaces draw nothing";
}

TEST_F(SpriteDrawTest, AnInstancedDrawPlacesEachInstance)
{
    Entity* swarm = Read(R"({"components": {"sprite": {
        "mesh": {"type": "quadinstance", "name": "swarm", "halfsizex": 0.5, "halfsizey": 0.5, "u": 1, "v": 1},
        "shader": {"name": "instanced"}}}})");
    ASSERT_NE(swarm, nullptr);
    auto* sprite = swarm->Get<Sprite>(ctype::Sprite);
    const std::vector<glm::vec2> places = {{-400, 100}, {0, -200}, {450, 50}};
    std::vector<glm::mat4> matrices;
    for (const glm::vec2& p : places)
        matrices.push_back(glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(p, 0.0f)), glm::vec3(60.0f)));
    const std::vector<glm::vec4> colours = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}};

    GlState::BindVertexArray(sprite->GetMesh()->GetGpu()->GetFillArray());
    sprite->Instances().UploadMatrices(matrices);
    sprite->Instances().UploadColours(colours);
    sprite->Instances().SetCount(3);
    sprite->Render();

    EXPECT_TRUE(NearColour(PixelAt(places[0]), {255, 0, 0, 255}));
    EXPECT_TRUE(NearColour(PixelAt(places[1]), {0, 255, 0, 255}));
    EXPECT_TRUE(NearColour(PixelAt(places[2]), {0, 0, 255, 255}));
    EXPECT_TRUE(NearColour(PixelAt({0, 0}), {0, 0, 0, 255})) << "the mesh itself is not drawn at the origin";
}

TEST_F(SpriteDrawTest, TilesWithOnlyOffsetsLandOnTheirCellsInTheirTint)
{
    // As a tile layer draws: a one-unit quad scaled to 100 pixels, one offset per tile.
    Entity* layer = Read(R"({"transform": {"scale": {"x": 100, "y": 100}}, "components": {"sprite": {
        "mesh": {"type": "quadinstance", "name": "tiles", "halfsizex": 0.5, "halfsizey": 0.5, "u": 1, "v": 1},
        "tint": {"r": 0, "g": 1, "b": 0, "a": 1}, "shader": {"name": "instanced"}}}})");
    ASSERT_NE(layer, nullptr);
    auto* sprite = layer->Get<Sprite>(ctype::Sprite);
    GlState::BindVertexArray(sprite->GetMesh()->GetGpu()->GetFillArray());
    sprite->Instances().UploadOffsets(LumInstance::kOffsetLocation, {{-2.5f, 1.5f}, {1.5f, -0.5f}});
    sprite->Instances().UploadOffsets(LumInstance::kSheetOffsetLocation, {{0.0f, 0.0f}, {0.75f, 0.5f}});
    sprite->Instances().SetCount(2);
    sprite->Render();

    EXPECT_TRUE(NearColour(PixelAt({-250, 150}), {0, 255, 0, 255}));
    EXPECT_TRUE(NearColour(PixelAt({150, -50}), {0, 255, 0, 255}));
    EXPECT_TRUE(NearColour(PixelAt({0, 0}), {0, 0, 0, 255})) << "no tile at the origin";
    EXPECT_TRUE(NearColour(PixelAt({-250, 50}), {0, 0, 0, 255})) << "nor between the tiles";
}

TEST_F(SpriteDrawTest, LineInstancesWithOnlyMatricesDrawInTheOutlineColour)
{
    Entity* lines = Read(R"({"components": {"sprite": {
        "mesh": {"type": "line", "name": "debug_line", "halfsizex": 0.5}, "shader": {"name": "instanced"}}}})");
    ASSERT_NE(lines, nullptr);
    auto* sprite = lines->Get<Sprite>(ctype::Sprite);
    LumMesh* gpu = sprite->GetMesh()->GetGpu();
    gpu->SetDrawMode(LumMesh::Outline);
    sprite->SetOutlineColour(1.0f, 0.5f, 0.0f, 1.0f);
    // Two horizontal lines 400 pixels long, through pixel centres.
    std::vector<glm::mat4> matrices;
    for (float y : {200.5f, -100.5f})
        matrices.push_back(glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(0.5f, y, 0.0f)), glm::vec3(400.0f)));
    GlState::BindVertexArray(gpu->GetOutlineArray());
    sprite->Instances().UploadMatrices(matrices);
    sprite->Instances().SetCount(2);
    sprite->Render();

    EXPECT_TRUE(NearColour(PixelAt({0.5f, 200.5f}), {255, 128, 0, 255}));
    EXPECT_TRUE(NearColour(PixelAt({-150.5f, -100.5f}), {255, 128, 0, 255}));
    EXPECT_EQ(LitPixels({-300, 150}, {-210, 250}), 0) << "nothing beyond the line's end";
}

TEST_F(SpriteDrawTest, TexturesDrawAndAMissingImageDrawsUntextured)
{
    Draw(R"({"transform": {"scale": {"x": 1024, "y": 320}}, "components": {"sprite": {
        "mesh": {"type": "quad", "name": "unit", "halfsizex": 0.5, "halfsizey": 0.5, "u": 1, "v": 1},
        "spritesource": {"name": "logo", "source": "Assets/Art/logo.png", "cols": 1, "rows": 1},
        "shader": {"name": "default"}}}})");
    EXPECT_GT(LitPixels({-512, -160}, {512, 160}), 20000);

    Clear();
    Entity* missing = Draw(Quad(0, 0, 100, R"("tint": {"r": 0, "g": 0.5, "b": 1, "a": 1},
        "spritesource": {"name": "gone", "source": "Assets/Art/gone.png", "cols": 1, "rows": 1})"));
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->Get<Sprite>(ctype::Sprite)->GetSource()->GetTextureName(), 0u);
    EXPECT_TRUE(NearColour(PixelAt({0, 0}), {0, 128, 255, 255}));
    EXPECT_THAT(test::ReadTrace(), HasSubstr("Assets/Art/gone.png: cannot load texture: can't fopen"));

    // One pixel wider than the driver allows: refused before it reaches GL.
    const int limit = GlState::MaxTextureSize();
    ASSERT_GT(limit, 0);
    const std::vector<unsigned char> row(static_cast<std::size_t>(limit + 1) * 4, 255);
    ASSERT_NE(stbi_write_png("Assets/Art/wide.png", limit + 1, 1, 4, row.data(), 0), 0);
    Clear();
    Entity* wide = Draw(Quad(0, 0, 100, R"("tint": {"r": 1, "g": 0.5, "b": 0, "a": 1},
        "spritesource": {"name": "wide", "source": "Assets/Art/wide.png", "cols": 1, "rows": 1})"));
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->Get<Sprite>(ctype::Sprite)->GetSource()->GetTextureName(), 0u);
    EXPECT_TRUE(NearColour(PixelAt({0, 0}), {255, 128, 0, 255}));
    EXPECT_THAT(test::ReadTrace(), HasSubstr("Assets/Art/wide.png: image of " + std::to_string(limit + 1) +
                                             " x 1 is larger than the texture limit of " + std::to_string(limit)));
}

TEST_F(SpriteDrawTest, OutlinesDrawTheirSegmentsOnly)
{
    Entity* ring = Read(R"({"transform": {"scale": {"x": 400, "y": 400}}, "components": {"sprite": {
        "mesh": {"type": "circle", "name": "ring", "divisions": 32}, "shader": {"name": "default"}}}})");
    auto* sprite = ring->Get<Sprite>(ctype::Sprite);
    sprite->GetMesh()->GetGpu()->SetDrawMode(LumMesh::Outline);
    sprite->SetOutlineColour(1, 1, 1, 1);
    sprite->SetTint(1, 0, 0, 1);
    ring->Render();
    EXPECT_GT(LitPixels({190, -10}, {210, 10}), 0) << "the rim";
    EXPECT_TRUE(NearColour(PixelAt({0, 0}), {0, 0, 0, 255})) << "not filled";

    sprite->GetMesh()->GetGpu()->SetDrawMode(LumMesh::Filled | LumMesh::Outline);
    ring->Render();
    EXPECT_TRUE(NearColour(PixelAt({0, 0}), {255, 0, 0, 255}));
}

TEST_F(SpriteDrawTest, AnErrorIsBlamedOnTheCallThatMadeItNotOnALaterCheck)
{
    GLuint array = 0;
    glGenVertexArrays(1, &array);
    GlState::BindVertexArray(array);

    // An unchecked call leaves an error pending; the upload's own calls are fine.
    glEnable(0x1234);
    LumInstance instances;
    EXPECT_NO_THROW(instances.UploadOffsets(3, {{1.0f, 2.0f}}));
    EXPECT_THAT(test::ReadTrace(),
                HasSubstr("GL error GL_INVALID_ENUM (0x500) left by an unchecked call before an instance upload"));

    GlState::BindVertexArray(0);
    GlState::ForgetVertexArray(array);
    glDeleteVertexArrays(1, &array);
}

TEST_F(SpriteDrawTest, RedundantBindsAreSkipped)
{
    std::vector<Entity*> quads;
    for (int i = 0; i < 10; ++i)
        quads.push_back(Read(Quad(static_cast<float>(i * 20), 0, 10, "")));
    GlState::ResetCounts();
    for (Entity* q : quads)
        q->Render();
    EXPECT_LE(GlState::Counts().programs, 1u);
    EXPECT_LE(GlState::Counts().textures, 1u);
}
