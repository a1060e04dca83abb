#include "TestSupport.h"
#include "e2e/GameRun.h"

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

using e2e::Click;
using e2e::FindEntity;
using e2e::Key;
using e2e::SceneNames;
using nlohmann::json;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

namespace
{
constexpr int kEscape = 256;
constexpr int kSpace = 32;
constexpr int kW = 87;

// The real binary walking between the game's screens with scripted input.
class FlowEndToEndTest : public test::ScratchTest
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
        return e2e::RunGame("--data " + _scratch.string() + " --headless --seed 5 --fixed-dt 0.02 --input input.json " +
                            arguments);
    }

    std::string Output() const { return test::ReadFile(_scratch / "output.txt"); }

    static json Dump(const std::string& file) { return e2e::ReadDump(file); }

    static json Component(const json& dump, const std::string& scene, const std::string& entity, const char* name)
    {
        return FindEntity(dump, scene, entity)["components"][name];
    }
};
} // namespace

// Both end screens ignore keys until their words are up, then need a key pressed
// afresh: one held since the level (W, as a running player would) must be let go first.
TEST_F(FlowEndToEndTest, TheEndScreensWaitForAFreshKeyAndThenReturnToTheMainMenu)
{
    // W held from the start until frame 200, past the three-second wait.
    ASSERT_EQ(Run("--scene win_scene --frames 330 --dump 190:held.json --dump 320:after.json",
                  {Key(1, kW, 199), Key(230, kSpace)}),
              0)
        << Output();
    const json held = Dump("held.json");
    EXPECT_THAT(SceneNames(held), ElementsAre("win_scene")) << "a key held since the level skips nothing";
    EXPECT_EQ(Component(held, "win_scene", "endExit", "behavioranykey")["armed"], false);
    EXPECT_GT(Component(held, "win_scene", "endTitle", "sprite")["tint"]["a"].get<double>(), 0.95)
        << "the verdict has faded in";
    EXPECT_THAT(SceneNames(Dump("after.json")), ElementsAre("main_menu"));

    // A tap during the wait is ignored; one after it leaves.
    ASSERT_EQ(Run("--scene lose_scene --frames 330 --dump 160:early.json --dump 320:after.json",
                  {Key(20, kSpace), Key(200, kSpace)}),
              0)
        << Output();
    const json early = Dump("early.json");
    EXPECT_THAT(SceneNames(early), ElementsAre("lose_scene"));
    EXPECT_EQ(Component(early, "lose_scene", "endExit", "behavioranykey")["armed"], true);
    EXPECT_THAT(SceneNames(Dump("after.json")), ElementsAre("main_menu"));
}

// The two other ways back to the main menu: the credits' Back button, and Quit to menu
// in the pause menu, which asks first.
TEST_F(FlowEndToEndTest, CreditsBackAndQuitToMenuBothReturnToTheMainMenu)
{
    ASSERT_EQ(Run("--scene main_menu --frames 200 --dump 80:credits.json --dump 190:back.json",
                  {Click(10, 0, -210), Click(100, 0, -370)}),
              0)
        << Output();
    EXPECT_THAT(SceneNames(Dump("credits.json")), UnorderedElementsAre("credits", "credits_nav"));
    EXPECT_THAT(SceneNames(Dump("back.json")), ElementsAre("main_menu"));

    // Escape opens the pause menu over the level; its page sits above the level, so
    // the confirmation dialog's "yes" is 270 units above the screen's centre.
    ASSERT_EQ(Run("--scene level1 --frames 220 --dump 80:asking.json --dump 210:menu.json",
                  {Key(5, kEscape), Click(60, 0, -235), Click(90, -170, 270)}),
              0)
        << Output();
    EXPECT_EQ(Component(Dump("asking.json"), "pause_menu", "menuButton", "behaviorbutton")["state"], 5)
        << "Quit to menu waits for the dialog";
    EXPECT_THAT(SceneNames(Dump("menu.json")), ElementsAre("main_menu"));
}

// Volumes and the window mode changed in the options page are written at exit and
// shown by the same page on the next start.
TEST_F(FlowEndToEndTest, OptionsChosenInTheMenuAreReadBackOnTheNextRun)
{
    // Options, then master down twice, music down once, effects down three times and
    // the window mode flipped; the page's rows are 110 units apart.
    std::vector<std::string> steps{Click(10, 0, -95)};
    int frame = 60;
    for (const auto& [y, times] : {std::pair{200.0f, 2}, {90.0f, 1}, {-20.0f, 3}, {-130.0f, 1}})
        for (int i = 0; i < times; ++i, frame += 15)
            steps.push_back(Click(frame, -80, y));
    ASSERT_EQ(Run("--scene main_menu --frames " + std::to_string(frame + 10), steps), 0) << Output();

    const json saved = Dump("Data/Data/dat_options.json");
    EXPECT_NEAR(saved["sound"]["mastervol"].get<double>(), 0.8, 1e-6);
    EXPECT_NEAR(saved["sound"]["musicvol"].get<double>(), 0.9, 1e-6);
    EXPECT_NEAR(saved["sound"]["sfxvol"].get<double>(), 0.7, 1e-6);
    EXPECT_EQ(saved["graphics"]["windowmode"], 0);
    for (const auto& entry : std::filesystem::directory_iterator("Data/Data"))
        EXPECT_EQ(entry.path().extension(), ".json") << entry.path() << " was left behind by a write";

    // Nothing pressed this time: the readouts show what the file holds.
    ASSERT_EQ(Run("--scene main_menu --frames 5 --dump 3:again.json", {}), 0) << Output();
    const json again = Dump("again.json");
    const auto readout = [&](const char* entity)
    { return Component(again, "main_menu", entity, "sprite")["text"].get<std::string>(); };
    EXPECT_EQ(readout("mainMastervolValue"), "========-- 80%");
    EXPECT_EQ(readout("mainMusicvolValue"), "=========- 90%");
    EXPECT_EQ(readout("mainSfxvolValue"), "=======--- 70%");
    EXPECT_EQ(readout("mainModeValue"), "WINDOWED");
}

// The verdict is legible at a glance: pale letters for the escape, blood for the
// capture, over a dark screen whose corners stay black.
TEST_F(FlowEndToEndTest, TheEndScreensShowTheirVerdictOverTheDark)
{
    const auto pale = [](const unsigned char* p) { return p[0] > 150 && p[1] > 140 && p[2] > 120; };
    const auto red = [](const unsigned char* p) { return p[0] > 90 && p[0] > p[1] + 50 && p[0] > p[2] + 50; };
    const auto bright = [](const unsigned char* p) { return p[0] + p[1] + p[2] > 90; };
    for (const char* scene : {"win_scene", "lose_scene"})
    {
        SCOPED_TRACE(scene);
        const std::string shot = std::string(scene) + ".png";
        // Windowed, so the game draws on the whole 1920 x 1080 Xvfb screen.
        ASSERT_EQ(e2e::RunGame("--data " + _scratch.string() + " --windowed --seed 5 --fixed-dt 0.1 --frames 42" +
                               " --scene " + scene + " --screenshot 40:" + shot),
                  0)
            << Output();
        const bool won = std::string(scene) == "win_scene";
        // The title's band across the upper middle.
        EXPECT_GT(e2e::CountPixels(shot, 500, 330, 1420, 450, won ? pale : red), 8000);
        EXPECT_LT(e2e::CountPixels(shot, 500, 330, 1420, 450, won ? red : pale), 100);
        EXPECT_EQ(e2e::CountPixels(shot, 0, 0, 150, 150, bright), 0);
        EXPECT_EQ(e2e::CountPixels(shot, 1770, 930, 1920, 1080, bright), 0);
    }
}
