#include "TestSupport.h"

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>
#include <stb_image.h>

#include <cstdlib>
#include <sys/wait.h>

using ::testing::HasSubstr;
using ::testing::Not;

namespace
{
// The game binary with its output kept beside the trace for failing runs.
int RunGame(const std::string& arguments)
{
    const std::string command = std::string(GLOAMER_GAME_BINARY) + " " + arguments + " >output.txt 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Image
{
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;

    // Pixels of a rectangle (image coordinates, y down) whose channels add up to more
    // than `threshold`.
    int Lit(int x0, int y0, int x1, int y1, int threshold = 90) const
    {
        int lit = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
            {
                const unsigned char* p = &rgba[static_cast<std::size_t>((y * width + x) * 4)];
                if (p[0] + p[1] + p[2] > threshold)
                    ++lit;
            }
        return lit;
    }
};

Image LoadPng(const std::string& path)
{
    Image image;
    int channels = 0;
    unsigned char* pixels = stbi_load(path.c_str(), &image.width, &image.height, &channels, 4);
    if (pixels)
    {
        image.rgba.assign(pixels, pixels + image.width * image.height * 4);
        stbi_image_free(pixels);
    }
    return image;
}
} // namespace

// The real binary in a scratch copy of the content tree, under whatever display the
// tests run with (Xvfb in CI).
class GameEndToEndTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        CopyContent();
        _data = "--data " + _scratch.string();
    }

    std::string Output() const { return test::ReadFile(_scratch / "output.txt"); }

    std::string _data;
};

TEST_F(GameEndToEndTest, StartsAtTheSplashScreenShowsTheLogoAndSavesVsync)
{
    std::filesystem::remove("Data/Data/dat_vsync.json");
    // F11 twice, through the scripted-input path: fullscreen, then a window of 99 % of
    // the 1920 x 1080 screen.
    test::WriteFile("input.json", R"([{"frame": 3, "press": [300]}, {"frame": 4, "release": [300]},
                                      {"frame": 6, "press": [300], "cursor": {"x": 100, "y": 100}},
                                      {"frame": 7, "release": [300]}])");
    ASSERT_EQ(RunGame(_data + " --windowed --fixed-dt 0.016 --seed 7 --frames 40 --input input.json" +
                      " --screenshot 30:shot.png"),
              0)
        << Output();

    const Image shot = LoadPng((_scratch / "shot.png").string());
    ASSERT_EQ(shot.width, 1900);
    ASSERT_EQ(shot.height, 1069);
    // The logo's letters stand above the centre; the corners stay dark.
    EXPECT_GT(shot.Lit(570, 345, 1330, 430), 15000);
    EXPECT_EQ(shot.Lit(0, 0, 200, 200), 0);
    EXPECT_EQ(shot.Lit(1700, 869, 1900, 1069), 0);
    // Fog drifts over the dark background between them.
    EXPECT_GT(shot.Lit(200, 450, 500, 750, 25), 1000);

    const std::string trace = test::ReadFile("Trace.log");
    EXPECT_THAT(trace, HasSubstr("Scene splash_screen Init"));
    EXPECT_THAT(trace, HasSubstr("Screenshot of frame 30"));
    EXPECT_THAT(trace, Not(HasSubstr("archetype"))) << "both transition panels ship";
    EXPECT_EQ(nlohmann::json::parse(test::ReadFile("Data/Data/dat_vsync.json")), nlohmann::json({{"vsync", 1}}));
}

TEST_F(GameEndToEndTest, DataTheGameCannotRunWithoutStopsItWithStatusOne)
{
    const std::string headless = _data + " --headless --fixed-dt 0.016 --frames 3";

    test::WriteFile("Data/Level/unknown_shader.json",
                    R"({"entities": [{"components": {"sprite": {"shader": {"name": "velvet"}}}}]})");
    EXPECT_EQ(RunGame(headless + " --scene unknown_shader"), 1);
    EXPECT_THAT(Output(), HasSubstr("Shader could not be found: \"velvet\""));

    test::WriteFile("Data/Level/unknown_mesh.json",
                    R"({"entities": [{"components": {"sprite": {"mesh": {"type": "cube", "name": "c"}}}}]})");
    EXPECT_EQ(RunGame(headless + " --scene unknown_mesh"), 1);
    EXPECT_THAT(Output(), HasSubstr("Type does not exist or is mispelled"));

    test::WriteFile("Data/Shaders/shaders.json", "[]");
    EXPECT_EQ(RunGame(headless), 1);
    EXPECT_THAT(Output(), HasSubstr("Data/Shaders/shaders.json: the shader table holds no usable entry"));

    std::filesystem::remove("Data/Shaders/shaders.json");
    EXPECT_EQ(RunGame(headless), 1);
    EXPECT_THAT(Output(), HasSubstr("Data/Shaders/shaders.json: cannot open the shader table"));
}

TEST_F(GameEndToEndTest, AShaderThatDoesNotCompileStopsTheGameWithItsReport)
{
    test::WriteFile("Shaders/PixelShaderFog.glsl", "#version 330 core\nvoid main() { fog everywhere }\n");
    EXPECT_EQ(RunGame(_data + " --windowed --frames 3"), 1);
    const std::string output = Output();
    EXPECT_THAT(output, HasSubstr("Failed to compile the vertex stage: "));
    EXPECT_THAT(output, HasSubstr("File: Pixel Shader: Shaders/PixelShaderFog.glsl Failed to Compile"));
    EXPECT_THAT(test::ReadFile("Trace.log"), HasSubstr("Fatal: Pixel Shader: Shaders/PixelShaderFog.glsl"));
}
