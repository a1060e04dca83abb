#include "TestSupport.h"
#include "e2e/GameRun.h"

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>
#include <stb_image.h>

#include <memory>

using e2e::RunGame;
using ::testing::HasSubstr;

namespace
{
// Scripted steps that type `word` from `frame` on, a key every three frames.
void Type(nlohmann::json& steps, long long& frame, const std::string& word)
{
    for (const char c : word)
    {
        steps.push_back({{"frame", frame}, {"press", {static_cast<int>(c)}}});
        steps.push_back({{"frame", frame + 1}, {"release", {static_cast<int>(c)}}});
        frame += 3;
    }
}
} // namespace

class DebugToolsEndToEndTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        CopyContent();
    }
};

TEST_F(DebugToolsEndToEndTest, TypedCheatsGatherAHeatmapOpenTheDebugWindowAndQuit)
{
    nlohmann::json steps = nlohmann::json::array();
    long long frame = 5;
    Type(steps, frame, "THERMAL");
    frame += 30;
    Type(steps, frame, "THERMAL");
    frame += 10;
    steps.push_back({{"frame", frame}, {"press", {290}}, {"cursor", {{"x", 960}, {"y", 430}}}});
    steps.push_back({{"frame", frame + 1}, {"release", {290}}});
    const long long inspected = frame + 5;
    frame += 10;
    Type(steps, frame, "CLOSE");
    test::WriteFile("input.json", steps.dump());

    ASSERT_EQ(RunGame("--data " + _scratch.string() + " --windowed --fixed-dt 0.016 --seed 3 --frames 5000" +
                      " --input input.json --screenshot 20:before.png --screenshot " + std::to_string(inspected) +
                      ":inspected.png"),
              0)
        << test::ReadFile("output.txt");

    const std::string trace = test::ReadFile("Trace.log");
    EXPECT_THAT(trace, HasSubstr("Cheat: Gather Heatmap"));
    EXPECT_THAT(trace, HasSubstr("Heatmap written: Data/Heatmaps/Heatmap_"));
    EXPECT_THAT(trace, HasSubstr("Cheat: Close"));
    EXPECT_EQ(test::Count(trace, "Screenshot of frame"), 2u) << "the game quit long before its frame limit";
    const std::filesystem::directory_iterator heatmaps("Data/Heatmaps");
    ASSERT_EQ(std::distance(begin(heatmaps), end(heatmaps)), 1);

    // The inspector's window sits in the top-left corner, which the splash leaves dark.
    const auto litCorner = [&](const char* file)
    {
        int width = 0, height = 0, channels = 0;
        std::unique_ptr<unsigned char, void (*)(void*)> shot(
            stbi_load((_scratch / file).c_str(), &width, &height, &channels, 4), &stbi_image_free);
        EXPECT_NE(shot, nullptr) << file;
        int count = 0;
        for (int y = 0; shot && y < 300; ++y)
            for (int x = 0; x < 300; ++x)
            {
                const unsigned char* p = shot.get() + (y * width + x) * 4;
                count += p[0] + p[1] + p[2] > 150 ? 1 : 0;
            }
        return count;
    };
    EXPECT_GT(litCorner("inspected.png"), 500);
    EXPECT_EQ(litCorner("before.png"), 0) << "nothing is drawn before it is opened";
}
