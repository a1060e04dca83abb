// Footsteps, the heartbeat and the monster's voice.

#include "Recipes.h"

#include <cmath>
#include <functional>

using namespace dsp;

namespace
{
// One footfall on a stone floor: the heel's thud, the grit under the sole, the toe.
// weight runs from a light human (0) to the monster (1).
void Footstep(Buffer& out, double at, double weight, double grit, Rng& rng)
{
    const double variation = rng.Uniform(0.85, 1.15);
    Thud(out, at, (120.0 - 60.0 * weight) * variation, (60.0 - 28.0 * weight) * variation, 0.035 + 0.11 * weight,
         static_cast<float>(0.9 * variation));

    // The body of the impact: low rumbling noise.
    const std::size_t start = Samples(at);
    const std::size_t length = Samples(0.3 + 0.4 * weight);
    if (out.size() < start + length)
        out.resize(start + length, 0.0f);
    BrownNoise brown;
    Biquad low;
    low.LowPass(300.0 - 150.0 * weight);
    const double bodyTau = 0.025 + 0.08 * weight;
    for (std::size_t i = 0; i < length; ++i)
    {
        const double t = static_cast<double>(i) / kRate;
        out[start + i] += static_cast<float>(0.7 * Attack(t, 0.002) * Decay(t, bodyTau)) * low.Process(brown.Next(rng));
    }

    const double gritFreq = rng.Uniform(1100.0, 1700.0) * (1.0 - 0.5 * weight);
    NoiseHit(out, at + 0.004, gritFreq, 0.7, 0.02 + 0.03 * weight, static_cast<float>(0.45 * grit), rng);
    NoiseHit(out, at + rng.Uniform(0.04, 0.06), gritFreq * 1.3, 0.8, 0.018, static_cast<float>(0.3 * grit), rng);

    // Under the monster's weight the floor's grit crunches.
    for (int i = 0; weight > 0.5 && i < 7; ++i)
        NoiseHit(out, at + rng.Uniform(0.0, 0.14), rng.Uniform(1800.0, 4200.0), 3.0, rng.Uniform(0.003, 0.008),
                 static_cast<float>(rng.Uniform(0.1, 0.3)), rng);
}

Buffer Steps(double interval, int steps, double weight, double grit, double room, double wet, std::uint32_t seed)
{
    const double loop = interval * steps;
    auto draw = [&](Buffer& out, double offset)
    {
        Rng rng(seed); // the same steps in every cycle
        for (int s = 0; s < steps; ++s)
            Footstep(out, offset + s * interval + rng.Uniform(0.0, 0.015), weight, grit, rng);
    };
    Buffer b = RenderLoop(loop, 3, draw, room, 0.6, wet);
    Normalise(b, 0.85f);
    return b;
}

// The player walks at 400 units a second and sprints 1.3 times as fast; both gaits
// keep a stride of about 220 units, so the sprint's steps come 1.3 times as often.
Buffer FootstepsMed()
{
    return Steps(0.55, 4, 0.0, 1.0, 0.4, 0.18, 11);
}

Buffer FootstepsFast()
{
    return Steps(0.42, 4, 0.1, 1.5, 0.4, 0.16, 12);
}

Buffer FootstepsHeavy()
{
    return Steps(0.9, 2, 1.0, 1.2, 0.75, 0.3, 13);
}

// Lub-dub at about 70 beats a minute: two low, muffled thumps.
Buffer Heartbeat()
{
    const double loop = 0.86;
    auto draw = [](Buffer& out, double offset)
    {
        Thud(out, offset, 62.0, 42.0, 0.075, 1.0f);
        Thud(out, offset + 0.005, 124.0, 84.0, 0.03, 0.25f);
        Thud(out, offset + 0.27, 74.0, 50.0, 0.06, 0.75f);
        Thud(out, offset + 0.275, 148.0, 100.0, 0.025, 0.2f);
    };
    Buffer b = RenderLoop(loop, 3, draw, 0.35, 0.8, 0.08);
    // A touch of drive gives small speakers harmonics to carry the beat.
    Biquad low;
    low.LowPass(380.0);
    for (float& v : b)
        v = low.Process(Saturate(v * 1.4f, 1.6f));
    Normalise(b, 0.95f);
    return b;
}

// A throat: saw pulses and a sub-octave through three moving formants, with breath,
// roughness and drive.
struct VoiceShape
{
    double seconds;
    std::function<double(double)> pitch;        // Hz at time t
    std::function<double(double)> amplitude;    // 0..1
    std::function<double(double)> vibrato;      // depth, fraction of the pitch
    std::function<double(double)> roughness;    // 0..1
    std::function<double(double)> breath;       // noise share
    std::function<double(double, int)> formant; // centre of formant k at time t
    float drive;
};

Buffer Voice(const VoiceShape& shape, std::uint32_t seed)
{
    Rng rng(seed);
    Buffer out = Silence(shape.seconds);
    Osc main, sub, chorus, vib, growl;
    Biquad jitterFilter, breathFilter, f1, f2, f3, body;
    jitterFilter.LowPass(8.0);
    breathFilter.BandPass(1600.0, 0.6);
    body.LowPass(700.0);
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const double t = static_cast<double>(i) / kRate;
        const double jitter = jitterFilter.Process(rng.Noise()) * 0.6;
        const double freq = shape.pitch(t) * (1.0 + shape.vibrato(t) * vib.Sine(5.5) + jitter * 0.04);
        double source = main.Saw(freq) + 0.6 * sub.Saw(freq * 0.5 * 1.003) + 0.35 * chorus.Saw(freq * 1.007);
        const double rough = shape.roughness(t);
        source *= 1.0 - rough + rough * (0.5 + 0.5 * growl.Sine(31.0 + 8.0 * jitter));
        source += shape.breath(t) * 2.5 * breathFilter.Process(rng.Noise());

        f1.BandPass(shape.formant(t, 0), 5.0);
        f2.BandPass(shape.formant(t, 1), 6.0);
        f3.BandPass(shape.formant(t, 2), 7.0);
        const auto x = static_cast<float>(source);
        const float voiced = f1.Process(x) + 0.7f * f2.Process(x) + 0.35f * f3.Process(x) + 0.15f * body.Process(x);
        out[i] = static_cast<float>(shape.amplitude(t)) * Saturate(voiced * 0.8f, shape.drive);
    }
    return out;
}

// The roar when the monster wakes and comes for the player.
Buffer MonsterScream3()
{
    VoiceShape v;
    v.seconds = 2.8;
    v.pitch = [](double t) { return t < 0.35 ? Glide(t, 0.0, 0.35, 85.0, 150.0) : Glide(t, 0.35, 2.8, 150.0, 68.0); };
    v.amplitude = [](double t) { return Envelope(t, 0.12, 1.7, 2.8); };
    v.vibrato = [](double) { return 0.03; };
    v.roughness = [](double) { return 0.45; };
    v.breath = [](double) { return 0.5; };
    v.formant = [](double t, int k)
    {
        const double u = std::min(1.0, t / 1.2);
        const double f[3] = {520.0 + 200.0 * u, 950.0 + 200.0 * u, 2500.0};
        return f[k];
    };
    v.drive = 2.5f;
    Buffer b = Reverb(Voice(v, 31), 0.85, 0.3, 0.3, 1.5);
    FadeOut(b, 0.3);
    Normalise(b, 0.95f);
    return b;
}

// A short hurt shriek when a trap or a thrown object strikes.
Buffer MonsterScream4()
{
    VoiceShape v;
    v.seconds = 1.0;
    v.pitch = [](double t)
    { return t < 0.07 ? Glide(t, 0.0, 0.07, 380.0, 640.0) : Glide(t, 0.07, 0.75, 640.0, 290.0); };
    v.amplitude = [](double t) { return Envelope(t, 0.015, 0.25, 1.0); };
    v.vibrato = [](double) { return 0.025; };
    v.roughness = [](double) { return 0.25; };
    v.breath = [](double) { return 0.6; };
    v.formant = [](double, int k)
    {
        const double f[3] = {800.0, 1600.0, 3000.0};
        return f[k];
    };
    v.drive = 3.0f;
    Buffer b = Reverb(Voice(v, 32), 0.7, 0.3, 0.25, 1.0);
    FadeOut(b, 0.3);
    Normalise(b, 0.9f);
    return b;
}

// The death cry: a shriek that sinks into a rattling groan.
Buffer MonsterScream5()
{
    VoiceShape v;
    v.seconds = 4.2;
    v.pitch = [](double t) { return t < 0.25 ? Glide(t, 0.0, 0.25, 460.0, 520.0) : Glide(t, 0.25, 3.6, 520.0, 55.0); };
    v.amplitude = [](double t) { return Envelope(t, 0.05, 2.6, 4.2); };
    v.vibrato = [](double t) { return 0.02 + 0.06 * std::min(1.0, t / 3.5); };
    v.roughness = [](double t) { return 0.3 + 0.5 * std::min(1.0, t / 3.0); };
    v.breath = [](double t) { return 0.4 + 0.5 * std::min(1.0, t / 3.5); };
    v.formant = [](double t, int k)
    {
        const double u = std::min(1.0, t / 3.5);
        const double f[3] = {900.0 - 500.0 * u, 1500.0 - 700.0 * u, 2800.0 - 600.0 * u};
        return f[k];
    };
    v.drive = 3.0f;
    Buffer b = Reverb(Voice(v, 33), 0.9, 0.3, 0.35, 2.0);
    FadeOut(b, 0.6);
    Normalise(b, 0.95f);
    return b;
}
} // namespace

std::vector<Recipe> CreatureRecipes()
{
    return {
        {"footsteps_med", FootstepsMed, true},     {"footsteps_fast", FootstepsFast, true},
        {"footsteps_heavy", FootstepsHeavy, true}, {"heartbeat", Heartbeat, true},
        {"monster_scream3", MonsterScream3},       {"monster_scream4", MonsterScream4},
        {"monster_scream5", MonsterScream5},
    };
}
