#include "TestSupport.h"

#include "core/Cheats.h"
#include "data/Entity.h"
#include "render/LightUniforms.h"
#include "render/Lighting.h"
#include "render/SceneLights.h"

#include <gmock/gmock.h>

#include <cmath>

using ::testing::HasSubstr;

namespace
{
constexpr float kRad = 0.017453292f;

std::unique_ptr<Entity> Lamp(const std::string& lighting, glm::vec2 at = {0.0f, 0.0f})
{
    auto e = Entity::FromJson(json::parse(R"({"name": "lamp", "transform": {"translation": {"x": )" +
                                          std::to_string(at.x) + R"(, "y": )" + std::to_string(at.y) +
                                          R"(}}, "components": {"lighting": )" + lighting + "}}"),
                              "lamp.json");
    if (e)
        e->Init();
    return e;
}

Lighting& LightOf(Entity& e)
{
    return *e.Get<Lighting>(ctype::Lighting);
}

void ExpectColour(const glm::vec4& actual, const glm::vec4& expected)
{
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-5f) << "channel " << i;
}
} // namespace

class LightingTest : public test::ScratchTest
{
};

TEST_F(LightingTest, ConesPackBothEdgesAndAPointLightUploadsZero)
{
    EXPECT_EQ(LightCone(0.0f, 123.0f), glm::vec4(0.0f));

    const glm::vec4 cone = LightCone(30.0f, 90.0f);
    EXPECT_NEAR(cone.x, std::cos(120.0f * kRad) * 100000.0f, 1.0f);
    EXPECT_NEAR(cone.y, std::sin(120.0f * kRad) * 100000.0f, 1.0f);
    EXPECT_NEAR(cone.z, std::cos(60.0f * kRad) * 100000.0f, 1.0f);
    EXPECT_NEAR(cone.w, std::sin(60.0f * kRad) * 100000.0f, 1.0f);

    auto lamp = Lamp(R"({"radius": 300, "coneangle": 20, "conedirection": 0, "offset": {"x": 5, "y": -5}})", {100, 50});
    ASSERT_NE(lamp, nullptr);
    SceneLights lights;
    LightOf(*lamp).AppendTo(lights);
    ASSERT_EQ(lights.LightCount(), 1u);
    EXPECT_EQ(lights._positions[0], glm::vec2(105.0f, 45.0f)) << "follows its owner, plus the offset";
    EXPECT_EQ(lights._cones[0], LightCone(20.0f, 0.0f));
    EXPECT_EQ(lights._radii[0], 300.0f);
}

TEST_F(LightingTest, FlickerFollowsThePatternAndItsFirstLitCharacterFadesIn)
{
    // Index 0 looks back to pattern[20], a dark one: the first 'm' ramps up.
    EXPECT_FLOAT_EQ(Lighting::FlickerLevel(0, 0.025f, 0.1f, 2.0f), 0.5f);
    EXPECT_FLOAT_EQ(Lighting::FlickerLevel(0, 0.09f, 0.1f, 2.0f), 1.0f) << "clamped";
    // Index 1 is lit between a lit and a dark one: it fades out.
    EXPECT_FLOAT_EQ(Lighting::FlickerLevel(1, 0.025f, 0.1f, 2.0f), 0.5f);
    EXPECT_FLOAT_EQ(Lighting::FlickerLevel(2, 0.05f, 0.1f, 2.0f), 0.0f) << "dark";
    EXPECT_FLOAT_EQ(Lighting::FlickerLevel(7, 0.05f, 0.1f, 2.0f), 1.0f) << "lit on both sides";
    EXPECT_FLOAT_EQ(Lighting::FlickerLevel(25, 0.025f, 0.1f, 2.0f), 0.5f) << "the pattern repeats";

    auto lamp = Lamp(R"({"color": {"r": 1, "g": 0.5, "b": 0.25, "a": 1}, "flashrate": 0.1, "ramp": 1, "effect": 1})");
    ASSERT_NE(lamp, nullptr);
    Lighting& light = LightOf(*lamp);
    light.Update(0.05f);
    ExpectColour(light.GetCurrentColour(), {0.5f, 0.25f, 0.125f, 0.5f});
    light.Update(0.05f); // reaches the character's length: on to index 1
    light.Update(0.08f); // index 1 fades out: 1 - 0.8
    ExpectColour(light.GetCurrentColour(), {0.2f, 0.1f, 0.05f, 0.2f});
    light.Update(0.03f); // past the character's length: on to index 2, a dark one
    light.Update(0.01f);
    ExpectColour(light.GetCurrentColour(), glm::vec4(0.0f));
}

TEST_F(LightingTest, PulseSteadyAndDiscoColours)
{
    auto pulse = Lamp(R"({"color": {"r": 1, "g": 1, "b": 1, "a": 1}, "flashrate": 2, "effect": 0})");
    LightOf(*pulse).Update(0.25f);
    const float k = 0.5f * std::sin(0.5f) + 0.5f;
    ExpectColour(LightOf(*pulse).GetCurrentColour(), glm::vec4(k));

    auto steady = Lamp(R"({"color": {"r": 0.3, "g": 0.2, "b": 0.1, "a": 1}, "flashrate": 0, "effect": 1})");
    LightOf(*steady).Update(0.3f);
    ExpectColour(LightOf(*steady).GetCurrentColour(), {0.3f, 0.2f, 0.1f, 1.0f});

    Cheats::SetQuery([](std::string_view name) { return name == "Disco"; });
    LightOf(*steady).Update(0.1f);
    Cheats::SetQuery(nullptr);
    EXPECT_TRUE(LightOf(*steady).IsDisco());
    ExpectColour(LightOf(*steady).GetCurrentColour(),
                 {std::sin(1.0f) + 0.5f, std::sin(1.0f + 1.5707963f) + 0.5f, std::sin(1.0f + 3.1415927f) + 0.5f, 1.0f});
    LightOf(*steady).Update(0.1f);
    EXPECT_TRUE(LightOf(*steady).IsDisco()) << "stays on until the cheat comes again";
}

TEST_F(LightingTest, ANegativeRadiusIsReportedAndTheLightSkipped)
{
    auto lamp = Lamp(R"({"radius": -40, "factor": 1})");
    ASSERT_NE(lamp, nullptr);
    SceneLights lights;
    LightOf(*lamp).AppendTo(lights);
    EXPECT_EQ(lights.LightCount(), 0u);
    EXPECT_THAT(test::ReadTrace(), HasSubstr("/components/lighting/radius: a light's radius cannot be negative"));
}

TEST(SceneLightsTest, FlashlightMarksCountEachFansLastVertexAndAFlashlightGoesInOnce)
{
    SceneLights lights;
    const int first = 1;
    const int second = 2;
    const std::vector<glm::vec2> lone = {{0, 0}};
    const std::vector<glm::vec2> five = {{10, 10}, {1, 0}, {2, 0}, {3, 0}, {4, 0}};
    SceneLights::Flashlight f;
    f._radius = 500.0f;
    lights.AddFlashlight(f, lone, &first);
    f._radius = 600.0f;
    lights.AddFlashlight(f, five, &second);
    lights.AddFlashlight(f, five, &second);
    EXPECT_EQ(lights._vertCount, (std::vector<int>{0, 0, 5}));
    EXPECT_EQ(lights._fan.size(), 6u);
    EXPECT_EQ(lights._coneEdges.size(), 4u);
    EXPECT_EQ(lights._flashRadii, (std::vector<float>{500.0f, 600.0f}));

    const std::uint64_t generation = lights._generation;
    lights.Clear();
    EXPECT_EQ(lights.FlashlightCount(), 0u);
    EXPECT_TRUE(lights._vertCount.empty());
    EXPECT_GT(lights._generation, generation);
}

TEST_F(LightingTest, FlashlightsBeyondTheProgramLimitsAreLeftOutAndReportedOnce)
{
    SceneLights lights;
    const int owners[6] = {};
    const std::vector<glm::vec2> small(10, glm::vec2(0.0f));
    for (int i = 0; i < 5; ++i)
        lights.AddFlashlight({}, small, &owners[i]);
    EXPECT_EQ(LightUniforms::FittingFlashlights(lights), LightUniforms::kMaxFlashlights);
    LightUniforms::Use(&lights);
    EXPECT_EQ(LightUniforms::DrawnFlashlights(), 4);
    LightUniforms::Use(&lights);
    LightUniforms::Use(nullptr);
    EXPECT_EQ(LightUniforms::DrawnFlashlights(), 0);

    // A fan that would run past the vertex store stops the count at the one before it.
    SceneLights big;
    big.AddFlashlight({}, small, &owners[0]);
    big.AddFlashlight({}, std::vector<glm::vec2>(LightUniforms::kMaxFanVertices, glm::vec2(1.0f)), &owners[1]);
    EXPECT_EQ(LightUniforms::FittingFlashlights(big), 1u);

    const std::string trace = test::ReadTrace();
    EXPECT_EQ(test::Count(trace, "flashlights beyond what the lit programs hold"), 1u) << trace;
}
