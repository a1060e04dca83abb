#include "TestSupport.h"

#include <sndfile.h>

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

    // RMS of everything the wave writer recorded, or -1 when the recording is missing
    // or too short.
    double Record(const std::string& name, float master)
    {
        const std::filesystem::path wav = _scratch / ("out-" + std::to_string(master) + ".wav");
        const std::filesystem::path conf = _scratch / "alsoft.conf";
        test::WriteFile(conf, "[general]\ndrivers=wave\n[wave]\nfile=" + wav.string() + "\n");
        const std::string command =
            "ALSOFT_DRIVERS=wave ALSOFT_CONF='" + conf.string() + "' '" + GLOAMER_PLAYSOUND_BINARY + "' --data '" +
            _scratch.string() + "' --seconds 1.2 --master " + std::to_string(master) + " " + name + " > /dev/null 2>&1";
        if (std::system(command.c_str()) != 0)
            return -1.0;

        SF_INFO info{};
        SNDFILE* file = sf_open(wav.c_str(), SFM_READ, &info);
        if (!file)
            return -1.0;
        std::vector<float> samples(static_cast<std::size_t>(info.frames * info.channels));
        const sf_count_t frames = sf_readf_float(file, samples.data(), info.frames);
        sf_close(file);
        if (frames < info.samplerate)
            return -1.0;
        double sum = 0.0;
        for (float v : samples)
            sum += static_cast<double>(v) * v;
        return std::sqrt(sum / static_cast<double>(samples.size()));
    }
};
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

    const std::string trace = test::ReadFile(_scratch / "Trace.log");
    const std::string line = "Audio: no output device could be opened; sound runs silent";
    const auto first = trace.find(line);
    ASSERT_NE(first, std::string::npos) << trace;
    EXPECT_EQ(trace.find(line, first + 1), std::string::npos) << "said once";
}
