#include "gl/GlTest.h"

#include "physics/VisibilityFan.h"
#include "render/LightUniforms.h"
#include "render/Lighting.h"
#include "render/RenderState.h"
#include "render/SceneLights.h"
#include "render/Sprite.h"

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
             const void* owner)
{
    FanWork work;
    fan::Build(origin, walls, {}, work);
    SceneLights::Flashlight beam;
    beam._coneA = fan::Rotate((aim - origin) * 100000.0f, 24.0f);
    beam._coneB = fan::Rotate((aim - origin) * 100000.0f, -24.0f);
    beam._radius = 820.0f;
    beam._factor = 1.6f;
    beam._falloff = 0.3f;
    beam._innerFalloff = 0.5f;
    beam._innerRadius = 30.0f;
    lights.AddFlashlight(beam, work._fan, owner);
}

int Brightness(const glm::ivec4& pixel)
{
    return pixel.r + pixel.g + pixel.b;
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
