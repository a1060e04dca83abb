#include "AudioTestSupport.h"

#include "audio/AudioEngine.h"
#include "audio/AudioSound.h"

#include <sndfile.h>

#include <thread>
#include <vector>

using test::WaitFor;
using test::WriteTone;

namespace
{
constexpr unsigned kMode = AudioEngine::kLoopOff | AudioEngine::k2D;

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
    void Open(int channels = 64, unsigned flags = 0)
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

void Sleep(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}
} // namespace

TEST_F(AudioEngineTest, APlaybackReportsPlayingUntilItEndsThenItsHandleIsDead)
{
    Open();
    const AudioChannel channel = _engine.PlaySound(_short, false);
    EXPECT_TRUE(_engine.IsPlaying(channel));
    EXPECT_FALSE(_engine.IsPaused(channel));
    ASSERT_TRUE(WaitFor([&] { return !_engine.IsPlaying(channel); }));

    // A finished channel ignores every call, even once its slot plays something else.
    const AudioChannel next = _engine.PlaySound(_long, false);
    _engine.Stop(channel);
    _engine.SetPaused(channel, true);
    EXPECT_TRUE(_engine.IsPlaying(next));
    EXPECT_FALSE(_engine.IsPaused(next));
    _engine.Stop(next);
    EXPECT_FALSE(_engine.IsPlaying(next));
    EXPECT_EQ(_engine.ActiveChannels(), 0);
}

TEST_F(AudioEngineTest, PausedChannelsHoldTheirPlaceAndResume)
{
    Open();
    const AudioChannel held = _engine.PlaySound(_short, true);
    const AudioChannel paused = _engine.PlaySound(_short, false);
    _engine.SetPaused(paused, true);
    Sleep(0.3); // longer than the sound
    EXPECT_TRUE(_engine.IsPlaying(held));
    EXPECT_TRUE(_engine.IsPaused(held));
    EXPECT_TRUE(_engine.IsPlaying(paused));
    EXPECT_TRUE(_engine.IsPaused(paused));

    _engine.SetPaused(held, false);
    _engine.SetPaused(paused, false);
    EXPECT_FALSE(_engine.IsPaused(held));
    ASSERT_TRUE(WaitFor([&] { return !_engine.IsPlaying(held) && !_engine.IsPlaying(paused); }));
}

TEST_F(AudioEngineTest, LoopModeKeepsAChannelGoingUntilItIsSwitchedOff)
{
    Open();
    const AudioChannel channel = _engine.PlaySound(_short, false);
    _engine.SetMode(channel, AudioEngine::kLoopNormal);
    Sleep(0.35);
    EXPECT_TRUE(_engine.IsPlaying(channel));
    _engine.SetMode(channel, AudioEngine::kLoopOff);
    EXPECT_TRUE(WaitFor([&] { return !_engine.IsPlaying(channel); }));
}

TEST_F(AudioEngineTest, VolumeIsAppliedAndNeverNegative)
{
    Open();
    const AudioChannel channel = _engine.PlaySound(_long, false);
    _engine.SetVolume(channel, 0.25f);
    EXPECT_FLOAT_EQ(_engine.GetVolume(channel), 0.25f);
    _engine.SetVolume(channel, -1.0f);
    EXPECT_FLOAT_EQ(_engine.GetVolume(channel), 0.0f);
}

TEST_F(AudioEngineTest, ReleasingASoundStopsWhatPlaysIt)
{
    Open();
    const AudioChannel a = _engine.PlaySound(_long, false);
    const AudioChannel b = _engine.PlaySound(_short, false);
    _engine.ReleaseSound(_long);
    EXPECT_FALSE(_engine.IsPlaying(a));
    EXPECT_TRUE(_engine.IsPlaying(b));
}

TEST_F(AudioEngineTest, ClosingEndsEveryChannelAndLaterCallsDoNothing)
{
    Open();
    const AudioChannel channel = _engine.PlaySound(_long, false);
    _engine.Close();
    EXPECT_FALSE(_engine.IsOpen());
    EXPECT_FALSE(_engine.IsPlaying(channel));
    EXPECT_TRUE(_engine.PlaySound(_long, false).IsNone());
    EXPECT_EQ(_engine.CreateSound("long.wav", kMode), nullptr);
    _engine.Update();

    // A handle from the closed engine never matches a playback of the next one.
    ASSERT_TRUE(_engine.Init(64));
    AudioSound* again = _engine.CreateSound("long.wav", kMode);
    const AudioChannel fresh = _engine.PlaySound(again, false);
    EXPECT_EQ(fresh._slot, channel._slot);
    EXPECT_FALSE(_engine.IsPlaying(channel));
    EXPECT_TRUE(_engine.IsPlaying(fresh));
}

TEST_F(AudioEngineTest, ManyPlayAtOnceAndTheOldestGivesWayWhenAllAreBusy)
{
    Open(300);
    std::vector<AudioChannel> channels;
    for (int i = 0; i < 300; ++i)
        channels.push_back(_engine.PlaySound(_long, false));
    int playing = 0;
    for (const AudioChannel& c : channels)
        playing += _engine.IsPlaying(c) ? 1 : 0;
    EXPECT_EQ(playing, 300);

    const AudioChannel extra = _engine.PlaySound(_long, false);
    EXPECT_TRUE(_engine.IsPlaying(extra));
    EXPECT_FALSE(_engine.IsPlaying(channels.front())) << "the oldest playback is replaced";
    EXPECT_TRUE(_engine.IsPlaying(channels[1]));
}

TEST_F(AudioEngineTest, DecodesWavOggAndFlacAndMixesWideFilesDown)
{
    Open();
    WriteTone("tone.ogg", 0.5, 1, SF_FORMAT_OGG | SF_FORMAT_VORBIS);
    WriteTone("tone.flac", 0.5, 2, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    WriteTone("tone4.wav", 0.5, 4);
    AudioSound* ogg = _engine.CreateSound("tone.ogg", kMode);
    AudioSound* flac = _engine.CreateSound("tone.flac", kMode);
    AudioSound* wide = _engine.CreateSound("tone4.wav", kMode);
    ASSERT_NE(ogg, nullptr);
    ASSERT_NE(flac, nullptr);
    ASSERT_NE(wide, nullptr);
    EXPECT_NEAR(ogg->GetLength(), 0.5f, 0.01f);
    EXPECT_EQ(ogg->GetChannels(), 1);
    EXPECT_EQ(flac->GetChannels(), 2);
    EXPECT_EQ(wide->GetChannels(), 1);
    EXPECT_NEAR(wide->GetLength(), 0.5f, 0.01f);
    EXPECT_TRUE(_engine.IsPlaying(_engine.PlaySound(flac, false)));
}

TEST_F(AudioEngineTest, FilesThatCannotBeDecodedAreReportedAndGiveNoSound)
{
    Open();
    test::WriteFile("garbage.ogg", "OggS but not really an ogg stream at all");
    test::WriteFile("empty.wav", "");
    EXPECT_EQ(_engine.CreateSound("missing.wav", kMode), nullptr);
    EXPECT_EQ(_engine.CreateSound("garbage.ogg", kMode), nullptr);
    EXPECT_EQ(_engine.CreateSound("empty.wav", kMode), nullptr);
    EXPECT_TRUE(_engine.PlaySound(nullptr, false).IsNone());
    const std::string trace = test::ReadTrace();
    EXPECT_NE(trace.find("Audio: cannot play missing.wav"), std::string::npos) << trace;
    EXPECT_NE(trace.find("Audio: cannot play garbage.ogg"), std::string::npos) << trace;
    EXPECT_NE(trace.find("Audio: cannot play empty.wav"), std::string::npos) << trace;
}

// Without a device the engine mixes into nothing, driven by Update, and keeps time.
TEST_F(AudioEngineTest, TheSilentMixerKeepsPlaybackStatesRight)
{
    Open(16, AudioEngine::kInitSilent);
    AudioEngine& silent = _engine;
    EXPECT_TRUE(silent.IsSilent());
    AudioSound* sound = _short;
    const AudioChannel once = silent.PlaySound(sound, false);
    const AudioChannel held = silent.PlaySound(sound, false);
    silent.SetPaused(held, true);
    const AudioChannel looped = silent.PlaySound(sound, false);
    silent.SetMode(looped, AudioEngine::kLoopNormal);

    // Nothing advances between updates.
    Sleep(0.25);
    EXPECT_TRUE(silent.IsPlaying(once));
    EXPECT_TRUE(WaitFor(
        [&]
        {
            silent.Update();
            return !silent.IsPlaying(once);
        }));
    EXPECT_TRUE(silent.IsPlaying(held));
    EXPECT_TRUE(silent.IsPaused(held));
    EXPECT_TRUE(silent.IsPlaying(looped));
    EXPECT_EQ(silent.ActiveChannels(), 2);
}
