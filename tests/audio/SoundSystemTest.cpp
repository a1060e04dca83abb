#include "AudioTestSupport.h"

#include "audio/Sound.h"
#include "audio/SoundSystem.h"

using nlohmann::json;

namespace
{
class SoundSystemTest : public test::AudioTest
{
protected:
    SoundSystem& _system = SoundSystem::Instance();
};
} // namespace

TEST_F(SoundSystemTest, LaterNamesWinTheIndexAndTheTableIsWrittenBackCompleteSortedAndIndented)
{
    test::WriteTone("Assets/Sound/a.wav", 0.1);
    test::WriteFile("Data/Sound/sounds.json", R"([
        {"name": "a", "filename": "Assets/Sound/a.wav"},
        {"volume": 0.8, "filename": "Assets/Sound/a.wav", "name": "b", "category": 2, "looping": true},
        {"name": "a", "filename": "Assets/Sound/a.wav", "volume": 0.5}])");
    ASSERT_TRUE(_system.Init());
    ASSERT_EQ(_system.TableSize(), 3u);
    EXPECT_EQ(_system.FindIndex("a"), 2);
    EXPECT_EQ(_system.FindIndex("b"), 1);
    EXPECT_EQ(_system.FindIndex("nothing"), 0);
    EXPECT_EQ(_system.GetEntry(3), nullptr);
    _system.Exit();

    // Every entry goes back with all its keys, read values and defaults alike.
    const std::string written = test::ReadFile("Data/Sound/sounds.json");
    const json back = json::parse(written);
    EXPECT_EQ(back, json::parse(R"([
        {"category": 0, "filename": "Assets/Sound/a.wav", "looping": false, "name": "a", "volume": 1.0},
        {"category": 2, "filename": "Assets/Sound/a.wav", "looping": true, "name": "b", "volume": 0.8},
        {"category": 0, "filename": "Assets/Sound/a.wav", "looping": false, "name": "a", "volume": 0.5}])"));
    EXPECT_EQ(written, back.dump(2) + "\n") << "keys in order, two-space indent";
    EXPECT_EQ(_system.Engine(), nullptr);
    EXPECT_EQ(_system.TableSize(), 0u);
}

TEST_F(SoundSystemTest, BadElementsAreReportedSkippedAndWrittenBackAndNoUsableOneFailsStartUp)
{
    test::WriteTone("Assets/Sound/a.wav", 0.1);
    const std::string table = R"([
        {"name": "first", "filename": "Assets/Sound/a.wav", "note": "kept"},
        {"filename": "Assets/Sound/a.wav"},
        {"name": "nofile"},
        {"name": 7, "filename": "Assets/Sound/a.wav"},
        {"name": "wrongfile", "filename": ["x"]},
        {"name": "wrongvolume", "filename": "Assets/Sound/a.wav", "volume": "loud"},
        "just a string",
        {"name": "last", "filename": "Assets/Sound/a.wav"}])";
    test::WriteFile("Data/Sound/sounds.json", table);
    ASSERT_TRUE(_system.Init());
    EXPECT_EQ(_system.TableSize(), 2u);
    EXPECT_EQ(_system.FindIndex("last"), 1);
    EXPECT_FALSE(_system.HasName("wrongvolume"));

    const std::string trace = test::ReadTrace();
    for (const char* line : {"Data/Sound/sounds.json: /1: skipped: missing \"name\"",
                             "Data/Sound/sounds.json: /2: skipped: missing \"filename\"",
                             "Data/Sound/sounds.json: /3/name: type must be string, but is number",
                             "Data/Sound/sounds.json: /4/filename: type must be string, but is array",
                             "Data/Sound/sounds.json: /5/volume: type must be number, but is string",
                             "Data/Sound/sounds.json: /6: skipped: a sound must be a JSON object"})
        EXPECT_NE(trace.find(line), std::string::npos) << line << "\n" << trace;

    _system.Exit();
    const json back = json::parse(test::ReadFile("Data/Sound/sounds.json"));
    ASSERT_EQ(back.size(), 8u);
    EXPECT_EQ(back[0]["note"], "kept");
    EXPECT_EQ(back[0]["volume"], 1.0) << "entries that were read are written complete";
    for (std::size_t skipped = 1; skipped <= 6; ++skipped)
        EXPECT_EQ(back[skipped], json::parse(table)[skipped]) << skipped;

    const std::pair<const char*, const char*> cases[] = {
        {nullptr, "cannot open the sound table"},
        {"", "the sound table is not valid JSON"},
        {"[{\"name\": \"a\"", "the sound table is not valid JSON"},
        {"{\"name\": \"a\"}", "the sound table must be a JSON array"},
        {"[]", "the sound table holds no usable sound"},
        {"[{\"name\": 1, \"filename\": \"x\"}]", "the sound table holds no usable sound"},
    };
    for (const auto& [contents, message] : cases)
    {
        std::filesystem::remove("Data/Sound/sounds.json");
        if (contents)
            test::WriteFile("Data/Sound/sounds.json", contents);
        EXPECT_FALSE(_system.Init()) << (contents ? contents : "(no file)");
        EXPECT_EQ(_system.Engine(), nullptr) << "a failed start leaves no engine open";
        EXPECT_NE(test::ReadTrace().find(message), std::string::npos) << message;
    }
    EXPECT_FALSE(std::filesystem::exists("Data/Sound/sounds.json.tmp"));
}

TEST_F(SoundSystemTest, ASoundThatCannotBePlayedIsReportedOnceAndStaysSilent)
{
    test::WriteTone("Assets/Sound/good.wav", 0.5);
    test::WriteFile("Assets/Sound/broken.ogg", "not audio");
    test::WriteFile("Data/Sound/sounds.json", R"([
        {"name": "good", "filename": "Assets/Sound/good.wav"},
        {"name": "broken", "filename": "Assets/Sound/broken.ogg"},
        {"name": "missing", "filename": "Assets/Sound/missing.ogg"}])");
    ASSERT_TRUE(_system.Init());

    for (const char* name : {"broken", "missing"})
    {
        Sound sound;
        sound.Set(name, 1.0f, false, true);
        sound.Play();
        sound.Play();
        EXPECT_FALSE(sound.IsPlaying()) << name;
        EXPECT_FALSE(sound.InPlayingList()) << name;
    }
    Sound good;
    good.Set("good", 1.0f, false, true);
    good.Play();
    EXPECT_TRUE(good.IsPlaying());

    const std::string trace = test::ReadTrace();
    EXPECT_EQ(test::Count(trace, "cannot play Assets/Sound/broken.ogg"), 1u) << trace;
    EXPECT_EQ(test::Count(trace, "cannot play Assets/Sound/missing.ogg"), 1u) << trace;
}
