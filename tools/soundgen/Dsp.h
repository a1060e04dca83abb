#pragma once

#include <cstdint>
#include <random>
#include <vector>

// Building blocks for the offline sound generator: mono float buffers at 44.1 kHz.
namespace dsp
{
constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

using Buffer = std::vector<float>;

std::size_t Samples(double seconds);
Buffer Silence(double seconds);

// Deterministic randomness, so every run of the generator writes the same sounds.
class Rng
{
public:
    explicit Rng(std::uint32_t seed) : _engine(seed) {}
    double Uniform(double lo = 0.0, double hi = 1.0);
    float Noise() { return static_cast<float>(Uniform(-1.0, 1.0)); }

private:
    std::mt19937 _engine;
};

// Band-limited oscillators that keep their phase between calls, so the pitch can glide.
class Osc
{
public:
    double Sine(double freq);
    double Saw(double freq);
    double Square(double freq);

private:
    double Advance(double freq);
    double _phase = 0.0;
};

// Second-order filter (RBJ cookbook), transposed direct form II. Coefficients may be
// changed every sample for sweeps.
class Biquad
{
public:
    void LowPass(double freq, double q = 0.707);
    void HighPass(double freq, double q = 0.707);
    void BandPass(double freq, double q); // 0 dB at the centre
    float Process(float x);

private:
    void Set(double b0, double b1, double b2, double a0, double a1, double a2);
    double _b0 = 1.0, _b1 = 0.0, _b2 = 0.0, _a1 = 0.0, _a2 = 0.0;
    double _z1 = 0.0, _z2 = 0.0;
};

// Brown (red) noise: integrated white noise with a slow leak, for rumbles.
class BrownNoise
{
public:
    float Next(Rng& rng);

private:
    double _level = 0.0;
};

// A decaying resonance: the sum of sine partials of a struck object.
struct Partial
{
    double ratio;
    double gain;
    double decay; // seconds to fall to 1/e
};
void Strike(Buffer& out, double at, double freq, const std::vector<Partial>& partials, float gain);

// A low thump: a sine whose pitch falls from f0 toward f1, dying away with tau.
void Thud(Buffer& out, double at, double f0, double f1, double tau, float gain);
// A burst of band-passed noise dying away with tau: a tick, a scrape, a crackle.
void NoiseHit(Buffer& out, double at, double freq, double q, double tau, float gain, Rng& rng);

// Adds src into dst starting at a time, with a gain; clips nothing.
void Mix(Buffer& dst, const Buffer& src, double at, float gain = 1.0f);

// Schroeder-Moorman room: comb filters with damping into all-pass diffusers.
// roomSize and damp in [0, 1]; the result is longer by tailSeconds.
Buffer Reverb(const Buffer& in, double roomSize, double damp, double wet, double tailSeconds);

float Saturate(float x, float drive);
void Normalise(Buffer& b, float peak);
void FadeOut(Buffer& b, double seconds);
void FadeIn(Buffer& b, double seconds);

// A frequency nudged to complete a whole number of cycles in the loop, so a looped
// tone meets itself in phase.
double LoopFreq(double freq, double loopSeconds);

// One seamless cycle from a render of several: cycle `cycle` of length loopSeconds,
// with the start cross-faded from the audio that follows the cycle's end.
Buffer CutLoop(const Buffer& rendered, double loopSeconds, int cycle, double fadeSeconds);

// Exponential decay envelope value at t (seconds) for a time constant.
double Decay(double t, double tau);
// 0 -> 1 over attack seconds (a raised-cosine ramp), then 1.
double Attack(double t, double attack);
// Rises over attack, holds, then falls (raised cosine) from releaseStart to 0 at end.
double Envelope(double t, double attack, double releaseStart, double end);
// Exponential movement from one value to another between t0 and t1.
double Glide(double t, double t0, double t1, double from, double to);
// Equal-tempered pitch of a MIDI note number (69 = A4 = 440 Hz).
double Note(int midi);
} // namespace dsp
