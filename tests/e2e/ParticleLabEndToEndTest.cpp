#include "TestSupport.h"

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>
#include <stb_image.h>

#include <cstdlib>
#include <memory>
#include <sys/wait.h>

using ::testing::HasSubstr;
using ::testing::Not;

namespace
{
const nlohmann::json* FindEntity(const nlohmann::json& scene, const std::string& name)
{
    for (const nlohmann::json& e : scene["entities"])
        if (e.value("name", "") == name)
            return &e;
    return nullptr;
}
} // namespace

class ParticleLabEndToEndTest : public test::ScratchTest
{
};

// The shipped lab level: both creature figures, the embers and the smoking lamp come up
// from the shipped data, glow where they stand and report nothing wrong.
TEST_F(ParticleLabEndToEndTest, TheFiguresAndEmittersOfTheLabComeAlive)
{
    CopyContent();
    const std::string command = std::string(GLOAMER_GAME_BINARY) + " --data " + _scratch.string() +
                                " --windowed --fixed-dt 0.016 --seed 3 --frames 70 --scene particlelab" +
                                " --dump 60:lab.json --screenshot 60:lab.png >output.txt 2>&1";
    const int status = std::system(command.c_str());
    const std::string output = test::ReadFile(_scratch / "output.txt");
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
    EXPECT_THAT(output, Not(HasSubstr("sprite_dummy")));
    EXPECT_THAT(output, Not(HasSubstr("keyframe")));
    EXPECT_THAT(output, Not(HasSubstr("Data/Particles")));
    EXPECT_THAT(output, Not(HasSubstr("particle rig")));

    const nlohmann::json dump = nlohmann::json::parse(test::ReadFile(_scratch / "lab.json"));
    const nlohmann::json& scene = dump["scenes"].back();
    ASSERT_EQ(scene["name"], "particlelab");

    const nlohmann::json* walking = FindEntity(scene, "figure_walking");
    ASSERT_NE(walking, nullptr);
    const nlohmann::json& rig = (*walking)["components"]["particlerig"];
    ASSERT_EQ(rig["body"].size(), 2u);
    EXPECT_EQ(rig["body"][0]["current keyframe"], "torso");
    EXPECT_EQ(rig["body"][1]["current keyframe"], "legs");
    std::vector<std::string> names;
    for (const nlohmann::json& keyframe : rig["library"])
        names.push_back(keyframe["name"]);
    EXPECT_THAT(names, ::testing::UnorderedElementsAre("torso", "torsoflailing", "legs", "legsstill"));
    // Two particles per line every 0.02 s, living half a second: well over a thousand glow.
    EXPECT_GT((*walking)["components"]["particleemitter"]["liveparticles"].get<int>(), 1000);

    const nlohmann::json* flailing = FindEntity(scene, "figure_flailing");
    ASSERT_NE(flailing, nullptr);
    EXPECT_EQ((*flailing)["components"]["particlerig"]["body"][0]["current keyframe"], "torsoflailing");
    for (const char* name : {"embers", "lamp_with_smoke_beneath"})
    {
        const nlohmann::json* e = FindEntity(scene, name);
        ASSERT_NE(e, nullptr) << name;
        EXPECT_GT((*e)["components"]["particleemitter"]["liveparticles"].get<int>(), 10) << name;
    }

    // The walking figure (world -420, 60; screen centre is world 0, 0) glows; the dark
    // between the figures stays dark.
    int width = 0, height = 0, channels = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> shot(
        stbi_load((_scratch / "lab.png").c_str(), &width, &height, &channels, 4), &stbi_image_free);
    ASSERT_NE(shot, nullptr);
    auto lit = [&](int cx, int cy, int half)
    {
        int n = 0;
        for (int y = cy - half; y < cy + half; ++y)
            for (int x = cx - half; x < cx + half; ++x)
            {
                const unsigned char* p = shot.get() + (static_cast<std::size_t>(y) * width + x) * 4;
                n += (p[0] + p[1] + p[2] > 150) ? 1 : 0;
            }
        return n;
    };
    const int cx = width / 2;
    const int cy = height / 2;
    EXPECT_GT(lit(cx - 420, cy - 60, 120), 1000);
    EXPECT_EQ(lit(cx, cy - 60, 60), 0);
}
