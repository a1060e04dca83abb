#include "gl/GlTest.h"

#include "render/GlState.h"
#include "render/LumInstance.h"
#include "render/LumMesh.h"
#include "render/Mesh.h"
#include "render/Sprite.h"
#include "render/SpriteBatch.h"
#include "render/SpriteSource.h"

#include <glad/gl.h>
#include <glm/gtc/matrix_transform.hpp>
#include <gmock/gmock.h>
#include <stb_image_write.h>

#include <vector>

using test::NearColour;
using test::Quad;
using test::SpriteEntity;
using test::Tint;
using ::testing::HasSubstr;

namespace
{
const std::string kFont = R"("mesh": {"type": "quad", "name": "glyph", "halfsizex": 0.5, "halfsizey": 0.5, "u": 16,
    "v": 6}, "spritesource": {"name": "font", "source": "Assets/Art/font.png", "cols": 16, "rows": 6},
    "shader": {"name": "default"})";

std::string Text(const std::string& text, float x, bool centred)
{
    return SpriteEntity(kFont + R"(, "textcenter": )" + (centred ? "true" : "false") + R"(, "text": ")" + text + "\"",
                        {x, 0.0f}, {100.0f, 130.0f});
}

glm::mat4 Place(glm::vec2 at, float size)
{
    return glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(at, 0.0f)), glm::vec3(size));
}
} // namespace

class SpriteDrawTest : public test::GlTest
{
protected:
    // An instanced sprite read from `keys`, its vertex array bound for the uploads.
    Sprite* Instanced(const std::string& keys, glm::vec2 scale = {1.0f, 1.0f}, bool outline = false)
    {
        Entity* e = Read(SpriteEntity(keys + R"(, "shader": {"name": "instanced"})", {0.0f, 0.0f}, scale));
        auto* sprite = e ? e->Get<Sprite>(ctype::Sprite) : nullptr;
        if (sprite)
        {
            LumMesh* gpu = sprite->GetMesh()->GetGpu();
            GlState::BindVertexArray(outline ? gpu->GetOutlineArray() : gpu->GetFillArray());
        }
        return sprite;
    }
};

TEST_F(SpriteDrawTest, ATintedQuadShowsItsTintAndBlendModesCombine)
{
    Draw(Quad(0, 0, 200, Tint(0.8f, 0.2f, 0.4f)));
    EXPECT_TRUE(NearColour(PixelAt({0, 0}), {204, 51, 102, 255}));
    EXPECT_TRUE(NearColour(PixelAt({95, -95}), {204, 51, 102, 255}));
    EXPECT_TRUE(NearColour(PixelAt({105, 0}), {0, 0, 0, 255}));
    EXPECT_TRUE(NearColour(PixelAt({0, -105}), {0, 0, 0, 255}));

    struct Case
    {
        float x;
        std::string over;
        glm::ivec4 expected;
    };
    const Case cases[] = {{0, Tint(0, 1, 0) + R"(, "blendmode": 2)", {255, 255, 0, 255}},         // additive
                          {300, Tint(0, 0, 1, 0.5f) + R"(, "blendmode": 1)", {128, 0, 128, 255}}, // alpha
                          {-300, Tint(0, 0, 1, 0.5f) + R"(, "blendmode": 0)", {0, 0, 255, 255}}}; // replaces
    for (const Case& c : cases)
    {
        Draw(Quad(c.x, 0, 100, Tint(1, 0, 0)));
        Draw(Quad(c.x, 0, 100, c.over));
        EXPECT_TRUE(NearColour(PixelAt({c.x, 0}), c.expected)) << c.over;
    }

    // The blend mode of the last sprite read holds for later draws.
    Clear();
    Entity* red = Read(Quad(0, 0, 100, Tint(1, 0, 0)));
    Entity* green = Read(Quad(0, 0, 100, Tint(0, 1, 0) + R"(, "blendmode": 2)"));
    Read(Quad(0, 0, 100, R"("blendmode": 0)"));
    red->Render();
    green->Render();
    EXPECT_TRUE(NearColour(PixelAt({0, 0}), {0, 255, 0, 255})) << "blending is off since the last read";
}

TEST_F(SpriteDrawTest, TextDrawsOneGlyphCellPerCharacterAroundTheCentre)
{
    // "AB" centred with 100-unit cells: A covers [-100, 0], B [0, 100].
    Draw(Text("AB", 0, true));
    const int a = LitPixels({-100, -65}, {0, 65});
    EXPECT_GT(a, 500);
    EXPECT_GT(LitPixels({0, -65}, {100, 65}), 500);
    EXPECT_EQ(LitPixels({-300, -65}, {-101, 65}), 0);
    EXPECT_EQ(LitPixels({101, -65}, {300, 65}), 0);

    // The left cell is the same glyph "A" draws alone at that place.
    Clear();
    Draw(Text("A", -50, false));
    EXPECT_EQ(LitPixels({-100, -65}, {0, 65}), a);

    Clear();
    Draw(Text("  ", 0, true));
    EXPECT_EQ(LitPixels({-200, -65}, {200, 65}), 0) << "spaces draw nothing";
}

TEST_F(SpriteDrawTest, InstancesTakeMatricesColoursOrOffsets)
{
    Sprite* swarm = Instanced(R"("mesh": {"type": "quadinstance", "name": "swarm", "halfsizex": 0.5, "halfsizey": 0.5,
        "u": 1, "v": 1})");
    ASSERT_NE(swarm, nullptr);
    const std::vector<glm::vec2> places = {{-400, 100}, {0, -200}, {450, 50}};
    const std::vector<glm::vec4> colours = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}};
    swarm->Instances().UploadMatrices({Place(places[0], 60), Place(places[1], 60), Place(places[2], 60)});
    swarm->Instances().UploadColours(colours);
    swarm->Instances().SetCount(3);
    swarm->Render();
    for (std::size_t i = 0; i < places.size(); ++i)
        EXPECT_TRUE(NearColour(PixelAt(places[i]), glm::ivec4(glm::vec4(255.0f) * colours[i]))) << i;
    EXPECT_TRUE(NearColour(PixelAt({0, 0}), {0, 0, 0, 255})) << "the mesh itself is not drawn at the origin";

    // As a tile layer draws: a one-unit quad scaled to 100 pixels, one offset per tile.
    Clear();
    Sprite* tiles = Instanced(R"("mesh": {"type": "quadinstance", "name": "tiles", "halfsizex": 0.5, "halfsizey": 0.5,
        "u": 1, "v": 1}, )" + Tint(0, 1, 0),
                              {100.0f, 100.0f});
    ASSERT_NE(tiles, nullptr);
    tiles->Instances().UploadOffsets(LumInstance::kOffsetLocation, {{-2.5f, 1.5f}, {1.5f, -0.5f}});
    tiles->Instances().UploadOffsets(LumInstance::kSheetOffsetLocation, {{0.0f, 0.0f}, {0.75f, 0.5f}});
    tiles->Instances().SetCount(2);
    tiles->Render();
    EXPECT_TRUE(NearColour(PixelAt({-250, 150}), {0, 255, 0, 255}));
    EXPECT_TRUE(NearColour(PixelAt({150, -50}), {0, 255, 0, 255}));
    EXPECT_TRUE(NearColour(PixelAt({0, 0}), {0, 0, 0, 255})) << "no tile at the origin";
    EXPECT_TRUE(NearColour(PixelAt({-250, 50}), {0, 0, 0, 255})) << "nor between the tiles";
}

TEST_F(SpriteDrawTest, LineInstancesWithOnlyMatricesDrawInTheOutlineColour)
{
    Sprite* lines = Instanced(R"("mesh": {"type": "line", "name": "debug_line", "halfsizex": 0.5})", {1, 1}, true);
    ASSERT_NE(lines, nullptr);
    lines->GetMesh()->GetGpu()->SetDrawMode(LumMesh::Outline);
    lines->SetOutlineColour(1.0f, 0.5f, 0.0f, 1.0f);
    // Two horizontal lines 400 pixels long, through pixel centres.
    lines->Instances().UploadMatrices({Place({0.5f, 200.5f}, 400), Place({0.5f, -100.5f}, 400)});
    lines->Instances().SetCount(2);
    lines->Render();
    EXPECT_TRUE(NearColour(PixelAt({0.5f, 200.5f}), {255, 128, 0, 255}));
    EXPECT_TRUE(NearColour(PixelAt({-150.5f, -100.5f}), {255, 128, 0, 255}));
    EXPECT_EQ(LitPixels({-300, 150}, {-210, 250}), 0) << "nothing beyond the line's end";
}

TEST_F(SpriteDrawTest, TexturesDrawAndAMissingOrOversizedImageDrawsUntextured)
{
    Draw(SpriteEntity(test::kUnitQuad + R"(, "shader": {"name": "default"},
        "spritesource": {"name": "logo", "source": "Assets/Art/logo.png", "cols": 1, "rows": 1})",
                      {0, 0}, {1024, 320}));
    EXPECT_GT(LitPixels({-512, -160}, {512, 160}), 20000);

    // One pixel wider than the driver allows is refused before it reaches GL.
    const int limit = GlState::MaxTextureSize();
    ASSERT_GT(limit, 0);
    const std::vector<unsigned char> row(static_cast<std::size_t>(limit + 1) * 4, 255);
    ASSERT_NE(stbi_write_png("Assets/Art/wide.png", limit + 1, 1, 4, row.data(), 0), 0);
    for (const char* image : {"gone", "wide"})
    {
        Clear();
        Entity* e = Draw(Quad(0, 0, 100,
                              Tint(0, 0.5f, 1) + R"(, "spritesource": {"name": ")" + image +
                                  R"(", "source": "Assets/Art/)" + image + R"(.png", "cols": 1, "rows": 1})"));
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->Get<Sprite>(ctype::Sprite)->GetSource()->GetTextureName(), 0u) << image;
        EXPECT_TRUE(NearColour(PixelAt({0, 0}), {0, 128, 255, 255})) << image;
    }
    const std::string trace = test::ReadTrace();
    EXPECT_THAT(trace, HasSubstr("Assets/Art/gone.png: cannot load texture: can't fopen"));
    EXPECT_THAT(trace, HasSubstr("Assets/Art/wide.png: image of " + std::to_string(limit + 1) +
                                 " x 1 is larger than the texture limit of " + std::to_string(limit)));
}

TEST_F(SpriteDrawTest, OutlinesDrawTheirSegmentsOnly)
{
    Entity* ring = Read(SpriteEntity(R"("mesh": {"type": "circle", "name": "ring", "divisions": 32},
        "shader": {"name": "default"})",
                                     {0, 0}, {400, 400}));
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

TEST_F(SpriteDrawTest, PlainSpritesInARowDrawAsOneBatchInTheirOrder)
{
    const std::string frames =
        R"(, "spritesource": {"name": "strip", "source": "Assets/Art/strip.png", "setting": 9728, "cols": 2,
        "rows": 1})";
    // A two-frame strip: red on the left half, blue on the right.
    const unsigned char strip[] = {255, 0, 0, 255, 0, 0, 255, 255};
    ASSERT_NE(stbi_write_png("Assets/Art/strip.png", 2, 1, 4, strip, 0), 0);
    const std::string half = R"("mesh": {"type": "quad", "name": "half", "halfsizex": 0.5, "halfsizey": 0.5, "u": 2,
        "v": 1}, "shader": {"name": "default"})";
    Entity* first = Read(SpriteEntity(half + frames, {-200, 0}, {100, 100}));
    Entity* second = Read(SpriteEntity(half + frames + R"(, "frameindex": 1)", {0, 0}, {100, 100}));
    Entity* third = Read(SpriteEntity(half + frames + ", " + Tint(0.5f, 0, 1), {40, 0}, {100, 100}));
    Clear();
    SpriteBatch::ResetCounts();
    for (Entity* e : {first, second, third})
        e->Render();
    EXPECT_EQ(SpriteBatch::GetCounts().draws, 0u) << "queued until something needs them on screen";
    EXPECT_TRUE(NearColour(PixelAt({-200, 0}), {255, 0, 0, 255})) << "frame 0";
    EXPECT_TRUE(NearColour(PixelAt({-20, 0}), {0, 0, 255, 255})) << "frame 1";
    EXPECT_TRUE(NearColour(PixelAt({20, 0}), {128, 0, 0, 255})) << "the later sprite on top, in its own tint";
    EXPECT_TRUE(NearColour(PixelAt({80, 0}), {128, 0, 0, 255}));
    EXPECT_EQ(SpriteBatch::GetCounts().draws, 1u);
    EXPECT_EQ(SpriteBatch::GetCounts().instances, 3u);
}

TEST_F(SpriteDrawTest, AClearTintIsSkippedOnlyWhereBlendingWouldIgnoreIt)
{
    Clear();
    Draw(Quad(0, 0, 100, Tint(1, 0, 0)));
    SpriteBatch::ResetCounts();
    Draw(Quad(0, 0, 100, Tint(0, 1, 0, 0.0f)));
    EXPECT_TRUE(NearColour(PixelAt({0, 0}), {255, 0, 0, 255}));
    EXPECT_EQ(SpriteBatch::GetCounts().instances, 0u) << "alpha blending: not even queued";

    // Added or replacing, a clear tint still changes the picture, so it is drawn.
    Draw(Quad(0, 0, 100, Tint(0, 1, 0, 0.0f) + R"(, "blendmode": 2)"));
    EXPECT_TRUE(NearColour(PixelAt({0, 0}), {255, 255, 0, 255})) << "additive";
    Draw(Quad(0, 0, 100, Tint(0, 0, 1, 0.0f) + R"(, "blendmode": 0)"));
    const glm::ivec4 replaced = PixelAt({0, 0});
    EXPECT_TRUE(replaced.r < 3 && replaced.g < 3 && replaced.b > 250) << "blending off";
    EXPECT_EQ(SpriteBatch::GetCounts().instances, 2u);
}
