#include "gl/GlTest.h"

#include "render/ParticleEmitter.h"
#include "render/Sprite.h"

#include <glad/gl.h>

using test::NearColour;
using test::Quad;
using test::Tint;

class ParticleDrawTest : public test::GlTest
{
protected:
    // An entity with an emitter (drawing with the shipped particle sprite) that spawns
    // where it is told, particles 40 units across that stand still and keep their colour.
    ParticleEmitter* Emitter(const std::string& extraComponents = "", bool above = true)
    {
        Entity* e = Read(std::string(R"({"name": "sparks", "components": {)") + extraComponents +
                         R"("particleemitter": {"useparentpos": false, "maxparticles": 64, "displayabovesprite": )" +
                         (above ? "true" : "false") + R"(, "particleproperties": {
                "vel": {"x": 0, "y": 0}, "velvariation": {"x": 0, "y": 0}, "sizebegin": 40, "sizeend": 40,
                "sizevariation": 0, "lifetime": 10}}}})");
        if (!e)
            return nullptr;
        e->Init();
        return e->Get<ParticleEmitter>(ctype::ParticleEmitter);
    }

    static void Spawn(ParticleEmitter& emitter, glm::vec2 at, glm::vec4 colour)
    {
        emitter.Properties().colorBegin = emitter.Properties().colorEnd = colour;
        emitter.SetSpawnPoint(at);
        emitter.Emit();
    }
};

TEST_F(ParticleDrawTest, EveryLiveParticleShowsInItsOwnColourFromOneDraw)
{
    ParticleEmitter* emitter = Emitter();
    ASSERT_NE(emitter, nullptr);
    ASSERT_NE(emitter->GetSprite(), nullptr) << "the sprite comes from the sprite_dummy archetype";
    Clear();
    Spawn(*emitter, {-200, 0}, {1, 0, 0, 1});
    Spawn(*emitter, {0, 100}, {0, 1, 0, 1});
    Spawn(*emitter, {300, -150}, {0, 0, 1, 1});
    emitter->Render();
    EXPECT_EQ(emitter->LastDrawCount(), 3u);
    EXPECT_EQ(emitter->GetSprite()->Instances().GetCount(), 3u);
    EXPECT_TRUE(NearColour(test::GlTest::PixelAt({-200, 0}), {255, 0, 0, 255}, 6));
    EXPECT_TRUE(NearColour(test::GlTest::PixelAt({0, 100}), {0, 255, 0, 255}, 6));
    EXPECT_TRUE(NearColour(test::GlTest::PixelAt({300, -150}), {0, 0, 255, 255}, 6));
    EXPECT_EQ(test::GlTest::LitPixels({-60, -60}, {60, 60}), 0) << "nothing where no particle is";
    // Round glows 40 across: lit well inside, dark well outside.
    EXPECT_GT(test::GlTest::LitPixels({-210, -10}, {-190, 10}), 300);
    EXPECT_EQ(test::GlTest::LitPixels({-260, -60}, {-230, -30}), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // Dead particles drop out of the draw; with none alive nothing is drawn at all.
    emitter->Properties().lifeTime = 0.0f;
    Spawn(*emitter, {0, -300}, {1, 1, 1, 1});
    emitter->Update(0.01f);
    Clear();
    emitter->Render();
    EXPECT_EQ(emitter->LastDrawCount(), 3u);
    EXPECT_EQ(test::GlTest::LitPixels({-20, -320}, {20, -280}), 0);
}

TEST_F(ParticleDrawTest, ColourAndSizeRampOverTheLifetime)
{
    ParticleEmitter* emitter = Emitter();
    ASSERT_NE(emitter, nullptr);
    emitter->Properties().sizeEnd = 0.0f;
    emitter->Properties().lifeTime = 2.0f;
    Spawn(*emitter, {0, 0}, {1, 0, 0, 1});
    emitter->Properties().colorEnd = {0, 0, 1, 1};
    emitter->SetSpawnPoint({200, 0});
    emitter->Emit();
    // The second particle ramps from red to blue; half way it is purple and half the size.
    emitter->Update(1.0f);
    Clear();
    emitter->Render();
    EXPECT_TRUE(NearColour(test::GlTest::PixelAt({200, 0}), {128, 0, 128, 255}, 8));
    EXPECT_GT(test::GlTest::LitPixels({190, -5}, {210, 5}), 100);
    EXPECT_EQ(test::GlTest::LitPixels({215, -5}, {225, 5}), 0) << "20 across at half life";
}

TEST_F(ParticleDrawTest, AnEmitterBeneathTheSpriteDrawsFirstOtherwiseOnTop)
{
    const std::string redQuad =
        R"("sprite": {)" + test::kUnitQuad + R"(, "shader": {"name": "default"}, )" + Tint(1, 0, 0) + "}, ";
    for (bool above : {true, false})
    {
        ParticleEmitter* emitter = Emitter(redQuad, above);
        ASSERT_NE(emitter, nullptr);
        Entity* owner = emitter->GetOwner();
        owner->GetTransform().SetScale({100, 100});
        // A big glow centred on the quad's right edge (x = 50): outside it always shows.
        emitter->Properties().sizeBegin = emitter->Properties().sizeEnd = 200.0f;
        Spawn(*emitter, {50, 0}, {0, 1, 0, 1});
        Clear();
        owner->Render();
        const glm::ivec4 green{0, 255, 0, 255};
        const glm::ivec4 overlap = above ? green : glm::ivec4{255, 0, 0, 255};
        EXPECT_TRUE(NearColour(test::GlTest::PixelAt({46, 0}), overlap, 6)) << (above ? "above" : "beneath");
        EXPECT_TRUE(NearColour(test::GlTest::PixelAt({54, 0}), green, 6)) << (above ? "above" : "beneath");
        EXPECT_EQ(emitter->GetDisplayAboveSprite(), above) << "the flag is put back after the early draw";
    }
}
