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
// The game binary with its output kept beside the trace for failing runs; `wrapper`
// is a command line that runs it (a tracer).
int RunGame(const std::string& arguments, const std::string& wrapper = "")
{
    const std::string command = wrapper + std::string(GLOAMER_GAME_BINARY) + " " + arguments + " >output.txt 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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
    // Once the logo has faded in, F11 twice through the scripted-input path: fullscreen,
    // then a window of 99 % of the 1920 x 1080 screen.
    test::WriteFile("input.json", R"([{"frame": 112, "press": [300]}, {"frame": 113, "release": [300]},
                                      {"frame": 115, "press": [300], "cursor": {"x": 100, "y": 100}},
                                      {"frame": 116, "release": [300]}])");
    ASSERT_EQ(RunGame(_data + " --windowed --fixed-dt 0.016 --seed 7 --frames 130 --input input.json" +
                      " --screenshot 110:shot.png --screenshot 125:toggled.png"),
              0)
        << Output();

    int width = 0, height = 0, channels = 0;
    ASSERT_NE(stbi_info((_scratch / "toggled.png").c_str(), &width, &height, &channels), 0);
    EXPECT_EQ(width, 1900);
    EXPECT_EQ(height, 1069);
    std::unique_ptr<unsigned char, void (*)(void*)> shot(
        stbi_load((_scratch / "shot.png").c_str(), &width, &height, &channels, 4), &stbi_image_free);
    ASSERT_NE(shot, nullptr);
    // Pixels of a rectangle (y down) whose channels add up to more than `threshold`.
    const auto lit = [&](int x0, int y0, int x1, int y1, int threshold)
    {
        int count = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
            {
                const unsigned char* p = shot.get() + (y * width + x) * 4;
                count += p[0] + p[1] + p[2] > threshold ? 1 : 0;
            }
        return count;
    };
    // The logo's letters stand above the centre; the corners stay dark.
    EXPECT_GT(lit(570, 345, 1330, 430, 90), 15000);
    EXPECT_EQ(lit(0, 0, 200, 200, 90), 0);
    EXPECT_EQ(lit(width - 200, height - 200, width, height, 90), 0);
    // Fog drifts over the dark background between them.
    EXPECT_GT(lit(200, 450, 500, 750, 25), 1000);

    const std::string trace = test::ReadFile("Trace.log");
    EXPECT_THAT(trace, HasSubstr("Scene splash_screen Init"));
    EXPECT_THAT(trace, HasSubstr("Screenshot of frame 110"));
    EXPECT_THAT(trace, Not(HasSubstr("archetype"))) << "both transition panels ship";
    EXPECT_EQ(nlohmann::json::parse(test::ReadFile("Data/Data/dat_vsync.json")), nlohmann::json({{"vsync", 1}}));
}

TEST_F(GameEndToEndTest, BrokenSpritesAreReportedOnceButABrokenShaderStopsTheGame)
{
    const std::string quad = R"("mesh": {"type": "quad", "name": "q", "halfsizex": 0.5, "halfsizey": 0.5})";
    test::WriteFile("Data/Level/bad_sprites.json", R"({"entities": [
        {"components": {"sprite": "big"}},
        {"components": {"sprite": {)" + quad + R"(, "shader": {"name": "velvet"}}}},
        {"components": {"sprite": {"mesh": {"type": "cube", "name": "c"}, "shader": {"name": "default"}}}},
        {"components": {"sprite": {)" + quad + R"(, "shader": {"name": "default"}, "text": "no font"}}},
        {"components": {"sprite": {)" + quad + R"(}}},
        {"components": {"sprite": {"mesh": {"type": "circle", "name": "huge", "divisions": 1e20}}}}]})");
    ASSERT_EQ(RunGame(_data + " --windowed --fixed-dt 0.016 --frames 5 --scene bad_sprites"), 0) << Output();

    const std::string trace = test::ReadFile("Trace.log");
    const std::string file = "Data/Level/bad_sprites.json: /entities/";
    for (const std::string& line :
         {file + "0/components/sprite: component \"sprite\" must be a JSON object, but is string; skipped",
          file + "1/components/sprite/shader/name: shader \"velvet\" is not in the shader table",
          file + "2/components/sprite/mesh/type: unknown mesh type \"cube\"; not drawn",
          file + "3/components/sprite: text without a font",
          file + "4/components/sprite: the sprite has no shader; it is not drawn",
          file + "5/components/sprite/mesh/divisions: number 1e+20 is out of range for int"})
        EXPECT_EQ(test::Count(trace, line), 1u) << line << "\n" << trace;

    // A shader that does not compile stops the game.
    test::WriteFile("Shaders/PixelShaderFog.glsl", "#version 330 core\nvoid main() { fog everywhere }\n");
    EXPECT_EQ(RunGame(_data + " --windowed --frames 3"), 1);
    EXPECT_THAT(Output(), HasSubstr("Failed to compile the vertex stage: "));
    EXPECT_THAT(Output(), HasSubstr("File: Pixel Shader: Shaders/PixelShaderFog.glsl Failed to Compile"));
    EXPECT_THAT(test::ReadFile("Trace.log"), HasSubstr("Fatal: Pixel Shader: Shaders/PixelShaderFog.glsl"));
}

TEST_F(GameEndToEndTest, AMissingFirstLevelStopsTheGameWithStatusOne)
{
    EXPECT_EQ(RunGame(_data + " --headless --fixed-dt 0.125 --frames 3 --scene nowhere"), 1) << Output();
    EXPECT_THAT(test::ReadFile("Trace.log"), HasSubstr("could not start first scene: Data/Level/nowhere.json"));
}

// A level, the shader table and the sound table that name files outside the content
// root: each name is reported and no such file is even tried.
TEST_F(GameEndToEndTest, DataPathsNeverReachOutsideTheContentRoot)
{
    if (std::system("strace -V >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "strace is not installed (scripts/setup-deps installs it)";

    const std::string outside = (_scratch.parent_path() / "secret_abs").string();
    const auto sprite = [](const std::string& source)
    {
        return R"({"components": {"sprite": {"mesh": {"type": "quad", "name": "q"}, "shader": {"name": "default"},
                   "spritesource": {"name": ")" +
               source + R"(", "source": ")" + source + R"("}}}})";
    };
    test::WriteFile("Data/Level/probe.json", R"({"entities": [)" + sprite("Assets/../../secret_up.png") + ", " +
                                                 sprite(outside + ".png") + R"(], "subscenes": ["../secret_level", ")" +
                                                 outside + R"("]})");

    nlohmann::json shaders = nlohmann::json::parse(test::ReadFile("Data/Shaders/shaders.json"));
    shaders.push_back({{"name", "probe"}, {"vertexfile", "../secret_vertex.glsl"}, {"pixelfile", outside}});
    test::WriteFile("Data/Shaders/shaders.json", shaders.dump());
    nlohmann::json sounds = nlohmann::json::parse(test::ReadFile("Data/Sound/sounds.json"));
    sounds.push_back({{"name", "probe"}, {"filename", "..\\secret_sound.wav"}});
    test::WriteFile("Data/Sound/sounds.json", sounds.dump());

    // The leak checker cannot run under ptrace; in sanitizer builds it is off for this run only.
    ASSERT_EQ(RunGame(_data + " --windowed --fixed-dt 0.016 --frames 3 --scene probe",
                      "ASAN_OPTIONS=detect_leaks=0 strace -f -qq -e trace=open,openat,creat -o opened.txt "),
              0)
        << Output();

    const std::string opened = test::ReadFile("opened.txt");
    ASSERT_THAT(opened, HasSubstr("Data/Level/probe.json")) << "the trace sees the game's own opens";
    EXPECT_EQ(test::Count(opened, "secret"), 0u) << opened;

    const std::string trace = test::ReadFile("Trace.log");
    const std::string level = "Data/Level/probe.json: ";
    const std::string shaderRow = "Data/Shaders/shaders.json: /" + std::to_string(shaders.size() - 1);
    const std::string soundRow = "Data/Sound/sounds.json: /" + std::to_string(sounds.size() - 1);
    for (const std::string& line :
         {level + "/entities/0/components/sprite/spritesource/source: \"Assets/../../secret_up.png\" leaves",
          level + "/entities/1/components/sprite/spritesource/source: \"" + outside + ".png\" leaves",
          level + "/subscenes/0: \"../secret_level\" leaves the content folder; treated as missing",
          level + "/subscenes/1: \"" + outside + "\" leaves", shaderRow + "/vertexfile: \"../secret_vertex.glsl\"",
          soundRow + "/filename: \"..\\secret_sound.wav\" leaves"})
        EXPECT_EQ(test::Count(trace, line), 1u) << line << "\n" << trace;
}

TEST_F(GameEndToEndTest, TheSameFlagsGiveByteIdenticalDumpsAndScreenshots)
{
    EXPECT_EQ(RunGame(_data + " --headless --frames 1 --dump later.json"), 2);
    EXPECT_THAT(Output(), HasSubstr("--dump needs FRAME:PATH"));

    test::WriteFile("input.json", R"([{"frame": 5, "cursor": {"x": 700, "y": 300}, "press": [0]},
                                      {"frame": 6, "release": [0]}, {"frame": 12, "press": [32]},
                                      {"frame": 13, "release": [32]}])");
    // Each run gets its own copy of the content, since a run rewrites settings at exit.
    for (const char* run : {"a", "b"})
    {
        std::filesystem::copy(GLOAMER_CONTENT, _scratch / run, std::filesystem::copy_options::recursive);
        const std::string r = run;
        ASSERT_EQ(RunGame("--data " + (_scratch / run).string() +
                          " --windowed --fixed-dt 0.016 --seed 11 --frames 30 --input input.json" + " --dump 10:" + r +
                          "10.json --dump 29:" + r + "29.json --screenshot 25:" + r + ".png"),
                  0)
            << Output();
    }

    for (const char* frame : {"10", "29"})
    {
        const std::string a = test::ReadFile(_scratch / ("a" + std::string(frame) + ".json"));
        ASSERT_FALSE(a.empty()) << "frame " << frame;
        EXPECT_TRUE(a == test::ReadFile(_scratch / ("b" + std::string(frame) + ".json"))) << "frame " << frame;

        const nlohmann::json dump = nlohmann::json::parse(a);
        EXPECT_EQ(dump["frame"], std::stoi(frame));
        ASSERT_FALSE(dump["scenes"].empty());
        const nlohmann::json& scene = dump["scenes"].back();
        EXPECT_EQ(scene["name"], "splash_screen");
        EXPECT_EQ(scene["paused"], false);
        ASSERT_FALSE(scene["entities"].empty());
        EXPECT_TRUE(scene["entities"][0].contains("transform"));
        EXPECT_TRUE(scene["entities"][0].contains("components"));
    }
    const std::string shot = test::ReadFile(_scratch / "a.png");
    ASSERT_FALSE(shot.empty());
    EXPECT_TRUE(shot == test::ReadFile(_scratch / "b.png")) << "screenshots differ";
}
