// Traps, breaking things, rumbles, the failing light and the camera flash.

#include "Recipes.h"

#include <cmath>

using namespace dsp;

namespace
{
const std::vector<Partial> kSteel = {
    {1.0, 1.0, 0.35}, {2.32, 0.6, 0.22}, {4.25, 0.45, 0.15}, {6.63, 0.3, 0.09}, {8.9, 0.2, 0.06}};
const std::vector<Partial> kWood = {{1.0, 1.0, 0.09}, {2.2, 0.6, 0.06}, {3.6, 0.45, 0.045}, {6.1, 0.25, 0.03}};

std::vector<Partial> Shorter(const std::vector<Partial>& partials, double factor)
{
    std::vector<Partial> out = partials;
    for (Partial& p : out)
        p.decay *= factor;
    return out;
}

Buffer Finish(Buffer b, double room, double damp, double wet, double tail, float peak)
{
    Buffer out = Reverb(b, room, damp, wet, tail);
    FadeOut(out, std::min(0.2, tail));
    Normalise(out, peak);
    return out;
}

// The bear trap set down on the floor: a thud, two steel contacts, its chain.
Buffer TrapPlace()
{
    Rng rng(41);
    Buffer b = Silence(0.6);
    Thud(b, 0.0, 110.0, 60.0, 0.05, 0.7f);
    Strike(b, 0.0, 310.0, Shorter(kSteel, 0.6), 0.5f);
    NoiseHit(b, 0.0, 3000.0, 1.0, 0.008, 0.5f, rng);
    Strike(b, 0.07, 455.0, Shorter(kSteel, 0.5), 0.3f);
    NoiseHit(b, 0.07, 4000.0, 1.0, 0.006, 0.3f, rng);
    for (int i = 0; i < 5; ++i)
        NoiseHit(b, rng.Uniform(0.1, 0.35), rng.Uniform(5000.0, 7000.0), 3.0, 0.004, 0.12f, rng);
    return Finish(b, 0.45, 0.5, 0.15, 0.5, 0.85f);
}

// Prising the jaws open: a ratchet clicking against a straining spring.
Buffer TrapPlacing()
{
    const double loop = 1.0;
    auto draw = [&](Buffer& out, double offset)
    {
        Rng rng(42);
        for (int i = 0; i < 8; ++i)
        {
            const float gain = i % 2 == 0 ? 1.0f : 0.7f;
            const double at = offset + i * 0.125 + rng.Uniform(0.0, 0.008);
            NoiseHit(out, at, 3200.0, 4.0, 0.006, gain, rng);
            Strike(out, at, 1850.0, {{1.0, 1.0, 0.012}, {2.7, 0.4, 0.008}}, 0.3f * gain);
        }
        Osc saw, creak;
        Biquad low;
        low.LowPass(300.0);
        const std::size_t start = Samples(offset);
        for (std::size_t i = 0; i < Samples(loop) && start + i < out.size(); ++i)
        {
            const double s = saw.Saw(LoopFreq(70.0, loop));
            out[start + i] +=
                static_cast<float>(0.08 * (0.6 + 0.4 * creak.Sine(2.0))) * low.Process(static_cast<float>(s));
        }
    };
    Buffer b = RenderLoop(loop, 3, draw, 0.3, 0.6, 0.1);
    Normalise(b, 0.7f);
    return b;
}

// A failing fluorescent tube: mains hum and buzz that stutters and crackles.
Buffer LightBuzz()
{
    const double loop = 2.0;
    Osc hum, buzz, third;
    Biquad buzzFilter;
    buzzFilter.LowPass(3000.0);
    auto draw = [&](Buffer& out, double offset)
    {
        Rng rng(43);
        double dips[4];
        for (double& d : dips)
            d = rng.Uniform(0.0, loop);
        const std::size_t start = Samples(offset);
        for (std::size_t i = 0; i < Samples(loop) && start + i < out.size(); ++i)
        {
            const double t = static_cast<double>(i) / kRate;
            double level = 1.0;
            for (double d : dips)
                level -= 0.6 * std::exp(-std::pow((t - d) / 0.03, 2.0));
            const double v = 0.3 * hum.Sine(60.0) + 0.1 * third.Sine(180.0) +
                             0.25 * buzzFilter.Process(static_cast<float>(buzz.Square(120.0)));
            out[start + i] += static_cast<float>(level * v);
        }
        for (int i = 0; i < 6; ++i)
            NoiseHit(out, offset + rng.Uniform(0.0, loop - 0.05), 5000.0, 1.5, 0.003, 0.4f, rng);
    };
    Buffer b = RenderLoop(loop, 2, draw, 0.2, 0.5, 0.05);
    Normalise(b, 0.6f);
    return b;
}

Buffer Explosion()
{
    Rng rng(44);
    Buffer b = Silence(3.0);
    NoiseHit(b, 0.0, 3000.0, 0.3, 0.02, 1.0f, rng);
    Thud(b, 0.0, 60.0, 28.0, 0.45, 1.0f);
    Biquad sweep, rumbleFilter;
    BrownNoise brown;
    rumbleFilter.LowPass(100.0);
    for (std::size_t i = 0; i < b.size(); ++i)
    {
        const double t = static_cast<double>(i) / kRate;
        sweep.LowPass(6000.0 * std::exp(-t / 0.25) + 120.0);
        const double body = 0.9 * Attack(t, 0.003) * Decay(t, 0.6) * sweep.Process(rng.Noise());
        const double rumble = 0.6 * Attack(t, 0.05) * Decay(t, 1.2) * rumbleFilter.Process(brown.Next(rng));
        b[i] += static_cast<float>(body + rumble);
    }
    for (int i = 0; i < 25; ++i)
    {
        const double at = rng.Uniform(0.2, 1.8);
        NoiseHit(b, at, rng.Uniform(600.0, 3000.0), 2.0, rng.Uniform(0.01, 0.03),
                 static_cast<float>(0.15 * std::exp(-at)), rng);
    }
    for (float& v : b)
        v = Saturate(v, 2.0f);
    return Finish(b, 0.85, 0.4, 0.25, 1.5, 0.95f);
}

// Deep ground rumble: brown noise low in the register, with a slow swell.
Buffer RumbleBed(double seconds, std::uint32_t seed)
{
    Rng rng(seed);
    Buffer b = Silence(seconds);
    BrownNoise deep, mid;
    Biquad low, band;
    low.LowPass(80.0);
    band.BandPass(220.0, 0.8);
    Osc slow, slower;
    for (float& v : b)
        v = low.Process(deep.Next(rng)) + 0.35f * band.Process(mid.Next(rng));
    for (std::size_t i = 0; i < b.size(); ++i)
        b[i] *= static_cast<float>(0.75 + 0.15 * slow.Sine(1.0 / 3.0) + 0.1 * slower.Sine(0.5));
    return b;
}

Buffer RumblingLong()
{
    const double loop = 6.0;
    Buffer b = CutLoop(RumbleBed(loop * 2 + 1.0, 45), loop, 1, 0.5);
    Normalise(b, 0.8f);
    return b;
}

Buffer Rumbling()
{
    Rng rng(46);
    Buffer b = RumbleBed(3.0, 46);
    BrownNoise grind;
    Biquad band, wobble;
    band.BandPass(500.0, 2.0);
    wobble.LowPass(4.0);
    for (std::size_t i = 0; i < b.size(); ++i)
    {
        const double t = static_cast<double>(i) / kRate;
        const double grinding = 0.3 * (0.5 + 4.0 * wobble.Process(rng.Noise())) * band.Process(grind.Next(rng));
        b[i] = static_cast<float>((b[i] + grinding) * Envelope(t, 0.5, 1.5, 3.0));
    }
    for (int i = 0; i < 8; ++i)
        NoiseHit(b, rng.Uniform(0.3, 2.2), 1200.0, 3.0, 0.015, 0.2f, rng);
    FadeOut(b, 0.2);
    Normalise(b, 0.9f);
    return b;
}

// Stone and ice giving way: clusters of sharp cracks over a faint groan.
Buffer CrackingLong()
{
    const double loop = 4.0;
    auto draw = [&](Buffer& out, double offset)
    {
        Rng rng(47);
        for (int k = 0; k < 45; ++k)
        {
            double at = offset + rng.Uniform(0.0, loop);
            const int cluster = 1 + static_cast<int>(rng.Uniform(0.0, 4.0));
            for (int c = 0; c < cluster; ++c)
            {
                const double g = rng.Uniform(0.2, 1.0);
                NoiseHit(out, at, rng.Uniform(800.0, 5000.0), rng.Uniform(3.0, 8.0), rng.Uniform(0.003, 0.02),
                         static_cast<float>(g * g), rng);
                at += rng.Uniform(0.005, 0.025);
            }
        }
        for (int g = 0; g < 2; ++g)
        {
            const double at = offset + rng.Uniform(0.0, loop - 0.6);
            const double length = rng.Uniform(0.3, 0.6);
            const double freq = rng.Uniform(40.0, 70.0);
            Osc saw;
            Biquad band;
            band.BandPass(300.0, 4.0);
            const std::size_t start = Samples(at);
            for (std::size_t i = 0; i < Samples(length) && start + i < out.size(); ++i)
            {
                const double t = static_cast<double>(i) / kRate;
                const double shape = std::sin(kPi * t / length);
                out[start + i] +=
                    static_cast<float>(0.5 * shape * shape) * band.Process(static_cast<float>(saw.Saw(freq)));
            }
        }
    };
    Buffer b = RenderLoop(loop, 3, draw, 0.6, 0.5, 0.2);
    Buffer bed = CutLoop(RumbleBed(loop * 2 + 1.0, 48), loop, 1, 0.5);
    Normalise(bed, 0.15f);
    Normalise(b, 0.8f);
    for (std::size_t i = 0; i < b.size(); ++i)
        b[i] += bed[i];
    Normalise(b, 0.85f);
    return b;
}

// A collected object bursting like glass: the blow, then shards and falling tinkles.
Buffer Shatter1()
{
    Rng rng(49);
    Buffer b = Silence(1.6);
    NoiseHit(b, 0.0, 4000.0, 0.4, 0.012, 1.0f, rng);
    Thud(b, 0.0, 180.0, 90.0, 0.03, 0.5f);
    for (int i = 0; i < 70; ++i)
    {
        const bool late = i >= 50;
        const double at = late ? rng.Uniform(0.2, 1.3) : 0.002 - 0.08 * std::log(1.0 - rng.Uniform(0.0, 0.95));
        const double tau = rng.Uniform(0.02, 0.25);
        const std::vector<Partial> glass = {{1.0, 1.0, tau}, {2.32, 0.5, tau * 0.6}, {4.4, 0.3, tau * 0.4}};
        const double gain = rng.Uniform(0.08, 0.25) * (late ? 0.5 : 1.0);
        Strike(b, at, rng.Uniform(2200.0, 8500.0), glass, static_cast<float>(gain));
    }
    Biquad high;
    high.HighPass(400.0);
    for (float& v : b)
        v = high.Process(v);
    return Finish(b, 0.55, 0.3, 0.22, 0.8, 0.9f);
}

Buffer BeartrapClose()
{
    Rng rng(50);
    Buffer b = Silence(0.9);
    NoiseHit(b, 0.0, 4500.0, 0.7, 0.004, 1.0f, rng);
    Strike(b, 0.0, 260.0, {{1.0, 1.0, 0.4}, {2.32, 0.6, 0.28}, {4.25, 0.45, 0.18}, {6.63, 0.3, 0.1}, {8.9, 0.2, 0.07}},
           0.7f);
    Strike(b, 0.012, 347.0, kSteel, 0.5f);
    Thud(b, 0.0, 100.0, 55.0, 0.06, 0.6f);
    // The spring's twang.
    Osc twang, wobble;
    for (std::size_t i = 0; i < b.size(); ++i)
    {
        const double t = static_cast<double>(i) / kRate;
        const double freq = 140.0 * (1.0 + 0.03 * wobble.Sine(9.0));
        b[i] += static_cast<float>(0.25 * Attack(t, 0.004) * Decay(t, 0.25) * twang.Sine(freq));
    }
    for (float& v : b)
        v = Saturate(v, 1.5f);
    return Finish(b, 0.5, 0.5, 0.18, 0.5, 0.88f);
}

Buffer WoodBreak()
{
    Rng rng(51);
    Buffer b = Silence(1.2);
    NoiseHit(b, 0.0, 2200.0, 0.8, 0.006, 1.0f, rng);
    Strike(b, 0.0, 190.0, kWood, 0.6f);
    for (int i = 0; i < 28; ++i)
    {
        const double u = rng.Uniform(0.0, 1.0);
        NoiseHit(b, 0.005 + 0.35 * u * u, rng.Uniform(500.0, 2500.0), rng.Uniform(2.0, 6.0), rng.Uniform(0.004, 0.03),
                 static_cast<float>(rng.Uniform(0.2, 0.7)), rng);
    }
    Strike(b, 0.09, 240.0, kWood, 0.4f);
    NoiseHit(b, 0.09, 1800.0, 1.0, 0.006, 0.6f, rng);
    for (int i = 0; i < 4; ++i)
    {
        const double at = rng.Uniform(0.5, 1.0);
        Strike(b, at, rng.Uniform(150.0, 400.0), kWood, 0.2f);
        Thud(b, at, 120.0, 70.0, 0.03, 0.2f);
    }
    return Finish(b, 0.45, 0.5, 0.18, 0.4, 0.9f);
}

// Walking into furniture: a dull knock.
Buffer Bump1()
{
    Rng rng(52);
    Buffer b = Silence(0.35);
    Thud(b, 0.0, 90.0, 55.0, 0.06, 1.0f);
    NoiseHit(b, 0.0, 250.0, 0.7, 0.02, 0.5f, rng);
    Strike(b, 0.0, 150.0, kWood, 0.35f);
    return Finish(b, 0.4, 0.6, 0.12, 0.25, 0.8f);
}

// The old camera: the flash charging with a rising whine, the shutter, the burst.
Buffer ApertureFlash()
{
    Rng rng(53);
    Buffer b = Silence(1.3);
    Osc whine, overtone;
    for (std::size_t i = 0; i < Samples(0.55); ++i)
    {
        const double t = static_cast<double>(i) / kRate;
        const double u = t / 0.55;
        const double freq = 1800.0 * (1.0 + 2.8 * std::pow(u, 1.3));
        b[i] += static_cast<float>((0.05 + 0.13 * u) * (whine.Sine(freq) + 0.2 * overtone.Sine(freq * 2.0)));
    }
    NoiseHit(b, 0.56, 3500.0, 2.0, 0.004, 0.6f, rng);
    NoiseHit(b, 0.59, 2500.0, 2.0, 0.005, 0.5f, rng);
    NoiseHit(b, 0.56, 5000.0, 0.5, 0.05, 1.0f, rng);
    Thud(b, 0.56, 160.0, 70.0, 0.05, 0.6f);
    NoiseHit(b, 0.58, 7000.0, 0.7, 0.2, 0.12f, rng);
    return Finish(b, 0.6, 0.3, 0.2, 0.6, 0.9f);
}
} // namespace

std::vector<Recipe> ImpactRecipes()
{
    return {
        {"trap_place", TrapPlace},
        {"trap_placing", TrapPlacing, true},
        {"lightbuzz", LightBuzz, true},
        {"explosion", Explosion},
        {"rumblinglong", RumblingLong, true},
        {"rumbling", Rumbling},
        {"crackinglong", CrackingLong, true},
        {"shatter1", Shatter1},
        {"beartrap_close", BeartrapClose},
        {"wood_break", WoodBreak},
        {"bump_1", Bump1},
        {"aperture_flash", ApertureFlash},
    };
}
