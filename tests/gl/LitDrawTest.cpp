#include "gl/GlTest.h"

#include "physics/VisibilityFan.h"
#include "render/LightMap.h"
#include "render/LightUniforms.h"
#include "render/Lighting.h"
#include "render/RenderState.h"
#include "render/SceneLights.h"
#include "render/Sprite.h"

#include <glad/gl.h>
#include <gmock/gmock.h>

using test::NearColour;
using test::SpriteEntity;

namespace
{
// A white floor 1200 units across under the lit program.
std::string Floor()
{
    return SpriteEntity(test::kUnitQuad + R"(, "shader": {"name": "lit"})", {0.0f, 0.0f}, {1200.0f, 1000.0f});
}

void AddBeam(SceneLights& lights, const std::vector<LineSegment>& walls, glm::vec2 origin, glm::vec2 aim,
             const void* owner, float factor = 1.6f)
{
    FanWork work;
    fan::Build(origin, walls, {}, work);
    SceneLights::Flashlight beam;
    beam._coneA = fan::Rotate((aim - origin) * 100000.0f, 24.0f);
    beam._coneB = fan::Rotate((aim - origin) * 100000.0f, -24.0f);
    beam._radius = 820.0f;
    beam._factor = factor;
    beam._falloff = 0.3f;
    beam._innerFalloff = 0.5f;
    beam._innerRadius = 30.0f;
    lights.AddFlashlight(beam, work._fan, owner);
}

int Brightness(const glm::ivec4& pixel)
{
    return pixel.r + pixel.g + pixel.b;
}

// The back-buffer pixel at a window position, whatever the viewport.
glm::ivec4 WindowPixel(int x, int y)
{
    unsigned char rgba[4] = {0, 0, 0, 0};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2], rgba[3]};
}
} // namespace

class LitDrawTest : public test::GlTest
{
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        Sprite::AmbientLighting() = 0.0f;
        Sprite::GrainFactor() = 0.0f;
    }

    void DrawUnder(const SceneLights& lights)
    {
        Clear();
        LightUniforms::Use(&lights);
        Draw(Floor());
        LightUniforms::Use(nullptr);
    }

    SceneLights _lights;
};

TEST_F(LitDrawTest, TheBeamLightsWhatItsBulbSeesAndAWallCutsIt)
{
    // The bulb below a short wall that faces it, aiming up; a long wall closes the room above.
    const int owner = 0;
    const LineSegment back{{1000.0f, 400.0f}, {-1000.0f, 400.0f}};
    AddBeam(_lights, {{{60.0f, 0.0f}, {-60.0f, 0.0f}}, back}, {0.0f, -300.0f}, {0.0f, 0.0f}, &owner);
    DrawUnder(_lights);
    EXPECT_GT(Brightness(PixelAt({0, -100})), 300) << "inside the fan and the cone";
    EXPECT_TRUE(NearColour(PixelAt({0, 150}), {0, 0, 0, 255})) << "behind the wall";
    EXPECT_GT(Brightness(PixelAt({200, 300})), 100) << "past the wall's end, inside the cone";
    EXPECT_TRUE(NearColour(PixelAt({-250, -200}), {0, 0, 0, 255})) << "outside the cone";

    // The same short wall seen from behind lets the beam through, up to the long wall.
    _lights.Clear();
    AddBeam(_lights, {{{-60.0f, 0.0f}, {60.0f, 0.0f}}, back}, {0.0f, -300.0f}, {0.0f, 0.0f}, &owner);
    DrawUnder(_lights);
    EXPECT_GT(Brightness(PixelAt({0, 150})), 150);
    EXPECT_TRUE(NearColour(PixelAt({0, 450}), {0, 0, 0, 255})) << "behind the long wall";
}

TEST_F(LitDrawTest, TheCoarserMapKeepsTheBeamsEdgesAtWallsWithinAFewPixels)
{
    // The short wall faces the bulb; light bleeds 3 units past it. Its shadow's side runs
    // from the bulb through the wall's end: 90 units right of the axis at y = 150.
    const int owner = 0;
    AddBeam(_lights, {{{60.0f, 0.0f}, {-60.0f, 0.0f}}}, {0.0f, -300.0f}, {0.0f, 0.0f}, &owner);
    DrawUnder(_lights);
    EXPECT_GT(Brightness(PixelAt({0, -4})), 300) << "just in front of the wall";
    EXPECT_TRUE(NearColour(PixelAt({0, 9}), {0, 0, 0, 255})) << "just behind it";
    EXPECT_TRUE(NearColour(PixelAt({83, 150}), {0, 0, 0, 255})) << "inside the shadow's side";
    EXPECT_GT(Brightness(PixelAt({97, 150})), 150) << "outside it";
}

TEST_F(LitDrawTest, LampsMakePoolsInTheDarkAndTheSwitchShowsEverything)
{
    SceneLights::Light lamp;
    lamp._position = {-300.0f, 0.0f};
    lamp._radius = 200.0f;
    lamp._factor = 1.0f;
    lamp._falloff = 1.0f;
    lamp._colour = {1.0f, 0.5f, 0.0f, 1.0f};
    _lights.AddLight(lamp, &lamp);
    SceneLights::Light cone = lamp;
    cone._position = {300.0f, 0.0f};
    cone._colour = {0.0f, 0.0f, 1.0f, 1.0f};
    cone._cone = LightCone(20.0f, 90.0f); // pointing up
    _lights.AddLight(cone, &cone);
    DrawUnder(_lights);

    const glm::ivec4 near = PixelAt({-300, 40});
    const glm::ivec4 far = PixelAt({-300, 150});
    EXPECT_GT(near.r, far.r) << "fades with distance";
    EXPECT_GT(near.r, 150);
    EXPECT_NEAR(near.g * 2, near.r, 4) << "in the lamp's colour";
    EXPECT_EQ(near.b, 0);
    EXPECT_TRUE(NearColour(PixelAt({0, 0}), {0, 0, 0, 255})) << "dark between the pools";
    EXPECT_GT(PixelAt({300, 60}).b, 100) << "inside the cone";
    EXPECT_TRUE(NearColour(PixelAt({300, -60}), {0, 0, 0, 255})) << "behind the cone";

    RenderState::SetLightsDisabled(true);
    DrawUnder(_lights);
    EXPECT_TRUE(NearColour(PixelAt({0, 0}), {255, 255, 255, 255})) << "full ambient";
}

TEST_F(LitDrawTest, OverlappingBeamsAddUp)
{
    // Two bulbs without walls, both aimed at the origin; the point lies in both cones.
    const int a = 0;
    const int b = 0;
    const glm::vec2 point(0.0f, -50.0f);
    AddBeam(_lights, {}, {-200.0f, -300.0f}, {0.0f, 0.0f}, &a, 0.25f);
    DrawUnder(_lights);
    const glm::ivec4 left = PixelAt(point);
    _lights.Clear();
    AddBeam(_lights, {}, {200.0f, -300.0f}, {0.0f, 0.0f}, &b, 0.25f);
    DrawUnder(_lights);
    const glm::ivec4 right = PixelAt(point);
    _lights.Clear();
    AddBeam(_lights, {}, {-200.0f, -300.0f}, {0.0f, 0.0f}, &a, 0.25f);
    AddBeam(_lights, {}, {200.0f, -300.0f}, {0.0f, 0.0f}, &b, 0.25f);
    DrawUnder(_lights);
    const glm::ivec4 both = PixelAt(point);

    EXPECT_GT(left.r, 30);
    EXPECT_GT(right.r, 30);
    EXPECT_NEAR(both.r, left.r + right.r, 3);
    EXPECT_NEAR(both.b, left.b + right.b, 3);
}

TEST_F(LitDrawTest, TheLightMapFollowsTheViewportAsItShrinksAndGrows)
{
    SceneLights::Light lamp;
    lamp._position = {450.0f, 0.0f};
    lamp._radius = 200.0f;
    lamp._factor = 1.0f;
    lamp._falloff = 1.0f;
    _lights.AddLight(lamp, &lamp);

    // Half the window each way: a world unit is half a pixel, the origin at (480, 270).
    glViewport(0, 0, 960, 540);
    DrawUnder(_lights);
    EXPECT_EQ(LightMap::Size(), glm::ivec2(960, 540) / LightMap::kDownscale);
    EXPECT_GT(WindowPixel(480 + 225, 270 + 20).r, 150) << "the lamp's pool";
    EXPECT_TRUE(NearColour(WindowPixel(480, 270), {0, 0, 0, 255})) << "dark away from it";

    // The same viewport moved right: the map follows what the viewport shows, not the window.
    glViewport(960, 0, 960, 540);
    DrawUnder(_lights);
    EXPECT_EQ(LightMap::Size(), glm::ivec2(960, 540) / LightMap::kDownscale);
    EXPECT_GT(WindowPixel(960 + 480 + 225, 270 + 20).r, 150) << "the lamp's pool";
    EXPECT_TRUE(NearColour(WindowPixel(960 + 480, 270), {0, 0, 0, 255})) << "dark away from it";

    // Back to the whole window: the pool now lies past the edge of the smaller map.
    glViewport(0, 0, 1920, 1080);
    DrawUnder(_lights);
    EXPECT_EQ(LightMap::Size(), glm::ivec2(1920, 1080) / LightMap::kDownscale);
    EXPECT_GT(PixelAt({450.0f, 40.0f}).r, 150);
    EXPECT_TRUE(NearColour(PixelAt({0.0f, 0.0f}), {0, 0, 0, 255}));
}
