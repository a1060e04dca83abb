#include "TestSupport.h"
#include "e2e/GameRun.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using nlohmann::json;

namespace
{
// The committed scripts, written by tools/playthroughs.py.
const std::filesystem::path kScripts = GLOAMER_PLAYTHROUGHS;
const char* const kGoldenEnv = "GLOAMER_UPDATE_GOLDEN";

std::uint64_t Fnv1a(const std::string& bytes)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : bytes)
    {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string Hex(std::uint64_t value)
{
    std::ostringstream out;
    out << std::hex << value;
    return out.str();
}

enum BehaviorState
{
    kPlayerHeld = 5,
    kMonsterFrenzy = 6,
};
} // namespace

// The real game played from the start of level1 by the two committed scripts. Each
// leg of a script opens with a step carrying a "note"; the checks read the state at
// those steps, so a regenerated script keeps its checks.
class PlaythroughEndToEndTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        CopyContent();
    }

    struct Script
    {
        std::string text;
        std::map<std::string, int> legs; // note -> frame of its first step
        int last = 0;
    };

    static Script Load(const std::string& name)
    {
        Script script;
        script.text = test::ReadFile(kScripts / name);
        const json steps = json::parse(script.text);
        for (const json& step : steps)
        {
            script.last = std::max(script.last, step.at("frame").get<int>());
            if (step.contains("note"))
                script.legs[step["note"].get<std::string>()] = step["frame"].get<int>();
        }
        return script;
    }

    // The frame of the leg whose note starts with `prefix`.
    static int Leg(const Script& script, const std::string& prefix)
    {
        for (const auto& [note, frame] : script.legs)
            if (note.rfind(prefix, 0) == 0)
                return frame;
        ADD_FAILURE() << "no leg starts with \"" << prefix << "\"";
        return 0;
    }

    // Plays the script up to `frames`, dumping each frame of `at`; returns the dump texts.
    std::map<int, std::string> Play(const Script& script, int run, int frames, const std::vector<int>& at)
    {
        test::WriteFile("input.json", script.text);
        const std::string prefix = "run" + std::to_string(run) + "_";
        EXPECT_EQ(e2e::RunGame("--data " + _scratch.string() +
                               " --headless --fixed-dt 0.016666668 --seed 7 --scene level1 --input input.json" +
                               " --frames " + std::to_string(frames + 1) + e2e::DumpFlags(at, prefix)),
                  0)
            << test::ReadFile("output.txt");
        std::map<int, std::string> dumps;
        for (int f : at)
            dumps[f] = test::ReadFile(prefix + std::to_string(f) + ".json");
        return dumps;
    }

    // Plays twice and requires byte-identical dumps; returns them parsed.
    std::map<int, json> PlayTwice(const Script& script, int frames, const std::vector<int>& at)
    {
        const std::map<int, std::string> first = Play(script, 1, frames, at);
        const std::map<int, std::string> second = Play(script, 2, frames, at);
        std::map<int, json> parsed;
        for (const auto& [frame, text] : first)
        {
            EXPECT_FALSE(text.empty()) << "no dump of frame " << frame;
            EXPECT_TRUE(text == second.at(frame)) << "the two runs differ at frame " << frame;
            parsed[frame] = json::parse(text, nullptr, false);
        }
        _firstRun = first;
        return parsed;
    }

    static json Find(const json& dump, const std::string& name) { return e2e::FindEntity(dump, "level1", name); }

    static int Collected(const json& dump)
    {
        const json keeper = Find(dump, "scorekeeper");
        return keeper.is_null() ? -1 : keeper["components"]["behaviorscorekeeper"]["currcollectables"].get<int>();
    }

    static int State(const json& entity, const char* behavior)
    {
        return entity.is_null() ? -1 : entity["components"][behavior]["state"].get<int>();
    }

    std::map<int, std::string> _firstRun;
};

// Collects the four objects in order, traps the monster once on the way, runs from its
// frenzy to the flash camera and flashes it in the hall.
TEST_F(PlaythroughEndToEndTest, TheWinningScriptCollectsEverythingFlashesTheMonsterAndWins)
{
    const Script script = Load("win.json");
    const int frenzy = Leg(script, "the monster is frenzied");
    const std::map<std::string, int> before = {{"object 2", 1}, {"object 3", 2}, {"object 4", 3}};

    // The golden frame comes from its file, so an update keeps the frame.
    const std::filesystem::path goldenFile = kScripts / "golden.txt";
    std::istringstream golden(test::ReadFile(goldenFile));
    std::string word, expected;
    int goldenFrame = 0;
    golden >> word >> goldenFrame >> word >> expected;
    ASSERT_GT(goldenFrame, 0) << goldenFile << " must hold \"frame N\" and \"hash H\"";

    std::vector<int> at = {frenzy, goldenFrame, script.last};
    for (const auto& [leg, count] : before)
        at.push_back(Leg(script, leg));
    const std::map<int, json> dumps = PlayTwice(script, script.last, at);

    for (const auto& [leg, count] : before)
    {
        const json& dump = dumps.at(Leg(script, leg));
        EXPECT_EQ(Collected(dump), count) << "at the start of the leg \"" << leg << "\"";
        EXPECT_NE(State(Find(dump, "player"), "behaviorplayer"), kPlayerHeld) << leg;
    }

    const json& running = dumps.at(frenzy);
    EXPECT_EQ(Collected(running), 4);
    EXPECT_EQ(State(Find(running, "monster"), "behaviormonster"), kMonsterFrenzy);
    EXPECT_EQ(Find(running, "aperture")["components"]["behavioraperture"]["ready"], true);

    const json& end = dumps.at(script.last);
    EXPECT_TRUE(e2e::HasScene(end, "win_scene")) << end.dump().substr(0, 300);
    EXPECT_FALSE(e2e::HasScene(end, "level1"));
    EXPECT_FALSE(e2e::HasScene(end, "lose_scene"));

    // Any change to what the game simulates changes this hash; update it on purpose.
    const std::string actual = Hex(Fnv1a(_firstRun.at(goldenFrame)));
    if (std::getenv(kGoldenEnv))
    {
        test::WriteFile(goldenFile, "frame " + std::to_string(goldenFrame) + "\nhash " + actual + "\n");
        std::cout << "rewrote " << goldenFile << "\n";
    }
    else
    {
        EXPECT_EQ(actual, expected) << "the dump of frame " << goldenFrame
                                    << " of the winning script changed. If the game was meant to change, "
                                       "rewrite the hash with "
                                    << kGoldenEnv << "=1 build/tests/gloamer_e2e_tests "
                                    << "--gtest_filter='PlaythroughEndToEndTest.*' and commit "
                                    << goldenFile.filename();
    }
}

// Takes the first object, then stands still: the monster comes, holds the player, and
// with no struggle the player dies and the level gives way to the lose scene.
TEST_F(PlaythroughEndToEndTest, TheLosingScriptIsCaughtDoesNotStruggleAndLoses)
{
    const Script script = Load("lose.json");
    const int still = Leg(script, "stand still");
    std::vector<int> at;
    for (int f = still; f <= script.last; f += 30)
        at.push_back(f);
    at.push_back(script.last);
    const std::map<int, json> dumps = PlayTwice(script, script.last, at);

    EXPECT_EQ(Collected(dumps.at(still)), 1);
    int held = -1, gone = -1;
    for (const auto& [frame, dump] : dumps)
    {
        if (held < 0 && State(Find(dump, "player"), "behaviorplayer") == kPlayerHeld)
            held = frame;
        if (gone < 0 && !e2e::HasScene(dump, "level1"))
            gone = frame;
    }
    ASSERT_GT(held, 0) << "the monster never caught the player";
    EXPECT_GT(gone, held) << "the level ends after the player is held";

    const json& end = dumps.at(script.last);
    EXPECT_TRUE(e2e::HasScene(end, "lose_scene")) << end.dump().substr(0, 300);
    EXPECT_FALSE(e2e::HasScene(end, "level1"));
    EXPECT_FALSE(e2e::HasScene(end, "win_scene"));
}
