#include "AudioTestSupport.h"

#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace test
{
void AudioTest::SetUp()
{
    ::setenv("ALSOFT_DRIVERS", "null", 1);
    ScratchTest::SetUp();
}

void WriteTone(const std::filesystem::path& path, double seconds, int channels, int format)
{
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path());
    SF_INFO info{};
    info.samplerate = 22050;
    info.channels = channels;
    info.format = format != 0 ? format : (SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    const auto frames = static_cast<std::size_t>(seconds * info.samplerate);
    std::vector<float> samples(frames * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            samples[i * channels + c] = 0.5f * static_cast<float>(std::sin(i * 2.0 * 3.14159265 * 440.0 / 22050.0));
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(frames));
    sf_close(file);
}

void WriteSoundTable(const nlohmann::json& table)
{
    nlohmann::json out = nlohmann::json::array();
    for (const auto& row : table)
    {
        const std::string name = row.at(0);
        const std::string file = "Assets/Sound/" + name + ".wav";
        WriteTone(file, row.at(1).get<double>());
        nlohmann::json entry = {{"name", name}, {"filename", file}};
        if (row.size() > 2)
            entry.update(row.at(2));
        out.push_back(entry);
    }
    WriteFile("Data/Sound/sounds.json", out.dump(2));
}
} // namespace test
