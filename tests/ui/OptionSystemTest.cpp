#include "audio/AudioTestSupport.h"

#include "audio/SoundSystem.h"
#include "core/MessageSystem.h"
#include "core/WindowSystem.h"
#include "ui/OptionSystem.h"

#include <vector>

using nlohmann::json;

namespace
{
std::vector<int> s_windowModes;

class OptionSystemTest : public test::AudioTest
{
protected:
    void SetUp() override
    {
        test::AudioTest::SetUp();
        s_windowModes.clear();
        OptionSystem::SetWindowModeFunction([](int mode) { s_windowModes.push_back(mode); });
    }

    void Post(const std::string& name)
    {
        MessageSystem::Instance().Send(Message(name, {}, 0.0f, true));
        _options.Update(0.016f);
        MessageSystem::Instance().Update(0.016f);
    }

    OptionSystem& _options = OptionSystem::Instance();
    SoundVolumes& _volumes = SoundSystem::Instance().Volumes();
};

const json kDefaults = json::parse(R"({
    "sound": {"mastervol": 1.0, "sfxvol": 1.0, "musicvol": 1.0},
    "graphics": {"resolution": 4, "windowmode": 1, "vsync": false},
    "gameplay": {"disabletooltips": false, "disableflashing": false},
    "debug": {"freecam": false, "disablelights": false, "godmode": false, "infinitetraps": false}})");
} // namespace

TEST_F(OptionSystemTest, MissingMalformedOrWrongTypedOptionsKeepTheirDefaults)
{
    EXPECT_TRUE(_options.Init());
    EXPECT_EQ(OptionSystem::Graphics().windowMode, 1);
    EXPECT_EQ(OptionSystem::Graphics().resolution, 4);
    _options.Exit();
    const std::string written = test::ReadFile("Data/Data/dat_options.json");
    EXPECT_EQ(json::parse(written), kDefaults);
    EXPECT_EQ(written, kDefaults.dump(4) + "\n");

    // A malformed file is kept as bad and replaced.
    const std::string broken = R"({"sound": {"mastervol": 0.5)";
    test::WriteFile("Data/Data/dat_options.json", broken);
    EXPECT_TRUE(_options.Init());
    EXPECT_FLOAT_EQ(_volumes.masterVol, 1.0f);
    EXPECT_NE(test::ReadTrace().find("Data/Data/dat_options.json: parse error"), std::string::npos);
    _options.Exit();
    EXPECT_EQ(json::parse(test::ReadFile("Data/Data/dat_options.json")), kDefaults);
    EXPECT_EQ(test::ReadFile("Data/Data/dat_options.json.bad"), broken);

    // The next good run writes over the new file only; the kept copy stays as it was.
    EXPECT_TRUE(_options.Init());
    _options.Exit();
    EXPECT_EQ(test::ReadFile("Data/Data/dat_options.json.bad"), broken);

    // A value of the wrong type is reported and keeps its value.
    test::WriteFile("Data/Data/dat_options.json", R"({
        "sound": {"mastervol": "loud", "sfxvol": 0.25},
        "graphics": {"vsync": 1, "windowmode": 0},
        "debug": 7})");
    EXPECT_TRUE(_options.Init());
    EXPECT_FLOAT_EQ(_volumes.masterVol, 1.0f);
    EXPECT_FLOAT_EQ(_volumes.sfxVol, 0.25f);
    EXPECT_FALSE(OptionSystem::Graphics().vSync);
    EXPECT_EQ(OptionSystem::Graphics().windowMode, 0);
    const std::string trace = test::ReadTrace();
    for (const char* line : {"Data/Data/dat_options.json: /sound/mastervol: type must be number, but is string",
                             "Data/Data/dat_options.json: /graphics/vsync: type must be boolean, but is number",
                             "Data/Data/dat_options.json: /debug: a section must be a JSON object"})
        EXPECT_NE(trace.find(line), std::string::npos) << line << "\n" << trace;
}

TEST_F(OptionSystemTest, TheSavedWindowModeIsAppliedUnlessWindowedByFlagAndToggleWindowFlipsIt)
{
    test::WriteFile("Data/Data/dat_options.json", R"({"graphics": {"windowmode": 0}})");
    ASSERT_TRUE(_options.Init());
    EXPECT_EQ(s_windowModes, (std::vector<int>{0}));

    s_windowModes.clear();
    WindowOptions windowed;
    windowed.windowed = true;
    WindowSystem::Instance().Configure(windowed);
    test::WriteFile("Data/Data/dat_options.json", R"({"graphics": {"windowmode": 1}})");
    ASSERT_TRUE(_options.Init());
    WindowSystem::Instance().Configure({});
    EXPECT_TRUE(s_windowModes.empty());
    EXPECT_EQ(OptionSystem::Graphics().windowMode, 1) << "still saved as the player left it";

    Post("Toggle Window");
    Post("Toggle Window");
    EXPECT_EQ(s_windowModes, (std::vector<int>{0, 1}));
    EXPECT_EQ(OptionSystem::Graphics().windowMode, 1);
    Post("Something Else");
    EXPECT_EQ(s_windowModes.size(), 2u) << "the message is consumed, so it acts once";

    // Any mode other than windowed counts as fullscreen and becomes windowed.
    OptionSystem::Graphics().windowMode = 2;
    Post("Toggle Window");
    EXPECT_EQ(OptionSystem::Graphics().windowMode, 0);
    EXPECT_EQ(s_windowModes.back(), 0);
    EXPECT_NE(test::ReadTrace().find("Fullscreen Toggled"), std::string::npos);
}

TEST_F(OptionSystemTest, ToggleAudioSwitchesSoundOffAndOnWithoutChangingVolumes)
{
    test::WriteSoundTable(json::array({{"hum", 2.0}}));
    SoundSystem& sound = SoundSystem::Instance();
    ASSERT_TRUE(sound.Init());
    test::WriteFile("Data/Data/dat_options.json", R"({"sound": {"mastervol": 0.5}})");
    ASSERT_TRUE(_options.Init());

    Post("Toggle Audio");
    EXPECT_FALSE(sound.IsEnabled());
    EXPECT_FLOAT_EQ(_volumes.masterVol, 0.5f);
    Post("Toggle Audio");
    EXPECT_TRUE(sound.IsEnabled());
    EXPECT_NE(test::ReadTrace().find("Audio Toggled"), std::string::npos);

    _options.Exit();
    EXPECT_EQ(json::parse(test::ReadFile("Data/Data/dat_options.json"))["sound"]["mastervol"], 0.5);
}

TEST_F(OptionSystemTest, VolumeMessagesStepTheirOwnVolumeInTenthsWithinRange)
{
    test::WriteSoundTable(json::array({{"hum", 2.0}}));
    ASSERT_TRUE(SoundSystem::Instance().Init());
    test::WriteFile("Data/Data/dat_options.json", R"({"sound": {"mastervol": 0.5, "musicvol": 0.9, "sfxvol": 0.0}})");
    ASSERT_TRUE(_options.Init());

    Post("Master Volume Up");
    EXPECT_FLOAT_EQ(_volumes.masterVol, 0.6f);
    Post("Master Volume Down");
    Post("Master Volume Down");
    EXPECT_FLOAT_EQ(_volumes.masterVol, 0.4f);
    // Full volume is the top.
    Post("Music Volume Up");
    Post("Music Volume Up");
    EXPECT_FLOAT_EQ(_volumes.musicVol, 1.0f);
    Post("Music Volume Down");
    EXPECT_FLOAT_EQ(_volumes.musicVol, 0.9f);
    Post("Effects Volume Down");
    EXPECT_FLOAT_EQ(_volumes.sfxVol, 0.0f);
    Post("Effects Volume Up");
    EXPECT_FLOAT_EQ(_volumes.sfxVol, 0.1f);
    // Each message moved only its own volume.
    EXPECT_FLOAT_EQ(_volumes.masterVol, 0.4f);
    EXPECT_FLOAT_EQ(_volumes.musicVol, 0.9f);
    EXPECT_NE(test::ReadTrace().find("Effects Volume 10%"), std::string::npos);
    _options.Exit();
}
