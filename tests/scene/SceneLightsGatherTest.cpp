#include "TestSupport.h"

#include "render/LightUniforms.h"
#include "render/Lighting.h"
#include "scene/Flashlight.h"
#include "scene/Scene.h"

#include <gmock/gmock.h>

#include <sstream>

namespace
{
// Lamps in a row, a torch between two walls that cast shadows and one that does not.
std::string Level(int lamps)
{
    std::ostringstream out;
    out << R"({"entities": [)";
    for (int i = 0; i < lamps; ++i)
        out << R"({"name": "lamp)" << i << R"(", "transform": {"translation": {"x": )" << i * 10
            << R"(, "y": 0}}, "components": {"lighting": {"radius": )" << 100 + i << R"(, "factor": 1, "coneangle": )"
            << (i % 2) * 15 << "}}},";
    out << R"({"name": "torch", "components": {"flashlight": {"radius": 700}}},
        {"name": "wall", "components": {"collider": {"type": 1, "castshadows": true, "shape": {"sides": [
            {"start": {"x": 200, "y": 100}, "end": {"x": -200, "y": 100}}]}}}},
        {"name": "glass", "components": {"collider": {"type": 1, "castshadows": false, "shape": {"sides": [
            {"start": {"x": 200, "y": -100}, "end": {"x": -200, "y": -100}}]}}}}
    ]})";
    return out.str();
}

// What a sprite draw would gather for itself: every entity's light, then its flashlight.
SceneLights GatherForOneDraw(const Scene& scene)
{
    SceneLights lights;
    for (const auto& e : scene.GetEntities().Entities())
    {
        if (const auto* light = e->Get<Lighting>(ctype::Lighting))
            light->AppendTo(lights);
        if (const auto* flashlight = e->Get<Flashlight>(ctype::Flashlight))
            flashlight->AppendTo(lights);
    }
    return lights;
}

void ExpectSameArrays(const SceneLights& a, const SceneLights& b)
{
    EXPECT_EQ(a._positions, b._positions);
    EXPECT_EQ(a._radii, b._radii);
    EXPECT_EQ(a._factors, b._factors);
    EXPECT_EQ(a._falloffs, b._falloffs);
    EXPECT_EQ(a._colours, b._colours);
    EXPECT_EQ(a._cones, b._cones);
    EXPECT_EQ(a._innerRadii, b._innerRadii);
    EXPECT_EQ(a._innerFalloffs, b._innerFalloffs);
    EXPECT_EQ(a._lights, b._lights);
    EXPECT_EQ(a._fan, b._fan);
    EXPECT_EQ(a._coneEdges, b._coneEdges);
    EXPECT_EQ(a._vertCount, b._vertCount);
    EXPECT_EQ(a._flashRadii, b._flashRadii);
}
} // namespace

class SceneLightsGatherTest : public test::ScratchTest
{
protected:
    std::unique_ptr<Scene> Load(int lamps)
    {
        test::WriteFile("Data/Level/dark.json", Level(lamps));
        auto scene = std::make_unique<Scene>("dark");
        scene->Init();
        auto* torch = scene->FindEntity("torch")->Get<Flashlight>(ctype::Flashlight);
        torch->_origin = {0.0f, 0.0f};
        torch->_aimPoint = {0.0f, 50.0f};
        scene->Update(1.0f / 60.0f);
        return scene;
    }
};

TEST_F(SceneLightsGatherTest, OneGatherPerFrameHoldsWhatEachDrawWouldGather)
{
    auto scene = Load(3);
    scene->Render();
    const SceneLights& lights = scene->GetLights();
    ASSERT_EQ(lights.LightCount(), 3u);
    EXPECT_EQ(lights._radii, (std::vector<float>{100.0f, 101.0f, 102.0f})) << "entity order";
    EXPECT_EQ(lights._cones[0], glm::vec4(0.0f));
    EXPECT_NE(lights._cones[1], glm::vec4(0.0f));
    ASSERT_EQ(lights.FlashlightCount(), 1u);
    EXPECT_EQ(lights._flashRadii[0], 700.0f);
    // Only the shadow-casting wall enters the fan: its two ends, twice each.
    EXPECT_EQ(lights._fan.size(), 5u);
    EXPECT_EQ(lights._vertCount, (std::vector<int>{0, 4}));
    EXPECT_EQ(LightUniforms::DrawnLights(), 0) << "no set is in use once the scene has drawn";

    for (int draw = 0; draw < 3; ++draw)
        ExpectSameArrays(lights, GatherForOneDraw(*scene));
}

TEST_F(SceneLightsGatherTest, SixtyFiveLightsAreReportedOncePerSceneAndTheFirstSixtyFourDrawn)
{
    auto scene = Load(65);
    scene->Render();
    scene->Update(1.0f / 60.0f);
    scene->Render();
    EXPECT_EQ(scene->GetLights().LightCount(), 65u);
    EXPECT_EQ(scene->GetLights().DrawnLightCount(), 64u);
    LightUniforms::Use(&scene->GetLights());
    EXPECT_EQ(LightUniforms::DrawnLights(), 64);
    EXPECT_EQ(LightUniforms::DrawnFlashlights(), 1);
    LightUniforms::Use(nullptr);
    const std::string trace = test::ReadTrace();
    EXPECT_EQ(test::Count(trace, "Number of lights is greater than shader's static array!"), 1u) << trace;
    EXPECT_THAT(trace, ::testing::HasSubstr("scene 'dark': Number of lights"));

    auto small = Load(64);
    small->Render();
    EXPECT_EQ(test::Count(test::ReadTrace(), "Number of lights is greater"), 1u) << "64 lights are fine";
}
