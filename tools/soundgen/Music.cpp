// The level's ambience and its four layers, the risers, the theme and the sting.
// Everything sits in A minor so the layers sound together.

#include "Recipes.h"

#include <cmath>

using namespace dsp;

namespace
{
constexpr double kLayerLoop = 8.0;

const std::vector<Partial> kBell = {{0.5, 0.5, 3.0}, {1.0, 0.6, 2.0}, {1.2, 0.45, 1.6},  {1.5, 0.3, 1.2},
                                    {2.0, 0.5, 1.0}, {2.5, 0.2, 0.5}, {2.67, 0.15, 0.4}, {3.0, 0.1, 0.3}};
const std::vector<Partial> kMusicBox = {{1.0, 1.0, 1.3}, {2.0, 0.12, 0.5}, {6.27, 0.25, 0.12}, {17.5, 0.04, 0.03}};

// A sustained tone of detuned saws, fitted to the loop so it meets itself in phase.
struct Choir
{
    std::vector<double> freqs;
    std::vector<Osc> oscs;
    Choir(double freq, double loop, std::initializer_list<double> cents)
    {
        for (double c : cents)
            freqs.push_back(LoopFreq(freq * std::pow(2.0, c / 1200.0), loop));
        oscs.resize(freqs.size());
    }
    double Next(double vibrato)
    {
        double sum = 0.0;
        for (std::size_t i = 0; i < oscs.size(); ++i)
            sum += oscs[i].Saw(freqs[i] * (1.0 + vibrato));
        return sum / static_cast<double>(oscs.size());
    }
};

Buffer Finish(const Buffer& rendered, double loop, double room, double damp, double wet, float peak)
{
    Buffer b = CutLoop(Reverb(rendered, room, damp, wet, 0.0), loop, 2, 1.0);
    Normalise(b, peak);
    return b;
}

// A cold, breathing drone: two beating low saws, a fifth, and wind.
Buffer Level1Amb()
{
    const double loop = kLayerLoop;
    Rng rng(61);
    Buffer b = Silence(loop * 3 + 1.0);
    Osc a, b2, fifth, swell, cutoff, wind1, wind2, windLevel;
    BrownNoise brown;
    Biquad low, windBand, sub;
    sub.LowPass(60.0);
    const double fa = LoopFreq(55.0, loop), fb = LoopFreq(55.25, loop), fe = LoopFreq(82.41, loop);
    for (float& v : b)
    {
        low.LowPass(180.0 + 120.0 * (0.5 + 0.5 * cutoff.Sine(1.0 / loop)), 1.2);
        const double drone = low.Process(static_cast<float>(0.4 * a.Saw(fa) + 0.4 * b2.Saw(fb)));
        const double tone = 0.15 * (0.6 + 0.4 * swell.Sine(0.25)) * fifth.Sine(fe);
        windBand.BandPass(450.0 + 250.0 * wind1.Sine(1.0 / loop) + 120.0 * wind2.Sine(0.25), 1.5);
        const double wind = 0.25 * (0.6 + 0.4 * windLevel.Sine(1.0 / loop)) * windBand.Process(rng.Noise());
        v = static_cast<float>(drone + tone + wind + 0.2 * sub.Process(brown.Next(rng)));
    }
    return Finish(b, loop, 0.9, 0.5, 0.35, 0.6f);
}

// First object: a high, glassy, slowly beating pair a semitone apart.
Buffer Level1Item1()
{
    const double loop = kLayerLoop;
    Buffer b = Silence(loop * 3 + 1.0);
    const double freqs[] = {LoopFreq(Note(69), loop), LoopFreq(Note(70), loop), LoopFreq(Note(76), loop)};
    const double periods[] = {2.0, 4.0, 8.0};
    const double gains[] = {0.2, 0.16, 0.08};
    Osc tone[3], third[3], trem[3], shimmer, shimmerTrem;
    for (float& v : b)
    {
        double sum = 0.0;
        for (int k = 0; k < 3; ++k)
            sum += gains[k] * (0.55 + 0.45 * trem[k].Sine(1.0 / periods[k])) *
                   (tone[k].Sine(freqs[k]) + 0.1 * third[k].Sine(freqs[k] * 3.0));
        sum += 0.03 * (0.5 + 0.5 * shimmerTrem.Sine(0.25)) * shimmer.Sine(LoopFreq(1760.0, loop));
        v = static_cast<float>(sum);
    }
    return Finish(b, loop, 0.9, 0.2, 0.45, 0.5f);
}

// Second object: a slow double throb deep in the bass, like a pulse under the floor.
Buffer Level1Item2()
{
    const double loop = kLayerLoop;
    Buffer b = Silence(loop * 4);
    for (int beat = 0; beat < 20; ++beat)
    {
        const double at = beat * 1.6;
        Thud(b, at, 58.0, 55.0, 0.45, 0.9f);
        Thud(b, at, 116.0, 110.0, 0.3, 0.27f);
        Thud(b, at + 0.35, 58.0, 55.0, 0.35, 0.55f);
    }
    Choir pedal(Note(33), loop, {0.0});
    Biquad low;
    low.LowPass(200.0);
    for (float& v : b)
        v = low.Process(static_cast<float>(v + 0.1 * pedal.Next(0.0)));
    b.resize(Samples(loop * 3 + 1.0));
    return Finish(b, loop, 0.7, 0.6, 0.2, 0.6f);
}

// Third object: bowed strings holding a clashing cluster that swells and recedes.
Buffer Level1Item3()
{
    const double loop = kLayerLoop;
    Rng rng(63);
    Buffer b = Silence(loop * 3 + 1.0);
    Choir a3(Note(57), loop, {-6.0, 0.0, 7.0}), bb3(Note(58), loop, {-5.0, 0.0, 6.0}), e4(Note(64), loop, {-4.0, 4.0});
    Osc vibrato, swellA, swellB, swellE;
    Biquad low, bow;
    low.LowPass(1400.0);
    bow.BandPass(2500.0, 1.0);
    for (float& v : b)
    {
        const double vib = 0.004 * vibrato.Sine(5.0);
        const double sa = 0.5 + 0.5 * swellA.Sine(1.0 / loop);
        const double sb = 0.5 - 0.5 * swellB.Sine(1.0 / loop);
        const double se = 0.5 + 0.5 * swellE.Sine(0.25);
        const double strings = 0.4 * sa * a3.Next(vib) + 0.3 * sb * bb3.Next(vib) + 0.25 * se * e4.Next(vib);
        v = low.Process(static_cast<float>(strings)) + static_cast<float>(0.02 * (sa + sb)) * bow.Process(rng.Noise());
    }
    return Finish(b, loop, 0.85, 0.4, 0.35, 0.5f);
}

// Fourth object: a distant bell tolling over a clock's tick.
Buffer Level1Item4()
{
    const double loop = kLayerLoop;
    Rng rng(64);
    Buffer b = Silence(loop * 4);
    for (int toll = 0; toll < 16; ++toll)
        Strike(b, toll * 2.0, toll % 2 == 0 ? Note(57) : Note(52), kBell, 0.5f);
    for (int tick = 0; tick < 32; ++tick)
        NoiseHit(b, tick * 1.0, tick % 2 == 0 ? 2800.0 : 2100.0, 6.0, 0.004, 0.15f, rng);
    Biquad distance;
    distance.LowPass(2500.0);
    for (float& v : b)
        v = distance.Process(v);
    b.resize(Samples(loop * 3 + 1.0));
    return Finish(b, loop, 0.92, 0.5, 0.45, 0.5f);
}

// Tension building as an object is taken: noise and a tone cluster climbing, a
// tremolo speeding up, then a blow. Later risers climb higher and hit harder.
Buffer Riser(int level)
{
    Rng rng(static_cast<std::uint32_t>(70 + level));
    const double seconds = 2.0 + 0.4 * level;
    Buffer b = Silence(seconds);
    Biquad band, low;
    Osc tones[3], tremolo;
    const double roots[] = {Note(45), Note(48), Note(51)};
    const double climb = std::pow(2.0, (3.0 + 2.0 * level) / 12.0);
    for (std::size_t i = 0; i < b.size(); ++i)
    {
        const double t = static_cast<double>(i) / kRate;
        const double u = t / seconds;
        band.BandPass(Glide(t, 0.0, seconds, 250.0, 1500.0 + 1500.0 * level), 1.5);
        low.LowPass(Glide(t, 0.0, seconds, 300.0, 3000.0));
        double cluster = 0.0;
        for (int k = 0; k < 3; ++k)
            cluster += tones[k].Saw(roots[k] * std::pow(climb, u));
        const double trem = 1.0 - 0.5 * (0.5 + 0.5 * tremolo.Sine(3.0 + (5.0 + 4.0 * level) * u * u));
        const double noise = band.Process(rng.Noise()) * u * u;
        const double tone = low.Process(static_cast<float>(cluster / 3.0)) * std::pow(u, 1.5) * 0.5;
        b[i] = static_cast<float>((noise + tone) * trem);
    }
    FadeIn(b, 0.3);
    FadeOut(b, 0.03);
    Thud(b, seconds, 70.0, 35.0, 0.2 + 0.03 * level, static_cast<float>(0.4 + 0.15 * level));
    NoiseHit(b, seconds, 900.0, 0.5, 0.1 + 0.02 * level, static_cast<float>(0.2 + 0.08 * level), rng);
    Buffer out = Reverb(b, 0.75, 0.4, 0.3, 1.0);
    FadeOut(out, 0.5);
    Normalise(out, 0.9f);
    return out;
}

Buffer Riser1()
{
    return Riser(1);
}
Buffer Riser2()
{
    return Riser(2);
}
Buffer Riser3()
{
    return Riser(3);
}
Buffer Riser4()
{
    return Riser(4);
}

// The menu theme: a music-box lullaby in 3/4 over slow chords (Am, Dm, E, Am), as if
// from an empty room.
Buffer MainTheme()
{
    const double beat = 0.66;
    const double bar = beat * 3;
    const double loop = bar * 4;
    struct Step
    {
        int note;
        int beats;
    };
    const Step melody[] = {{69, 2}, {72, 1}, {76, 2}, {74, 1}, {72, 1}, {71, 1}, {68, 1}, {69, 3}};
    const int chords[4][3] = {{57, 60, 64}, {50, 53, 57}, {52, 56, 59}, {57, 60, 64}};
    const int roots[4] = {45, 38, 40, 45};

    Buffer b = Silence(loop * 4);
    for (int cycle = 0; cycle < 4; ++cycle)
    {
        const double start = cycle * loop;
        double at = start;
        for (const Step& s : melody)
        {
            Strike(b, at, Note(s.note), kMusicBox, 0.5f);
            Strike(b, at + 0.004, Note(s.note) * 1.0017, kMusicBox, 0.15f);
            at += s.beats * beat;
        }
        for (int m = 0; m < 4; ++m)
        {
            const double barStart = start + m * bar;
            Thud(b, barStart, Note(roots[m]), Note(roots[m]), 1.5, 0.25f);
            Buffer pad = Silence(bar + 0.8);
            Osc voices[6];
            Biquad low;
            low.LowPass(700.0);
            for (std::size_t i = 0; i < pad.size(); ++i)
            {
                const double t = static_cast<double>(i) / kRate;
                double sum = 0.0;
                for (int k = 0; k < 3; ++k)
                {
                    const double f = Note(chords[m][k]);
                    sum += voices[2 * k].Saw(f * 0.998) + voices[2 * k + 1].Saw(f * 1.002);
                }
                pad[i] = static_cast<float>(0.035 * Envelope(t, 0.6, bar - 0.3, bar + 0.8)) *
                         low.Process(static_cast<float>(sum));
            }
            Mix(b, pad, barStart);
        }
    }
    Choir drone(Note(33), loop, {0.0});
    for (float& v : b)
        v += static_cast<float>(0.04 * drone.Next(0.0));
    b.resize(Samples(loop * 3 + 1.0));
    return Finish(b, loop, 0.88, 0.35, 0.38, 0.7f);
}

// The camera tour's sting: a dark brass cluster swelling into a low blow and a bell.
Buffer Ominous()
{
    Rng rng(66);
    const double hit = 2.6;
    Buffer b = Silence(3.4);
    Osc brass[4];
    const double freqs[] = {Note(33), Note(34), Note(40), Note(45)};
    Biquad low, whoosh;
    whoosh.BandPass(1500.0, 0.8);
    for (std::size_t i = 0; i < b.size(); ++i)
    {
        const double t = static_cast<double>(i) / kRate;
        low.LowPass(Glide(t, 0.0, hit, 120.0, 900.0), 1.5);
        double sum = 0.0;
        for (int k = 0; k < 4; ++k)
            sum += brass[k].Saw(freqs[k] * (1.0 + 0.002 * k));
        const double swell = t < hit ? std::pow(t / hit, 2.0) : Decay(t - hit, 0.8);
        const double air = t < hit ? 0.35 * std::pow(t / hit, 3.0) * whoosh.Process(rng.Noise()) : 0.0;
        b[i] = static_cast<float>(0.3 * swell * low.Process(static_cast<float>(sum)) + air);
    }
    Thud(b, hit, 55.0, 30.0, 0.45, 1.0f);
    NoiseHit(b, hit, 300.0, 0.5, 0.2, 0.6f, rng);
    Strike(b, hit, Note(45), kBell, 0.35f);
    Buffer out = Reverb(b, 0.8, 0.4, 0.35, 1.0);
    FadeOut(out, 0.5);
    Normalise(out, 0.9f);
    return out;
}
} // namespace

std::vector<Recipe> MusicRecipes()
{
    return {
        {"level1amb", Level1Amb, true},
        {"level1item1", Level1Item1, true},
        {"level1item2", Level1Item2, true},
        {"level1item3", Level1Item3, true},
        {"level1item4", Level1Item4, true},
        {"level1_riser1", Riser1},
        {"level1_riser2", Riser2},
        {"level1_riser3", Riser3},
        {"level1_riser4", Riser4},
        {"gloamermaintheme", MainTheme, true},
        {"ominous", Ominous},
    };
}
