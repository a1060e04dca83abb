#include "AudioTestSupport.h"

#include "audio/AudioEngine.h"
#include "audio/AudioSound.h"

#include <sndfile.h>

#include <algorithm>
#include <vector>

using test::WriteTone;

namespace
{
constexpr unsigned kMode = AudioEngine::kLoopOff | AudioEngine::k2D;
// Time moves only by the dt given to Update, so endings fall on known frames.
constexpr unsigned kFrameClock = AudioEngine::kInitSilent | AudioEngine::kInitFrameClock;

class AudioEngineTest : public test::AudioTest
{
protected:
    void SetUp() override
    {
        test::AudioTest::SetUp();
        WriteTone("short.wav", 0.1);
        WriteTone("long.wav", 3.0);
    }
    // One engine at a time: OpenAL has one current context per process.
    void Open(unsigned flags = kFrameClock, int channels = 64)
    {
        ASSERT_TRUE(_engine.Init(channels, flags));
        _short = _engine.CreateSound("short.wav", kMode);
        _long = _engine.CreateSound("long.wav", kMode);
        ASSERT_NE(_short, nullptr);
        ASSERT_NE(_long, nullptr);
    }
    void TearDown() override
    {
        _engine.Close();
        test::AudioTest::TearDown();
    }

    AudioEngine _engine;
    AudioSound* _short = nullptr;
    AudioSound* _long = nullptr;
};
} // namespace

TEST_F(AudioEngineTest, OnTheOutputDeviceChannelsPauseStopAndTakeTheirVolume)
{
    Open(0);
    EXPECT_FALSE(_engine.IsSilent());
    const AudioChannel channel = _engine.PlaySound(_long, false);
    EXPECT_TRUE(_engine.IsPlaying(channel));
    _engine.SetPaused(channel, true);
    EXPECT_TRUE(_engine.IsPaused(channel));
    _engine.SetVolume(channel, 0.25f);
    EXPECT_FLOAT_EQ(_engine.GetVolume(channel), 0.25f);
    _engine.SetVolume(channel, -1.0f);
    EXPECT_FLOAT_EQ(_engine.GetVolume(channel), 0.0f) << "never negative";
    _engine.Stop(channel);
    EXPECT_FALSE(_engine.IsPlaying(channel));

    // A stopped channel ignores every call, even once its slot plays something else.
    const AudioChannel next = _engine.PlaySound(_short, false);
    _engine.Stop(channel);
    _engine.SetPaused(channel, true);
    EXPECT_TRUE(_engine.IsPlaying(next));
    EXPECT_FALSE(_engine.IsPaused(next));
}

TEST_F(AudioEngineTest, PlaybacksEndOnTimePausedOnesHoldAndReleaseOrCloseEndsThem)
{
    Open();
    const AudioChannel once = _engine.PlaySound(_short, false);
    const AudioChannel held = _engine.PlaySound(_short, true);
    const AudioChannel paused = _engine.PlaySound(_short, false);
    _engine.SetPaused(paused, true);

    _engine.Update(0.05f);
    EXPECT_TRUE(_engine.IsPlaying(once)) << "half of the sound";
    _engine.Update(0.3f);
    EXPECT_FALSE(_engine.IsPlaying(once));
    for (const AudioChannel& c : {held, paused})
    {
        EXPECT_TRUE(_engine.IsPlaying(c));
        EXPECT_TRUE(_engine.IsPaused(c));
    }
    EXPECT_EQ(_engine.ActiveChannels(), 2);

    _engine.SetPaused(held, false);
    _engine.Update(0.3f);
    EXPECT_FALSE(_engine.IsPlaying(held));
    EXPECT_TRUE(_engine.IsPlaying(paused));

    _engine.Close();
    Open();
    const AudioChannel channel = _engine.PlaySound(_long, false);
    const AudioChannel played = _engine.PlaySound(_short, false);
    _engine.ReleaseSound(_short);
    EXPECT_FALSE(_engine.IsPlaying(played)) << "releasing a sound stops what plays it";
    EXPECT_TRUE(_engine.IsPlaying(channel)) << "and nothing else";
    _engine.Close();
    EXPECT_FALSE(_engine.IsOpen());
    EXPECT_FALSE(_engine.IsPlaying(channel));
    EXPECT_TRUE(_engine.PlaySound(_long, false).IsNone());
    EXPECT_EQ(_engine.CreateSound("long.wav", kMode), nullptr);
    _engine.Update();

    // A handle from the closed engine never matches a playback of the next one.
    ASSERT_TRUE(_engine.Init(64, kFrameClock));
    AudioSound* again = _engine.CreateSound("long.wav", kMode);
    const AudioChannel fresh = _engine.PlaySound(again, false);
    EXPECT_EQ(fresh._slot, channel._slot);
    EXPECT_FALSE(_engine.IsPlaying(channel));
    EXPECT_TRUE(_engine.IsPlaying(fresh));
}

TEST_F(AudioEngineTest, ManyPlayAtOnceAndTheOldestGivesWayWhenAllAreBusy)
{
    Open(0, 300);
    std::vector<AudioChannel> channels;
    for (int i = 0; i < 300; ++i)
        channels.push_back(_engine.PlaySound(_long, false));
    EXPECT_EQ(
        std::count_if(channels.begin(), channels.end(), [&](const AudioChannel& c) { return _engine.IsPlaying(c); }),
        300);

    const AudioChannel extra = _engine.PlaySound(_long, false);
    EXPECT_TRUE(_engine.IsPlaying(extra));
    EXPECT_FALSE(_engine.IsPlaying(channels.front())) << "the oldest playback is replaced";
    EXPECT_TRUE(_engine.IsPlaying(channels[1]));
}

TEST_F(AudioEngineTest, DecodesWavOggAndFlacMixesWideFilesDownAndRefusesTheRest)
{
    Open();
    struct Case
    {
        const char* file;
        int channels;
        int format;
        int loaded; // channels once decoded: wider files are mixed down to mono
    };
    for (const Case& c : {Case{"tone.ogg", 1, SF_FORMAT_OGG | SF_FORMAT_VORBIS, 1},
                          Case{"tone.flac", 2, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2}, Case{"tone4.wav", 4, 0, 1}})
    {
        WriteTone(c.file, 0.5, c.channels, c.format);
        AudioSound* sound = _engine.CreateSound(c.file, kMode);
        ASSERT_NE(sound, nullptr) << c.file;
        EXPECT_NEAR(sound->GetLength(), 0.5f, 0.01f) << c.file;
        EXPECT_EQ(sound->GetChannels(), c.loaded) << c.file;
        EXPECT_TRUE(_engine.IsPlaying(_engine.PlaySound(sound, false))) << c.file;
    }

    test::WriteFile("empty.wav", "");
    EXPECT_EQ(_engine.CreateSound("empty.wav", kMode), nullptr);
    EXPECT_TRUE(_engine.PlaySound(nullptr, false).IsNone());
}
