#include "TestSupport.h"

#include <nlohmann/json.hpp>
#include <stb_image.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <sys/wait.h>

using nlohmann::json;

// The real game on the player's lab level (a walled room, the player at (-300, 0) and the
// HUD beside it), played by scripted input at 60 frames a second.
class PlayerEndToEndTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        CopyContent();
    }

    // Runs `frames` frames of the lab with the script and dumps the last one.
    json Play(const std::string& script, int frames, const std::string& extra = "--headless")
    {
        test::WriteFile("input.json", script);
        const std::string dump = "dump.json";
        const std::string command = std::string(GLOAMER_GAME_BINARY) + " --data " + _scratch.string() + " " + extra +
                                    " --fixed-dt 0.016666668 --seed 3 --scene " + _level + " --input input.json" +
                                    " --frames " + std::to_string(frames + 1) + " --dump " + std::to_string(frames) +
                                    ":" + dump + " >output.txt 2>&1";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << test::ReadFile("output.txt");
        return json::parse(test::ReadFile(dump), nullptr, false);
    }

    // The dumped entity of the lab level with that name (group members included).
    json Find(const json& dump, const std::string& name, int* count = nullptr) const
    {
        json found;
        int n = 0;
        for (const json& scene : dump.value("scenes", json::array()))
        {
            if (scene.value("name", "") != _level)
                continue;
            for (const json& entity : scene.value("entities", json::array()))
                if (entity.value("name", "") == name)
                {
                    ++n;
                    found = entity;
                }
        }
        if (count)
            *count = n;
        return found;
    }

    static float X(const json& entity) { return entity["transform"]["translation"]["x"].get<float>(); }
    static const json& Player(const json& entity) { return entity["components"]["behaviorplayer"]; }

    // Counts the pixels of a square around a world point (the camera centred on the
    // window; 1920 world units across it) whose channels add up to more than `threshold`.
    std::function<int(float, float, int, int)> LitCounter(const std::string& file) const
    {
        int width = 0, height = 0, channels = 0;
        std::shared_ptr<unsigned char> shot(stbi_load((_scratch / file).c_str(), &width, &height, &channels, 4),
                                            &stbi_image_free);
        EXPECT_NE(shot, nullptr) << file;
        return [shot, width, height](float wx, float wy, int half, int threshold)
        {
            if (!shot)
                return 0;
            const float s = static_cast<float>(width) / 1920.0f;
            const int cx = static_cast<int>(width / 2 + wx * s), cy = static_cast<int>(height / 2 - wy * s);
            int count = 0;
            for (int y = cy - half; y < cy + half; ++y)
                for (int x = cx - half; x < cx + half; ++x)
                {
                    const unsigned char* p = shot.get() + (y * width + x) * 4;
                    count += p[0] + p[1] + p[2] > threshold ? 1 : 0;
                }
            return count;
        };
    }

    std::string _level = "playerlab";
};

TEST_F(PlayerEndToEndTest, HoldingDForOneSecondWalksFourHundredUnitsUntilAWallStopsIt)
{
    // D (68) is down for 60 frames.
    const json walked = Play(R"([{"frame": 5, "press": [68]}, {"frame": 65, "release": [68]}])", 80);
    const json player = Find(walked, "player");
    ASSERT_FALSE(player.is_null()) << walked.dump().substr(0, 500);
    EXPECT_NEAR(X(player), 100.0f, 2.0f);
    EXPECT_EQ(Player(player)["state"], 0) << "standing again";
    EXPECT_FLOAT_EQ(Player(player)["stamina"].get<float>(), 10.0f) << "walking costs no stamina";

    // Two seconds would carry it to x = 500, where a wall stands: it stops a radius short.
    const json blocked = Play(R"([{"frame": 5, "press": [68]}, {"frame": 125, "release": [68]}])", 140);
    const float x = X(Find(blocked, "player"));
    EXPECT_LT(x, 500.0f - 20.0f);
    EXPECT_GT(x, 500.0f - 30.0f);
}

// In the real level the player starts in the entrance, at the mouth of the long passage
// east: one second of D carries it 400 units along the passage, past the camera's tour.
TEST_F(PlayerEndToEndTest, InLevel1HoldingDWalksFourHundredUnitsAlongThePassage)
{
    _level = "level1";
    const json walked = Play(R"([{"frame": 5, "press": [68]}, {"frame": 65, "release": [68]}])", 80);
    const json player = Find(walked, "player");
    ASSERT_FALSE(player.is_null()) << walked.dump().substr(0, 500);
    EXPECT_NEAR(X(player), -1120.0f + 400.0f, 4.0f);
    EXPECT_NEAR(player["transform"]["translation"]["y"].get<float>(), -864.0f, 1.0f);
}

TEST_F(PlayerEndToEndTest, HoldingSprintRunsFasterAndDrainsStamina)
{
    // Shift (340) and D for one second.
    const json dump = Play(R"([{"frame": 5, "press": [340, 68]}, {"frame": 65, "release": [340, 68]}])", 65);
    const json player = Find(dump, "player");
    ASSERT_FALSE(player.is_null());
    EXPECT_EQ(Player(player)["state"], 2) << "still sprinting in the last frame";
    EXPECT_NEAR(Player(player)["stamina"].get<float>(), 9.0f, 0.05f);
    EXPECT_NEAR(X(player), -300.0f + 1.3f * 400.0f, 3.0f);
}

TEST_F(PlayerEndToEndTest, HoldingTheMouseOnTheTrapSlotPlacesABearTrap)
{
    // Key 1 picks the trap slot; the cursor rests 150 units right of the player (window
    // pixels, y down, centre 960 x 540); the left button is held for 70 frames.
    const json dump =
        Play(R"([{"frame": 3, "cursor": {"x": 810, "y": 540}, "press": [49]}, {"frame": 4, "release": [49]},
                               {"frame": 10, "press": [0]}, {"frame": 80, "release": [0]}])",
             90);
    int traps = 0;
    const json trap = Find(dump, "beartrap", &traps);
    EXPECT_EQ(traps, 1);
    ASSERT_FALSE(trap.is_null());
    EXPECT_NEAR(X(trap), -150.0f, 1.0f);
    EXPECT_EQ(Player(Find(dump, "player"))["trapcount"], 11);

    // Let go after half a second: nothing is placed.
    const json early =
        Play(R"([{"frame": 3, "cursor": {"x": 810, "y": 540}, "press": [49]}, {"frame": 4, "release": [49]},
                                {"frame": 10, "press": [0]}, {"frame": 40, "release": [0]}])",
             90);
    Find(early, "beartrap", &traps);
    EXPECT_EQ(traps, 0);
    EXPECT_EQ(Player(Find(early, "player"))["trapcount"], 12);
}

TEST_F(PlayerEndToEndTest, AScreenshotShowsThePlayerAndTheHud)
{
    Play(R"([{"frame": 3, "cursor": {"x": 1200, "y": 540}, "press": [49]}, {"frame": 4, "release": [49]}])", 30,
         "--windowed --screenshot 20:shot.png");
    const auto lit = LitCounter("shot.png");
    EXPECT_GT(lit(-300.0f, 0.0f, 30, 120), 300) << "the player";
    EXPECT_EQ(lit(-300.0f, 250.0f, 30, 120), 0) << "the dark room around it";
    // HUD parts sit where their anchors put them on this window.
    EXPECT_GT(lit(-66.0f, -460.0f, 20, 150), 50) << "the trap icon on the tool belt";
    EXPECT_GT(lit(-741.0f, -470.0f, 5, 300), 60) << "the full sprint bar";
    EXPECT_GT(lit(-80.0f, 0.0f, 20, 150), 50) << "the trap preview 220 units toward the cursor";
}
