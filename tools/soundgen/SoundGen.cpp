// Makes every sound of the game from scratch and writes it as mono OGG Vorbis.
//   gloamer_soundgen [OUTPUT_FOLDER] [NAME...]
// The folder defaults to game/Assets/Sound (run from the repository root); naming
// sounds makes only those. Needs nothing beyond libsndfile built with Vorbis
// (Debian's libsndfile1), which the game links anyway.

#include "Recipes.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <set>

namespace
{
bool WriteOgg(const std::filesystem::path& path, const dsp::Buffer& samples)
{
    SF_INFO info{};
    info.samplerate = dsp::kRate;
    info.channels = 1;
    info.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
    {
        std::cerr << "gloamer_soundgen: " << path.string() << ": " << sf_strerror(nullptr) << "\n";
        return false;
    }
    // Vorbis quality 0..1; a little above the bottom keeps dark material clean and
    // the whole set small.
    double quality = 0.3;
    sf_command(file, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof(quality));
    const sf_count_t written = sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(file);
    return written == static_cast<sf_count_t>(samples.size());
}

// Cuts the tail once it has fallen below -60 dB, with a short fade.
void TrimTail(dsp::Buffer& b)
{
    std::size_t end = b.size();
    while (end > 0 && std::abs(b[end - 1]) < 0.001f)
        --end;
    b.resize(std::min(b.size(), end + dsp::Samples(0.05)));
    dsp::FadeOut(b, 0.05);
}

// Removes what no speaker plays (rumbles drift far below 20 Hz) and so frees
// headroom; a loop is filtered twice over so its ends still meet.
void RemoveSubsonic(dsp::Buffer& b, bool loop)
{
    float peak = 0.0f;
    for (float v : b)
        peak = std::max(peak, std::abs(v));
    dsp::Biquad high;
    high.HighPass(25.0);
    if (loop)
    {
        for (float v : b)
            high.Process(v);
    }
    for (float& v : b)
        v = high.Process(v);
    dsp::Normalise(b, peak);
}

double Rms(const dsp::Buffer& b)
{
    double sum = 0.0;
    for (float v : b)
        sum += static_cast<double>(v) * v;
    return b.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(b.size()));
}
} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path folder = argc > 1 ? argv[1] : "game/Assets/Sound";
    const std::set<std::string> only(argv + std::min(argc, 2), argv + argc);
    std::filesystem::create_directories(folder);

    std::vector<Recipe> recipes;
    for (auto group : {CreatureRecipes, ImpactRecipes, MusicRecipes, InterfaceRecipes})
    {
        auto more = group();
        recipes.insert(recipes.end(), more.begin(), more.end());
    }

    int failures = 0;
    for (const Recipe& r : recipes)
    {
        if (!only.empty() && !only.contains(r.name))
            continue;
        dsp::Buffer samples = r.make();
        RemoveSubsonic(samples, r.loop);
        if (!r.loop)
            TrimTail(samples);
        const auto path = folder / (r.name + ".ogg");
        if (!WriteOgg(path, samples))
        {
            ++failures;
            continue;
        }
        std::cout << r.name << ": " << static_cast<double>(samples.size()) / dsp::kRate << " s, rms " << Rms(samples)
                  << ", " << std::filesystem::file_size(path) / 1024 << " KiB\n";
    }
    return failures == 0 ? 0 : 1;
}
