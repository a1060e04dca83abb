#include "TestSupport.h"

#include "data/Entity.h"
#include "render/ParticleEmitter.h"
#include "scene/ParticleRig.h"

#include <gmock/gmock.h>

#include <cmath>

using ::testing::HasSubstr;

namespace
{
// One keyframe "arm" whose single line swings from (0,0)-(10,0) to (0,0)-(0,10), and a
// keyframe "bad" whose frames disagree on their number of lines.
const char* kFigure = R"({
    "particlesperline": 3, "timedelay": 0.5, "amplitude": 0,
    "library": [
        {"name": "arm",
         "frame 1": {"lines": [{"start": {"x": 0, "y": 0}, "end": {"x": 10, "y": 0}}]},
         "frame 2": {"lines": [{"start": {"x": 0, "y": 0}, "end": {"x": 0, "y": 10}}]}},
        {"name": "bad",
         "frame 1": {"lines": [{"start": {"x": 0, "y": 0}, "end": {"x": 1, "y": 0}}]},
         "frame 2": "empty"}
    ],
    "body": [{"rotationdelay": 1, "current keyframe": "arm"}]
})";

// A rig over an emitter that spawns where it is told, on an entity at `at`.
struct Rigged
{
    explicit Rigged(const std::string& rigJson, glm::vec2 at = {0.0f, 0.0f}) : entity("figure")
    {
        entity.GetTransform().SetTranslation(at);
        emitter = static_cast<ParticleEmitter*>(entity.AddComponent(std::make_unique<ParticleEmitter>()));
        emitter->Read(json::parse(R"({"useparentpos": false, "maxparticles": 100,
            "particleproperties": {"posvariation": {"x": 0, "y": 0}, "lifetime": 50}})"));
        rig = static_cast<ParticleRig*>(entity.AddComponent(std::make_unique<ParticleRig>()));
        rig->Read(json::parse(rigJson));
        entity.Init();
    }

    Entity entity;
    ParticleEmitter* emitter = nullptr;
    ParticleRig* rig = nullptr;
};
} // namespace

using ParticleRigTest = test::ScratchTest;

TEST(ParticleRigMath, TheBlendIsSmoothstepAndZeroAmplitudeHoldsTheMiddle)
{
    EXPECT_FLOAT_EQ(ParticleRig::BlendFactor(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(ParticleRig::BlendFactor(1.0f), 1.0f);
    EXPECT_FLOAT_EQ(ParticleRig::BlendFactor(0.5f), 0.5f);
    EXPECT_NEAR(ParticleRig::BlendFactor(0.25f), 0.15625f, 1e-6f);
    EXPECT_NEAR(ParticleRig::BlendFactor(0.8f), 3 * 0.64f - 2 * 0.512f, 1e-6f);
}

TEST(ParticleRigMath, RotationDelayOneFollowsAtOnceZeroFreezesAndHalfMeetsMidway)
{
    EXPECT_NEAR(ParticleRig::LaggedRotation(10.0f, 70.0f, 1.0f), 70.0f, 1e-4f);
    EXPECT_NEAR(ParticleRig::LaggedRotation(10.0f, 70.0f, 0.0f), 10.0f, 1e-4f);
    EXPECT_NEAR(ParticleRig::LaggedRotation(0.0f, 90.0f, 0.5f), 45.0f, 1e-4f);
    EXPECT_NEAR(ParticleRig::LaggedRotation(0.0f, -90.0f, 0.5f), -45.0f, 1e-4f);
    // Headings that cancel leave the old rotation rather than an angle of nothing.
    const float opposite = ParticleRig::LaggedRotation(0.0f, 180.0f, 0.5f);
    EXPECT_FALSE(std::isnan(opposite));
    EXPECT_NEAR(opposite, 0.0f, 1e-3f);
}

TEST_F(ParticleRigTest, ZeroAmplitudeBlendsHalfWayAndTheOwnerPlacesTheLines)
{
    Rigged r(kFigure, {100.0f, 50.0f});
    r.entity.GetTransform().SetRotation(90.0f);
    r.rig->Update(0.1f);
    EXPECT_FLOAT_EQ(r.rig->GetBlend(), 0.5f);
    const RigSegment& arm = r.rig->Body()[0];
    EXPECT_NEAR(arm.rotation, 90.0f, 1e-4f);
    ASSERT_EQ(arm.worldLines._lines.size(), 1u);
    // Half way, (5, 5), turned a quarter left, then moved to the owner.
    EXPECT_NEAR(arm.worldLines._lines[0]._start.x, 100.0f, 1e-4f);
    EXPECT_NEAR(arm.worldLines._lines[0]._start.y, 50.0f, 1e-4f);
    EXPECT_NEAR(arm.worldLines._lines[0]._end.x, 95.0f, 1e-4f);
    EXPECT_NEAR(arm.worldLines._lines[0]._end.y, 55.0f, 1e-4f);
}

TEST_F(ParticleRigTest, BurstsSprayEveryLineAtTheIntervalThroughTheEmitter)
{
    Rigged r(kFigure);
    r.rig->Update(0.1f);
    EXPECT_EQ(r.emitter->AliveCount(), 3u) << "the first update bursts, three particles on the one line";
    for (const Particle& p : r.emitter->Pool())
        if (p.alive)
        {
            // On the blended line from (0, 0) to (5, 5).
            EXPECT_NEAR(p.position.x, p.position.y, 1e-4f);
            EXPECT_GE(p.position.x, 0.0f);
            EXPECT_LE(p.position.x, 5.0f);
        }
    r.rig->Update(0.3f);
    EXPECT_EQ(r.emitter->AliveCount(), 3u) << "0.5 s between bursts";
    r.rig->Update(0.3f);
    EXPECT_EQ(r.emitter->AliveCount(), 6u);

    // An extra spray outside the rhythm: two more on the one line, the timer untouched.
    r.rig->EmitAlongLines(2);
    EXPECT_EQ(r.emitter->AliveCount(), 8u);
    r.rig->Update(0.3f);
    EXPECT_EQ(r.emitter->AliveCount(), 8u);
}

TEST_F(ParticleRigTest, UnequalFramesNeverEmitAndAnUnknownNameIsReportedOnce)
{
    std::string figure = kFigure;
    figure.replace(figure.find(R"("current keyframe": "arm")"), 25, R"("current keyframe": "bad")");
    figure.replace(figure.find(R"("body": [)") + 9, 0, R"({"rotationdelay": 0, "current keyframe": "wing"}, )");
    Rigged r(figure);
    ASSERT_EQ(r.rig->Body().size(), 2u);
    EXPECT_EQ(r.rig->Body()[0].keyframe, -1);
    for (int i = 0; i < 20; ++i)
        r.rig->Update(0.1f);
    EXPECT_EQ(r.emitter->AliveCount(), 0u);
    EXPECT_TRUE(r.rig->Body()[1].worldLines._lines.empty());
    EXPECT_EQ(test::Count(test::ReadTrace(), "\"wing\""), 1u);

    // The segment comes alive once pointed at a proper pair.
    EXPECT_TRUE(r.rig->SetKeyFrame(1, "arm"));
    r.rig->Update(0.1f);
    EXPECT_EQ(r.emitter->AliveCount(), 3u);
}

TEST_F(ParticleRigTest, ADelayOfZeroKeepsTheSegmentFacingWhereItWas)
{
    std::string figure = kFigure;
    figure.replace(figure.find(R"("rotationdelay": 1)"), 18, R"("rotationdelay": 0)");
    Rigged r(figure);
    r.entity.GetTransform().SetRotation(120.0f);
    for (int i = 0; i < 5; ++i)
        r.rig->Update(0.1f);
    EXPECT_FLOAT_EQ(r.rig->Body()[0].rotation, 0.0f);
    EXPECT_NEAR(r.rig->Body()[0].worldLines._lines[0]._end.x, 5.0f, 1e-4f);
}

TEST_F(ParticleRigTest, TheFigureComesFromARigFileAndWritesBackTheSame)
{
    test::WriteFile("Data/Particles/arm.json", kFigure);
    Rigged r(R"({"rig": "arm", "timedelay": 2})");
    ASSERT_EQ(r.rig->Body().size(), 1u);
    EXPECT_EQ(r.rig->Body()[0].keyframe, 0);
    EXPECT_EQ(r.rig->Library().size(), 2u);
    json j;
    r.rig->Write(j);
    EXPECT_EQ(j["rig"], "arm");
    EXPECT_EQ(j["body"][0]["current keyframe"], "arm");
    EXPECT_FLOAT_EQ(j["timedelay"].get<float>(), 2.0f) << "the component's own keys win over the file";
    EXPECT_EQ(j["particlesperline"], 3);

    auto copy = r.rig->Clone();
    json cloned;
    copy->Write(cloned);
    EXPECT_EQ(j, cloned);
}

TEST_F(ParticleRigTest, AMissingOrBrokenRigFileLeavesAnEmptyFigureAndSaysWhere)
{
    Rigged missing(R"({"rig": "nothing"})");
    EXPECT_TRUE(missing.rig->Body().empty());
    test::WriteFile("Data/Particles/broken.json", R"({"library": 4})");
    Rigged broken(R"({"rig": "broken"})");
    EXPECT_TRUE(broken.rig->Library().empty());
    const std::string trace = test::ReadTrace();
    EXPECT_THAT(trace, HasSubstr("Data/Particles/nothing.json"));
    EXPECT_THAT(trace, HasSubstr("Data/Particles/broken.json"));
    for (int i = 0; i < 3; ++i)
        broken.rig->Update(0.1f);
}
