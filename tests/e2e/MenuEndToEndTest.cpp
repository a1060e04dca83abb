#include "TestSupport.h"
#include "e2e/GameRun.h"

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

using e2e::Click;
using e2e::FindScene;
using e2e::Key;
using nlohmann::json;
using ::testing::HasSubstr;

namespace
{
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
        test::WriteFile("input.json", e2e::Script(steps));
        return e2e::RunGame("--data " + _scratch.string() + " --seed 5 --input input.json " + arguments);
    }

    std::string Output() const { return test::ReadFile(_scratch / "output.txt"); }

    static json Dump(const std::string& file) { return e2e::ReadDump(file); }
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
        return std::make_pair(scene["paused"].get<bool>(),
                              e2e::FindEntity(scene, "drifter")["transform"]["translation"]);
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
    { return e2e::FindEntity(Dump(file)["scenes"][0], "quitButton")["components"]["behaviorbutton"]["state"]; };
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
    EXPECT_GT(e2e::CountPixels("menu.png", 560, 170, 1360, 330, Pale), 10000);
    EXPECT_GT(e2e::CountPixels("menu.png", 560, 170, 1360, 420, Red), 500);
    for (int label = 0; label < 4; ++label)
    {
        const int y = 540 - 20 + label * 115;
        EXPECT_GT(e2e::CountPixels("menu.png", 860, y - 15, 1060, y + 15, Pale), 150) << "button " << label;
    }
    EXPECT_EQ(e2e::CountPixels("menu.png", 0, 0, 150, 150, Bright), 0);
    EXPECT_EQ(e2e::CountPixels("menu.png", 1770, 930, 1920, 1080, Bright), 0);

    ASSERT_EQ(Run("--windowed --fixed-dt 0.02 --scene level1 --frames 62 --screenshot 60:pause.png", {Key(5, kEscape)}),
              0)
        << Output();
    // "PAUSED" in red near the top, then the buttons' labels.
    EXPECT_GT(e2e::CountPixels("pause.png", 760, 200, 1160, 280, Red), 1500);
    EXPECT_EQ(e2e::CountPixels("pause.png", 760, 600, 1160, 700, Red), 0);
    for (int label = 0; label < 4; ++label)
    {
        const int y = 540 - 110 + label * 115;
        EXPECT_GT(e2e::CountPixels("pause.png", 800, y - 15, 1120, y + 15, Pale), 150) << "button " << label;
    }
    EXPECT_EQ(e2e::CountPixels("pause.png", 0, 0, 150, 150, Bright), 0);
}
