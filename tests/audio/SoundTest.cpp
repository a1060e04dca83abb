#include "AudioTestSupport.h"

#include "audio/Sound.h"
#include "audio/SoundSystem.h"
#include "core/WindowSystem.h"
#include "input/InputSystem.h"

#include <memory>
#include <thread>

using nlohmann::json;

namespace
{
class SoundTest : public test::AudioTest
{
protected:
    void SetUp() override
    {
        test::AudioTest::SetUp();
        test::WriteSoundTable(json::array({{"first", 2.0, {{"volume", 0.5}}},
                                           {"blip", 0.1},
                                           {"music", 2.0, {{"category", 1}, {"volume", 0.8}}},
                                           {"long", 2.0}}));
        ASSERT_TRUE(_system.Init());
    }

    float Volume(const Sound& s) { return _system.Engine()->GetVolume(s.GetChannel()); }
    bool Playing(const AudioChannel& c) { return _system.Engine()->IsPlaying(c); }

    SoundSystem& _system = SoundSystem::Instance();
};

std::unique_ptr<Sound> Make(const std::string& name, float volume = 1.0f, bool looping = false, bool persistent = true)
{
    auto s = std::make_unique<Sound>();
    s->Set(name, volume, looping, persistent);
    return s;
}
} // namespace

TEST_F(SoundTest, EffectiveVolumeMultipliesMasterCategoryEntryAndSoundAndFocusOrMuteSilence)
{
    auto effect = Make("long", 0.5f);
    auto music = Make("music", 0.5f);
    SoundVolumes& volumes = _system.Volumes();
    volumes = {0.8f, 0.5f, 0.25f};
    EXPECT_FLOAT_EQ(_system.EffectiveVolume(*effect), 0.2f);
    EXPECT_FLOAT_EQ(_system.EffectiveVolume(*music), 0.08f);

    effect->Play();
    music->Play();
    EXPECT_FLOAT_EQ(Volume(*effect), 0.2f);

    // Option changes reach playing sounds through the refresh; disabling silences
    // everything without touching a volume value.
    volumes.masterVol = 1.0f;
    _system.RefreshVolumes();
    EXPECT_FLOAT_EQ(Volume(*effect), 0.25f);
    _system.SetEnabled(false);
    EXPECT_FLOAT_EQ(_system.EffectiveVolume(*music), 0.0f);
    EXPECT_FLOAT_EQ(Volume(*music), 0.0f);
    auto started = Make("long");
    started->Play();
    EXPECT_TRUE(started->IsPlaying());
    EXPECT_FLOAT_EQ(Volume(*started), 0.0f) << "a sound started while disabled is silent";
    _system.SetEnabled(true);
    EXPECT_FLOAT_EQ(Volume(*music), 0.1f);
    EXPECT_FLOAT_EQ(Volume(*started), 0.5f);
    EXPECT_FLOAT_EQ(volumes.musicVol, 0.25f);

    volumes = {1.0f, 1.0f, 1.0f};
    _system.RefreshVolumes();
    WindowSystem::SetFocused(false);
    EXPECT_FLOAT_EQ(Volume(*music), 0.0f);
    EXPECT_TRUE(music->IsPlaying()) << "muted, not stopped";
    WindowSystem::SetFocused(true);
    EXPECT_FLOAT_EQ(Volume(*music), 0.4f);
    EXPECT_FLOAT_EQ(_system.Volumes().masterVol, 1.0f);

    // Alt-tab away and back never undoes the player's own mute.
    _system.SetEnabled(false);
    WindowSystem::SetFocused(false);
    WindowSystem::SetFocused(true);
    EXPECT_FALSE(_system.IsEnabled());
    EXPECT_FLOAT_EQ(Volume(*music), 0.0f);
    _system.SetEnabled(true);
    EXPECT_FLOAT_EQ(Volume(*music), 0.4f);

    InputSystem::Instance().SetScriptFile("input.json");
    WindowSystem::SetFocused(false);
    EXPECT_FLOAT_EQ(Volume(*music), 0.4f) << "a scripted run ignores the desktop's focus";
}

TEST_F(SoundTest, PlayResumesAPauseAndUnknownNamesPlayTheFirstEntry)
{
    auto s = Make("long");
    s->Pause(true); // not playing: nothing to pause
    EXPECT_FALSE(s->IsPlaying());
    s->Play();
    const AudioChannel resumed = s->GetChannel();
    s->Pause(true);
    EXPECT_TRUE(s->IsPaused());
    EXPECT_TRUE(s->IsPlaying()) << "a paused sound still counts as playing";
    s->Play();
    EXPECT_EQ(s->GetChannel()._generation, resumed._generation);
    EXPECT_FALSE(s->IsPaused());

    s->Stop();
    s->Play();
    const AudioChannel first = s->GetChannel();
    s->Play();
    const AudioChannel second = s->GetChannel();
    EXPECT_NE(first._generation, second._generation);
    s->Pause(true);
    EXPECT_TRUE(_system.Engine()->IsPaused(second));
    EXPECT_FALSE(_system.Engine()->IsPaused(first));
    s->Stop();
    EXPECT_FALSE(Playing(second));
    EXPECT_TRUE(Playing(first)) << "only the latest playback is reachable";
    EXPECT_EQ(_system.PlayingListSize(), 1u) << "a sound is listed once however often it plays";

    auto unknown = Make("no such sound");
    EXPECT_EQ(unknown->GetIndex(), 0);
    unknown->Play();
    EXPECT_TRUE(unknown->IsPlaying());
    EXPECT_FLOAT_EQ(Volume(*unknown), 0.5f) << "the first entry's own volume applies";

    Sound read;
    read.Read(json::parse(R"({"name": "missing too", "volume": 0.25})"));
    EXPECT_EQ(read.GetIndex(), 0);
    EXPECT_FLOAT_EQ(read.GetVolume(), 0.25f);
    EXPECT_THROW(read.Read(json::parse(R"({"volume": "loud"})")), json::type_error);

    Make("no such sound");
    const std::string trace = test::ReadTrace();
    EXPECT_EQ(test::Count(trace, "Data/Sound/sounds.json: no sound named \"no such sound\""), 1u) << trace;
    EXPECT_NE(trace.find("\"missing too\""), std::string::npos);

    json written;
    Make("music", 0.3f)->Write(written);
    EXPECT_EQ(written["name"], "music");
    EXPECT_EQ(written["volume"], 0.3);
}

TEST_F(SoundTest, ThePlayingListFollowsOwnersCopiesAndTheSystem)
{
    auto persistent = Make("long", 1.0f, false, true);
    auto fleeting = Make("long", 1.0f, false, false);
    persistent->Play();
    fleeting->Play();
    const AudioChannel kept = persistent->GetChannel();
    const AudioChannel cut = fleeting->GetChannel();
    EXPECT_EQ(_system.PlayingListSize(), 2u);

    auto loop = Make("blip", 1.0f, true, true);
    loop->Play();
    const AudioChannel looping = loop->GetChannel();

    persistent.reset();
    fleeting.reset();
    loop.reset();
    EXPECT_TRUE(Playing(kept));
    EXPECT_FALSE(Playing(cut));
    EXPECT_FALSE(Playing(looping)) << "a loop would never end on its own";
    // Refreshing volumes after the owners are gone touches neither.
    _system.RefreshVolumes();
    _system.Update(0.016f);
    EXPECT_EQ(_system.PlayingListSize(), 0u) << "records of destroyed sounds go at the next update";

    auto original = Make("long", 0.7f, true, false);
    original->Play();
    Sound copy(*original);
    EXPECT_FALSE(copy.IsPlaying());
    EXPECT_FALSE(copy.InPlayingList());
    EXPECT_EQ(copy.GetIndex(), original->GetIndex());
    EXPECT_FLOAT_EQ(copy.GetVolume(), 0.7f);

    auto target = Make("music");
    target->Play();
    const AudioChannel before = target->GetChannel();
    *target = *original;
    EXPECT_FALSE(Playing(before)) << "assignment stops the old playback";
    EXPECT_FALSE(target->InPlayingList());
    EXPECT_TRUE(target->IsLooping());
    EXPECT_FALSE(target->IsPersistent());

    original->Set("long", 0.2f, true, false);
    EXPECT_TRUE(original->IsPlaying()) << "the same entry keeps playing";
    EXPECT_FLOAT_EQ(Volume(*original), 0.2f);
    original->Set("music", 1.0f, false, true);
    EXPECT_FALSE(original->IsPlaying());
    EXPECT_FALSE(original->InPlayingList());

    _system.Update(0.016f);
    EXPECT_EQ(_system.PlayingListSize(), 0u);
    original->Play();
    EXPECT_EQ(_system.PlayingListSize(), 1u);

    // The list keeps its order when records are dropped.
    original.reset();
    target.reset();
    _system.Update(0.016f);
    auto a = Make("long");
    auto b = Make("long");
    auto c = Make("long");
    a->Play();
    b->Play();
    c->Play();
    b.reset();
    _system.Update(0.016f);
    ASSERT_EQ(_system.PlayingListSize(), 2u);

    // Records that moved still point at their sounds.
    c->LeavePlayingList();
    EXPECT_FALSE(c->InPlayingList());
    _system.Volumes().masterVol = 0.5f;
    _system.RefreshVolumes();
    EXPECT_FLOAT_EQ(Volume(*a), 0.5f);
    EXPECT_FLOAT_EQ(Volume(*c), 1.0f) << "out of the list, out of the refresh";
    _system.Update(0.016f);
    EXPECT_EQ(_system.PlayingListSize(), 1u);

    auto s = Make("long", 1.0f, false, false);
    s->Play();
    _system.Exit();
    EXPECT_FALSE(s->IsPlaying());
    EXPECT_FALSE(s->InPlayingList());
    s->Play();
    s->Pause(true);
    s->SetVolume(0.5f);
    s.reset();
}

TEST_F(SoundTest, HeadlessRunsMoveSoundsOnlyByTheFrameTime)
{
    _system.Reset();
    _system.SetHeadless(true);
    ASSERT_TRUE(_system.Init());
    EXPECT_TRUE(_system.Engine()->IsSilent());
    auto blip = Make("blip"); // 0.1 s
    auto looped = Make("blip", 1.0f, true);
    blip->Play();
    looped->Play();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    _system.Update(0.0f);
    EXPECT_TRUE(blip->IsPlaying()) << "wall-clock time does not count";
    _system.Update(0.15f);
    EXPECT_FALSE(blip->IsPlaying());

    _system.Update(0.3f);
    EXPECT_TRUE(looped->IsPlaying()) << "a looping sound goes on past its end";
    looped->SetLooping(false);
    _system.Update(0.2f);
    EXPECT_FALSE(looped->IsPlaying());
}
