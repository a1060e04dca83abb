#include "TestSupport.h"

#include "data/Entity.h"
#include "render/Mesh.h"
#include "render/ShaderSystem.h"
#include "render/Sprite.h"
#include "render/SpriteSource.h"

#include <gmock/gmock.h>

using ::testing::HasSubstr;

TEST(Sprite, ParallaxMovesWithCameraAndDepth)
{
    const glm::vec2 shift = Sprite::ParallaxOffset({100, -40}, {20, 0}, 2);
    EXPECT_NEAR(shift.x, 1.8f, 1e-5f);
    EXPECT_NEAR(shift.y, -0.6f, 1e-5f);
    EXPECT_EQ(Sprite::ParallaxOffset({100, -40}, {20, 0}, 0), glm::vec2(0.0f));
}

// Reading a full sprite without GL: every CPU-side field is filled.
class SpriteReadTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        test::ScratchTest::SetUp();
        test::WriteFile(ShaderSystem::kTablePath,
                        R"([{"name": "default", "vertexfile": "v.glsl", "pixelfile": "p.glsl"}])");
        ASSERT_TRUE(ShaderSystem::Instance().Init());
    }

    Sprite* ReadSprite(const std::string& sprite)
    {
        _entity = Entity::FromJson(json::parse(R"({"components": {"sprite": )" + sprite + "}}"), "test.json");
        return _entity ? _entity->Get<Sprite>(ctype::Sprite) : nullptr;
    }

    std::unique_ptr<Entity> _entity;
};

TEST_F(SpriteReadTest, MeshSourceShaderAndFrameComeTogetherAndWriteReadsThemBack)
{
    Sprite* s = ReadSprite(R"({
        "mesh": {"type": "quad", "name": "bat", "halfsizex": 0.5, "halfsizey": 0.5, "u": 4, "v": 2},
        "spritesource": {"name": "bat", "source": "Assets/Art/bat.png", "cols": 4, "rows": 2},
        "shader": {"name": "default"}, "brightness": 0.25, "frameindex": 6})");
    ASSERT_NE(s, nullptr);
    ASSERT_NE(s->GetMesh(), nullptr);
    ASSERT_NE(s->GetSource(), nullptr);
    EXPECT_EQ(s->GetSource()->GetCols(), 4u);
    EXPECT_EQ(s->GetSource()->GetSetting(), 9729u);
    EXPECT_EQ(s->GetSource()->GetTextureName(), 0u) << "nothing is uploaded without GL";
    EXPECT_EQ(s->GetShader(), ShaderSystem::Instance().Find("default"));
    EXPECT_FLOAT_EQ(s->GetBrightness(), 0.25f);
    EXPECT_FLOAT_EQ(s->GetFrameTransform()[2][0], 0.5f);
    EXPECT_FLOAT_EQ(s->GetFrameTransform()[2][1], 0.5f);
    EXPECT_EQ(SpriteSource::Table().size(), 1u);
    EXPECT_EQ(Mesh::Table().size(), 1u);

    Sprite* disc = ReadSprite(R"({
        "mesh": {"type": "circle", "name": "disc", "divisions": 12},
        "spritesource": {"name": "font", "source": "Assets/Art/font.png", "cols": 16, "rows": 6, "setting": 9728},
        "shader": {"name": "default"}, "brightness": 0.5, "text": "Hi", "textcenter": true, "blendmode": 0,
        "tint": {"r": 0.5, "a": 0.25}, "frameindex": 3, "parallax": true})");
    ASSERT_NE(disc, nullptr);
    EXPECT_EQ(disc->GetTint(), glm::vec4(0.5f, 1.0f, 1.0f, 0.25f)) << "missing channels keep their value";
    json j;
    disc->Write(j);
    EXPECT_EQ(j["mesh"]["type"], "circle");
    EXPECT_EQ(j["shader"]["name"], "default");
    EXPECT_EQ(j["spritesource"]["name"], "font");
    EXPECT_EQ(j["spritesource"]["setting"], 9728);

    Mesh::ClearTable();
    SpriteSource::ClearTable();
    Sprite back;
    back.Read(j);
    EXPECT_EQ(back.GetMesh()->GetGpu()->GetVertexCount(), 36u);
    EXPECT_EQ(back.GetSource()->GetRows(), 6u);
    EXPECT_EQ(back.GetShader(), disc->GetShader());
    EXPECT_FLOAT_EQ(back.GetBrightness(), 0.5f);
    EXPECT_EQ(back.GetText(), "Hi");
    EXPECT_TRUE(back.GetTextCenter());
    EXPECT_EQ(back.GetBlendMode(), 0);
    EXPECT_EQ(back.GetTint(), disc->GetTint());
    EXPECT_EQ(back.GetFrame(), 3u);
    EXPECT_TRUE(back.GetParallax());
}

TEST_F(SpriteReadTest, BrightnessNeedsAShaderAnEmptySourceMeansNoneAndOneImageIsShared)
{
    Sprite* s = ReadSprite(R"({"brightness": 3, "spritesource": {"name": "none", "source": ""},
                               "mesh": {"type": "quad", "name": "q", "u": 1, "v": 1}, "text": "no font"})");
    ASSERT_NE(s, nullptr);
    EXPECT_FLOAT_EQ(s->GetBrightness(), 0.0f);
    EXPECT_EQ(s->GetSource(), nullptr);
    EXPECT_TRUE(SpriteSource::Table().empty());
    s->SetFrame(5);
    EXPECT_EQ(s->GetFrameTransform(), glm::mat3(1.0f)) << "no grid, no frame offset";
    EXPECT_NO_THROW(s->Render()) << "without GL neither the missing shader nor the missing font is looked at";

    Sprite* a = ReadSprite(R"({"spritesource": {"name": "a", "source": "Assets/Art/bat.png", "cols": 1, "rows": 1}})");
    ASSERT_NE(a, nullptr);
    auto first = std::move(_entity);
    Sprite* b = ReadSprite(R"({"spritesource": {"name": "b", "source": "Assets/Art/bat.png", "cols": 2, "rows": 1}})");
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a->GetSource(), b->GetSource());
    EXPECT_EQ(a->GetSource()->GetTexture(), b->GetSource()->GetTexture());
    EXPECT_EQ(Texture::CacheSize(), 1u);
    SpriteSource::ClearTable();
    EXPECT_EQ(Texture::CacheSize(), 0u) << "emptying the sprite-source table empties the texture cache";
    EXPECT_NE(a->GetSource()->GetTexture(), nullptr) << "sprites keep their own reference";
}

TEST_F(SpriteReadTest, CloneKeepsValuesAndSharesMeshAndSourceButNotInstances)
{
    Sprite* s = ReadSprite(R"({"mesh": {"type": "quad", "name": "q", "u": 1, "v": 1},
                               "spritesource": {"name": "s", "source": "x.png", "cols": 1, "rows": 1},
                               "shader": {"name": "default"}})");
    ASSERT_NE(s, nullptr);
    s->Instances().SetCount(12);
    s->SetTint(2.0f, -1.0f, 0.5f, 1.5f);
    EXPECT_EQ(s->GetTint(), glm::vec4(1.0f, 0.0f, 0.5f, 1.0f)) << "tints are clamped";
    s->SetText("x");
    auto clone = s->Clone();
    auto* c = static_cast<Sprite*>(clone.get());
    EXPECT_EQ(c->GetTint(), s->GetTint());
    EXPECT_EQ(c->GetText(), "x");
    EXPECT_EQ(c->GetMesh(), s->GetMesh());
    EXPECT_EQ(c->GetSource(), s->GetSource());
    EXPECT_EQ(c->GetShader(), s->GetShader());
    EXPECT_EQ(c->Instances().GetCount(), 0u);
    EXPECT_TRUE(c->Instances().Buffers().empty());

    EXPECT_EQ(ReadSprite(R"({"textcenter": "yes"})"), nullptr);
    EXPECT_EQ(ReadSprite(R"({"spritesource": {"name": "t", "source": "x.png", "cols": "four"}})"), nullptr);
    EXPECT_EQ(ReadSprite(R"({"shader": "default"})"), nullptr);
    const std::string trace = test::ReadTrace();
    EXPECT_THAT(trace, HasSubstr("test.json: /components/sprite/textcenter: type must be boolean, but is string"));
    EXPECT_THAT(trace, HasSubstr("/components/sprite/spritesource/cols"));
    EXPECT_THAT(trace, HasSubstr("/components/sprite/shader: type must be object, but is string"));
}
