#include "TestSupport.h"
#include "e2e/GameRun.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <string>
#include <vector>

using nlohmann::json;

namespace
{
constexpr int kEvery = 5;
const float kRelicX = -1040.0f, kRelicY = -864.0f;
// The object names its spawn point relative to itself.
const float kSpawnX = kRelicX + 340.0f, kSpawnY = kRelicY;

float Distance(const json& entity, float x, float y)
{
    const json& t = entity["transform"]["translation"];
    return std::hypot(t["x"].get<float>() - x, t["y"].get<float>() - y);
}
} // namespace

// The real game on level1 with one object beside the player, whose spawn point lies in the
// same room. The player takes it with E and then stands still.
class MonsterEndToEndTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        CopyContent();
        json level = json::parse(test::ReadFile("Data/Level/level1.json"));
        json relic = json::parse(test::ReadFile("Data/Entity/collectable.json"));
        relic["transform"]["translation"] = {{"x", kRelicX}, {"y", kRelicY}};
        relic["components"]["behaviorcollectable"]["monsterspawn"] = {{"x", kSpawnX - kRelicX}, {"y", 0}};
        relic["components"]["behaviorcollectable"]["time"] = 0.5;
        level["entities"].push_back(relic);
        test::WriteFile("Data/Level/level1.json", level.dump());
    }

    // Plays `frames` frames, dumping every fifth; returns the dumps in order.
    std::vector<json> Play(const std::string& script, int frames)
    {
        test::WriteFile("input.json", script);
        std::vector<int> at;
        for (int f = kEvery; f <= frames; f += kEvery)
            at.push_back(f);
        EXPECT_EQ(e2e::RunGame("--data " + _scratch.string() +
                               " --headless --fixed-dt 0.016666668 --seed 5 --scene level1 --input input.json" +
                               " --frames " + std::to_string(frames + 1) + e2e::DumpFlags(at)),
                  0)
            << test::ReadFile("output.txt");
        std::vector<json> dumps;
        for (const int f : at)
            dumps.push_back(e2e::ReadDump("dump" + std::to_string(f) + ".json"));
        return dumps;
    }

    static json Find(const json& dump, const std::string& name) { return e2e::FindEntity(dump, "level1", name); }
};

TEST_F(MonsterEndToEndTest, TakingAnObjectCallsTheMonsterWhichReachesAndHoldsAPlayerStandingStill)
{
    // E (69) held for a second next to the relic, then nothing.
    const std::vector<json> dumps = Play(R"([{"frame": 5, "press": [69]}, {"frame": 65, "release": [69]}])", 600);

    int appeared = -1, held = -1;
    for (std::size_t i = 0; i < dumps.size(); ++i)
    {
        const json monster = Find(dumps[i], "monster");
        const json player = Find(dumps[i], "player");
        // A player left to lose the struggle dies, and the level goes with them.
        if (held >= 0 && player.is_null())
            break;
        ASSERT_FALSE(monster.is_null()) << "dump " << i;
        ASSERT_FALSE(player.is_null()) << "dump " << i;
        const json& behavior = monster["components"]["behaviormonster"];
        if (appeared < 0 && Distance(monster, 2700.0f, -19782.0f) > 1.0f)
        {
            appeared = static_cast<int>(i);
            // At most five frames of walking from where the object sent it.
            EXPECT_LT(Distance(monster, kSpawnX, kSpawnY), 5.0f * 320.0f / 60.0f + 1.0f) << monster.dump();
            EXPECT_EQ(behavior["statenext"], 3) << "emerging";
        }
        if (appeared < 0)
        {
            EXPECT_GT(Distance(monster, 0.0f, 0.0f), 15000.0f) << "asleep far outside the level";
        }
        if (held < 0 && player["components"]["behaviorplayer"]["state"].get<int>() == 5)
        {
            held = static_cast<int>(i);
            EXPECT_LT(Distance(monster, -1120.0f, -864.0f), 100.0f) << "the monster is on the player";
        }
    }
    ASSERT_GE(appeared, 0) << "the monster never woke";
    ASSERT_GE(held, 0) << "the player was never held";
    // 340 units from the spawn point: well within five seconds.
    EXPECT_LT((held - appeared) * kEvery, 5 * 60);
    const json monster = Find(dumps[static_cast<std::size_t>(held) + 1], "monster");
    EXPECT_EQ(monster["components"]["behaviormonster"]["state"], 4) << "holding";
}
