#include "TestSupport.h"

#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace
{
// Runs the sound tool, a process of its own because OpenAL Soft reads its output
// settings once per process.
class PlaySoundToolTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        test::ScratchTest::SetUp();
        const std::filesystem::path content = GLOAMER_CONTENT;
        std::filesystem::create_directories("Data/Sound");
        std::filesystem::create_directories("Assets/Sound");
        std::filesystem::copy_file(content / "Data/Sound/sounds.json", "Data/Sound/sounds.json");
        std::filesystem::copy_file(content / "Assets/Sound/heartbeat.ogg", "Assets/Sound/heartbeat.ogg");
    }

    int Run(const std::string& environment, const std::string& arguments)
    {
        const std::string command = environment + " '" + GLOAMER_PLAYSOUND_BINARY + "' --data '" + _scratch.string() +
                                    "' " + arguments + " > /dev/null 2>&1";
        return std::system(command.c_str());
    }

    // The first channel of what the wave writer recorded; empty when it is missing.
    std::vector<float> Recording(const std::string& name, float master, double seconds, int& rate)
    {
        const std::filesystem::path wav = _scratch / ("out-" + std::to_string(master) + ".wav");
        const std::filesystem::path conf = _scratch / "alsoft.conf";
        test::WriteFile(conf, "[general]\ndrivers=wave\n[wave]\nfile=" + wav.string() + "\n");
        if (Run("ALSOFT_DRIVERS=wave ALSOFT_CONF='" + conf.string() + "'",
                "--seconds " + std::to_string(seconds) + " --master " + std::to_string(master) + " " + name) != 0)
            return {};
        SF_INFO info{};
        SNDFILE* file = sf_open(wav.c_str(), SFM_READ, &info);
        if (!file)
            return {};
        std::vector<float> interleaved(static_cast<std::size_t>(info.frames * info.channels));
        const sf_count_t frames = sf_readf_float(file, interleaved.data(), info.frames);
        sf_close(file);
        std::vector<float> samples;
        for (sf_count_t i = 0; i < frames; ++i)
            samples.push_back(interleaved[static_cast<std::size_t>(i * info.channels)]);
        rate = info.samplerate;
        return samples;
    }

    // RMS of a 1.2 s recording, or -1 when the recording is missing or too short.
    double Record(const std::string& name, float master)
    {
        int rate = 0;
        const std::vector<float> samples = Recording(name, master, 1.2, rate);
        if (samples.size() < static_cast<std::size_t>(rate))
            return -1.0;
        double sum = 0.0;
        for (float v : samples)
            sum += static_cast<double>(v) * v;
        return std::sqrt(sum / static_cast<double>(samples.size()));
    }
};

// Largest step between neighbouring samples in [from, to).
float LargestStep(const std::vector<float>& samples, std::size_t from, std::size_t to)
{
    float largest = 0.0f;
    for (std::size_t i = std::max<std::size_t>(from, 1); i < to; ++i)
        largest = std::max(largest, std::fabs(samples[i] - samples[i - 1]));
    return largest;
}
} // namespace

TEST_F(PlaySoundToolTest, TheHeartbeatIsAudibleAndMasterVolumeZeroIsSilent)
{
    const double loud = Record("heartbeat", 1.0f);
    const double muted = Record("heartbeat", 0.0f);
    EXPECT_GT(loud, 0.02) << "a heartbeat at full volume";
    EXPECT_GE(muted, 0.0) << "the muted run still records";
    EXPECT_LT(muted, 1e-4);
}

TEST_F(PlaySoundToolTest, WithoutAnOutputDeviceSoundRunsSilentKeepsTimeAndSaysSoOnce)
{
    // No driver that can open: the silent mixer takes over and the heartbeat still
    // ends after its length, which is when the tool stops. A busy machine only makes
    // the run longer; the timeout catches a tool that never stops.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(Run("ALSOFT_DRIVERS=none-at-all timeout 60", "heartbeat"), 0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GT(seconds, 0.8) << "the silent mixer keeps real time";

    EXPECT_EQ(test::Count(test::ReadFile(_scratch / "Trace.log"),
                          "Audio: no output device could be opened; sound runs silent"),
              1u);
}

TEST_F(PlaySoundToolTest, StartingAndStoppingASoundDoNotClick)
{
    // A low hum that begins at its peak: played as it is, its first sample would be a
    // step from silence far above any step inside the sound.
    test::WriteFile("Data/Sound/sounds.json", R"([{"name": "hum", "filename": "Assets/Sound/hum.wav"}])");
    SF_INFO format{};
    format.samplerate = 22050;
    format.channels = 1;
    format.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* out = sf_open("Assets/Sound/hum.wav", SFM_WRITE, &format);
    ASSERT_NE(out, nullptr);
    std::vector<float> hum(22050);
    for (std::size_t i = 0; i < hum.size(); ++i)
        hum[i] = 0.5f * static_cast<float>(std::cos(i * 2.0 * 3.14159265 * 110.0 / 22050.0));
    sf_writef_float(out, hum.data(), static_cast<sf_count_t>(hum.size()));
    sf_close(out);

    int rate = 0;
    const std::vector<float> samples = Recording("hum", 1.0f, 0.4, rate);
    std::size_t first = samples.size();
    std::size_t last = 0;
    for (std::size_t i = 0; i < samples.size(); ++i)
        if (std::fabs(samples[i]) > 1e-4f)
        {
            first = std::min(first, i);
            last = i;
        }
    const auto tenth = static_cast<std::size_t>(rate / 10);
    ASSERT_LT(first + 3 * tenth, last) << "the hum was recorded, and for long enough";
    ASSERT_LT(last + 1, samples.size()) << "the recording goes on past the stop";

    const float inside = LargestStep(samples, first + tenth, last - tenth);
    EXPECT_LE(LargestStep(samples, first, first + tenth), 1.5f * inside) << "start";
    EXPECT_LE(LargestStep(samples, last - tenth, last + 2), 1.5f * inside) << "stop";
}
