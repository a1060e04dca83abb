#include "TestSupport.h"
#include "e2e/GameRun.h"

#include <nlohmann/json.hpp>

#include <string>

using nlohmann::json;

// The real game on level1, played by scripted input at 60 frames a second. The player
// starts in the entrance, 256 units below the first object.
class ItemsEndToEndTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        CopyContent();
    }

    json Play(const std::string& script, int frames)
    {
        test::WriteFile("input.json", script);
        EXPECT_EQ(e2e::RunGame("--data " + _scratch.string() +
                               " --headless --fixed-dt 0.016666668 --seed 3 --scene level1 --input input.json" +
                               " --frames " + std::to_string(frames + 1) + e2e::DumpFlags({frames})),
                  0)
            << test::ReadFile("output.txt");
        return e2e::ReadDump("dump" + std::to_string(frames) + ".json");
    }

    static json Find(const json& dump, const std::string& name) { return e2e::FindEntity(dump, "level1", name); }

    static int Collected(const json& dump)
    {
        return Find(dump, "scorekeeper")["components"]["behaviorscorekeeper"]["currcollectables"].get<int>();
    }
};

// W (87) walks up for 0.4 s, to 96 units from the object; E (69) is then held.
TEST_F(ItemsEndToEndTest, HoldingInteractBesideTheFirstObjectLongEnoughCollectsIt)
{
    const json held = Play(R"([{"frame": 5, "press": [87]}, {"frame": 29, "release": [87]},
                              {"frame": 40, "press": [69]}, {"frame": 240, "release": [69]}])",
                           250);
    ASSERT_FALSE(Find(held, "scorekeeper").is_null()) << held.dump().substr(0, 400);
    EXPECT_TRUE(Find(held, "object1").is_null()) << "shattered";
    EXPECT_FALSE(Find(held, "object2").is_null());
    EXPECT_EQ(Collected(held), 1);

    // Let go a second early and nothing is taken.
    const json early = Play(R"([{"frame": 5, "press": [87]}, {"frame": 29, "release": [87]},
                               {"frame": 40, "press": [69]}, {"frame": 160, "release": [69]}])",
                            250);
    EXPECT_FALSE(Find(early, "object1").is_null());
    EXPECT_EQ(Collected(early), 0);
}

// S and D (83, 68) walk diagonally to the brick lying in the entrance; E picks it up,
// R selects the off hand and Q throws it back into the room.
TEST_F(ItemsEndToEndTest, ABrickIsPickedUpIntoTheOffHandAndThrown)
{
    const std::string walk = R"({"frame": 5, "press": [83, 68]}, {"frame": 32, "release": [83, 68]},
                                {"frame": 40, "press": [69]}, {"frame": 42, "release": [69]})";
    const json carried = Play("[" + walk + "]", 50);
    EXPECT_TRUE(Find(carried, "brick1").is_null()) << "off the floor";
    EXPECT_EQ(Find(carried, "player")["components"]["behaviorplayer"]["offhand"], true);
    EXPECT_FALSE(Find(carried, "brick2").is_null()) << "only the one in reach";

    const json thrown = Play("[" + walk + R"(, {"frame": 45, "press": [82]}, {"frame": 46, "release": [82]},
                                              {"frame": 50, "press": [81]}, {"frame": 52, "release": [81]}])",
                             60);
    const json brick = Find(thrown, "brick1");
    ASSERT_FALSE(brick.is_null()) << "back in the level";
    EXPECT_EQ(Find(thrown, "player")["components"]["behaviorplayer"]["offhand"], false);
    EXPECT_EQ(brick["components"]["behaviorthrowable"]["numuse"], 3) << "not yet hit anything";
}

// Beside the flash camera at the top of the hall with nothing collected, E only clicks
// and the player says why; the device stays unspent. A bare stand-in in the hall is the monster.
TEST_F(ItemsEndToEndTest, TheFlashCameraRefusesBeforeTheObjectsAreCollected)
{
    json level = json::parse(test::ReadFile("Data/Level/level1.json"));
    json& entities = level["entities"];
    for (auto it = entities.begin(); it != entities.end();)
        it = it->value("name", "") == "monster" ? entities.erase(it) : it + 1;
    for (json& e : entities)
        if (e.value("name", "") == "player")
            e["transform"]["translation"] = {{"x", -416}, {"y", 200}};
    entities.push_back(json::parse(R"({"name": "monster", "transform": {"translation": {"x": 0, "y": -32}},
        "components": {"physics": {}, "collider": {"type": 2, "shape": {"radius": 30}}}})"));
    test::WriteFile("Data/Level/level1.json", level.dump());
    const json dump = Play(R"([{"frame": 10, "press": [69]}, {"frame": 12, "release": [69]}])", 20);
    const json aperture = Find(dump, "aperture")["components"]["behavioraperture"];
    EXPECT_EQ(aperture["state"], 0);
    EXPECT_EQ(aperture["ready"], false);
    EXPECT_EQ(aperture["flashon"], false);
    EXPECT_EQ(aperture["hit"], true) << "the stand-in is in the hall";
    EXPECT_NE(Find(dump, "player").dump().find("I cant use this yet"), std::string::npos);
}
