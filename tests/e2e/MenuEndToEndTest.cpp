#include "TestSupport.h"

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>
#include <stb_image.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <sys/wait.h>

using nlohmann::json;
using ::testing::HasSubstr;

namespace
{
// A scripted click at a world point of an unmoved camera on the 1920 x 1080 screen
// (headless runs have a virtual one; windowed test runs get the whole Xvfb screen):
// the cursor moves there, the button goes down two frames later and up two after.
std::string Click(int frame, float x, float y)
{
    const std::string at =
        R"("cursor": {"x": )" + std::to_string(960.0f + x) + R"(, "y": )" + std::to_string(540.0f - y) + "}";
    return R"({"frame": )" + std::to_string(frame) + ", " + at + R"(}, {"frame": )" + std::to_string(frame + 2) +
           R"(, "press": [0]}, {"frame": )" + std::to_string(frame + 4) + R"(, "release": [0]})";
}

std::string Key(int frame, int code)
{
    return R"({"frame": )" + std::to_string(frame) + R"(, "press": [)" + std::to_string(code) + R"(]}, {"frame": )" +
           std::to_string(frame + 2) + R"(, "release": [)" + std::to_string(code) + "]}";
}

constexpr int kEscape = 256;

class MenuEndToEndTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        CopyContent();
    }

    int Run(const std::string& arguments, const std::vector<std::string>& steps)
    {
        std::string script = "[";
        for (const std::string& step : steps)
            script += (script.size() > 1 ? ", " : "") + step;
        test::WriteFile("input.json", script + "]");
        const std::string command = std::string(GLOAMER_GAME_BINARY) + " --data " + _scratch.string() +
                                    " --seed 5 --input input.json " + arguments + " >output.txt 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string Output() const { return test::ReadFile(_scratch / "output.txt"); }

    static json Dump(const std::string& file) { return json::parse(test::ReadFile(file)); }

    // The named scene of a dump, or null.
    static const json* FindScene(const json& dump, const std::string& name)
    {
        for (const json& scene : dump["scenes"])
            if (scene["name"] == name)
                return &scene;
        return nullptr;
    }

    static json Entity(const json& scene, const std::string& name)
    {
        for (const json& e : scene["entities"])
            if (e.value("name", "") == name)
                return e;
        return {};
    }

    // Pixels of a rectangle (y down) of a screenshot that pass a test.
    static int Count(const std::string& file, int x0, int y0, int x1, int y1,
                     const std::function<bool(const unsigned char*)>& test)
    {
        int width = 0, height = 0, channels = 0;
        std::unique_ptr<unsigned char, void (*)(void*)> shot(stbi_load(file.c_str(), &width, &height, &channels, 4),
                                                             &stbi_image_free);
        EXPECT_NE(shot, nullptr) << file;
        if (!shot)
            return 0;
        EXPECT_EQ(width, 1920);
        EXPECT_EQ(height, 1080);
        int count = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                count += test(shot.get() + (y * width + x) * 4) ? 1 : 0;
        return count;
    }
};

bool Pale(const unsigned char* p)
{
    return p[0] > 120 && p[1] > 110 && p[2] > 100;
}

bool Red(const unsigned char* p)
{
    return p[0] > 70 && p[0] > p[1] + 40 && p[0] > p[2] + 40;
}

bool Bright(const unsigned char* p)
{
    return p[0] + p[1] + p[2] > 90;
}
} // namespace

// The whole way in, with nothing pressed until the main menu shows: the splash
// sequence, Play, the level, Escape to pause and Escape to go on.
TEST_F(MenuEndToEndTest, TheSplashLeadsToTheMenuPlayReachesTheLevelAndEscapePausesIt)
{
    // Whatever else the level holds, this one drifts on its own while the level runs.
    json level1 = json::parse(test::ReadFile("Data/Level/level1.json"));
    level1["entities"].push_back(json::parse(R"({"name": "drifter", "components": {
        "physics": {"velocity": {"x": 40, "y": 0}, "friction": 0}}})"));
    test::WriteFile("Data/Level/level1.json", level1.dump());

    ASSERT_EQ(Run("--headless --fixed-dt 0.02 --frames 760 --dump 460:menu.json --dump 540:level.json"
                  " --dump 600:paused.json --dump 640:still.json --dump 700:resumed.json --dump 740:moving.json",
                  {Click(470, 0, 20), Key(560, kEscape), Key(660, kEscape)}),
              0)
        << Output();

    const json menu = Dump("menu.json");
    ASSERT_EQ(menu["scenes"].size(), 1u);
    EXPECT_EQ(menu["scenes"][0]["name"], "main_menu") << "the splash sequence moved on by itself";

    const json level = Dump("level.json");
    ASSERT_NE(FindScene(level, "level1"), nullptr) << level["scenes"].dump();
    ASSERT_NE(FindScene(level, "pause_menu"), nullptr) << "the pause menu is a sub-scene of the level";

    const auto drifter = [&](const char* file)
    {
        const json dump = Dump(file);
        const json& scene = *FindScene(dump, "level1");
        return std::make_pair(scene["paused"].get<bool>(), Entity(scene, "drifter")["transform"]["translation"]);
    };
    const auto paused = drifter("paused.json");
    const auto still = drifter("still.json");
    EXPECT_TRUE(paused.first);
    EXPECT_TRUE(still.first);
    EXPECT_EQ(paused.second, still.second) << "nothing in a paused level moves";
    const json pauseMenu = *FindScene(Dump("still.json"), "pause_menu");
    EXPECT_EQ(pauseMenu["camera"]["translation"]["y"], -3000.0) << "the camera shows the menu page";

    const auto resumed = drifter("resumed.json");
    const auto moving = drifter("moving.json");
    EXPECT_FALSE(resumed.first);
    EXPECT_GT(moving.second["x"].get<double>(), resumed.second["x"].get<double>() + 10.0);
    EXPECT_EQ((*FindScene(Dump("moving.json"), "pause_menu"))["camera"]["translation"]["y"], 0.0);
}

TEST_F(MenuEndToEndTest, QuitAsksFirstAndYesEndsTheGameWithStatusZero)
{
    // Quit opens the dialog over the title; "no" closes it, then Quit and "yes".
    EXPECT_EQ(Run("--headless --fixed-dt 0.02 --scene main_menu --frames 400 --dump 25:asking.json"
                  " --dump 45:declined.json --dump 399:late.json",
                  {Click(10, 0, -325), Click(30, 170, 210), Click(50, 0, -325), Click(70, -170, 210)}),
              0)
        << Output();
    const auto quitState = [&](const char* file)
    { return Entity(Dump(file)["scenes"][0], "quitButton")["components"]["behaviorbutton"]["state"]; };
    EXPECT_EQ(quitState("asking.json"), 5) << "waiting for the dialog";
    EXPECT_NE(quitState("declined.json"), 5) << "\"no\" closed it";
    EXPECT_THAT(Output(), HasSubstr("late.json: no dump, frame 399 was never reached"));
    EXPECT_THAT(test::ReadFile("Trace.log"), HasSubstr("Shut down"));
}

// A screenshot of each menu; the dark look and where things stand are checked by
// colour at a few regions.
TEST_F(MenuEndToEndTest, ScreenshotsShowTheMainMenuAndThePauseMenu)
{
    ASSERT_EQ(Run("--windowed --fixed-dt 0.02 --scene main_menu --frames 12 --screenshot 10:menu.png", {}), 0)
        << Output();
    // The title's pale letters and blood stand above the middle; the four button
    // labels below it; the corners stay dark.
    EXPECT_GT(Count("menu.png", 560, 170, 1360, 330, Pale), 10000);
    EXPECT_GT(Count("menu.png", 560, 170, 1360, 420, Red), 500);
    for (int label = 0; label < 4; ++label)
    {
        const int y = 540 - 20 + label * 115;
        EXPECT_GT(Count("menu.png", 860, y - 15, 1060, y + 15, Pale), 150) << "button " << label;
    }
    EXPECT_EQ(Count("menu.png", 0, 0, 150, 150, Bright), 0);
    EXPECT_EQ(Count("menu.png", 1770, 930, 1920, 1080, Bright), 0);

    ASSERT_EQ(Run("--windowed --fixed-dt 0.02 --scene level1 --frames 62 --screenshot 60:pause.png", {Key(5, kEscape)}),
              0)
        << Output();
    // "PAUSED" in red near the top, then the buttons' labels.
    EXPECT_GT(Count("pause.png", 760, 200, 1160, 280, Red), 1500);
    EXPECT_EQ(Count("pause.png", 760, 600, 1160, 700, Red), 0);
    for (int label = 0; label < 4; ++label)
    {
        const int y = 540 - 110 + label * 115;
        EXPECT_GT(Count("pause.png", 800, y - 15, 1120, y + 15, Pale), 150) << "button " << label;
    }
    EXPECT_EQ(Count("pause.png", 0, 0, 150, 150, Bright), 0);
}
