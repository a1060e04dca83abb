#include "AllocationCounter.h"

#include "audio/Sound.h"
#include "audio/SoundSystem.h"
#include "core/Trace.h"

#include <benchmark/benchmark.h>
#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

namespace
{
// A content folder with eight short effects, so every frame spreads over several buffers.
std::filesystem::path MakeContent()
{
    const auto root = std::filesystem::temp_directory_path() / "gloamer-sound-bench";
    std::filesystem::create_directories(root / "Data/Sound");
    std::filesystem::create_directories(root / "Assets/Sound");
    std::ofstream table(root / "Data/Sound/sounds.json");
    table << "[";
    for (int i = 0; i < 8; ++i)
    {
        const std::string file = "Assets/Sound/fx" + std::to_string(i) + ".wav";
        SF_INFO info{};
        info.samplerate = 22050;
        info.channels = 1;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        SNDFILE* out = sf_open((root / file).c_str(), SFM_WRITE, &info);
        std::vector<short> samples(11025);
        for (std::size_t s = 0; s < samples.size(); ++s)
            samples[s] = static_cast<short>(8000 * std::sin(static_cast<double>(s) * (0.05 + 0.01 * i)));
        sf_write_short(out, samples.data(), static_cast<sf_count_t>(samples.size()));
        sf_close(out);
        table << (i ? "," : "") << R"({"name": "fx)" << i << R"(", "filename": ")" << file << "\"}";
    }
    table << "]";
    return root;
}

void BM_SoundFrame(benchmark::State& state)
{
    ::setenv("ALSOFT_DRIVERS", "null", 0);
    const auto previous = std::filesystem::current_path();
    const auto root = MakeContent();
    std::filesystem::current_path(root);

    SoundSystem& system = SoundSystem::Instance();
    if (!system.Init())
    {
        state.SkipWithError("the sound system did not start");
        return;
    }
    const int count = static_cast<int>(state.range(0));
    std::vector<std::unique_ptr<Sound>> sounds;
    for (int i = 0; i < count; ++i)
    {
        sounds.push_back(std::make_unique<Sound>());
        sounds.back()->Set("fx" + std::to_string(i % 8), 0.5f + 0.005f * i, false, false);
    }
    auto frame = [&]
    {
        for (auto& s : sounds)
            s->Play();
        system.RefreshVolumes();
        for (auto& s : sounds)
            s->Stop();
        system.Update(1.0f / 60.0f);
    };
    frame(); // decode the files and list the sounds once

    const std::size_t before = bench::AllocationCount();
    std::size_t frames = 0;
    for (auto _ : state)
    {
        frame();
        ++frames;
    }
    state.counters["allocs_per_frame"] =
        static_cast<double>(bench::AllocationCount() - before) / static_cast<double>(frames);

    sounds.clear();
    system.Reset();
    Trace::Close();
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_SoundFrame)->Arg(64)->Unit(benchmark::kMicrosecond);
} // namespace
