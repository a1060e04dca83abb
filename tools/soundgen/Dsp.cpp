#include "Dsp.h"

#include <algorithm>
#include <cmath>

namespace dsp
{
std::size_t Samples(double seconds)
{
    return static_cast<std::size_t>(std::max(0.0, seconds) * kRate + 0.5);
}

Buffer Silence(double seconds)
{
    return Buffer(Samples(seconds), 0.0f);
}

double Rng::Uniform(double lo, double hi)
{
    return std::uniform_real_distribution<double>(lo, hi)(_engine);
}

namespace
{
// Polynomial band-limited step: removes most of the aliasing of a naive saw.
double PolyBlep(double t, double dt)
{
    if (t < dt)
    {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt)
    {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}
} // namespace

double Osc::Advance(double freq)
{
    const double phase = _phase;
    _phase += freq / kRate;
    _phase -= std::floor(_phase);
    return phase;
}

double Osc::Sine(double freq)
{
    return std::sin(2.0 * kPi * Advance(freq));
}

double Osc::Saw(double freq)
{
    const double dt = std::abs(freq) / kRate;
    const double t = Advance(freq);
    return 2.0 * t - 1.0 - PolyBlep(t, dt);
}

double Osc::Square(double freq)
{
    const double dt = std::abs(freq) / kRate;
    const double t = Advance(freq);
    double v = t < 0.5 ? 1.0 : -1.0;
    v += PolyBlep(t, dt);
    double t2 = t + 0.5;
    t2 -= std::floor(t2);
    v -= PolyBlep(t2, dt);
    return v;
}

void Biquad::Set(double b0, double b1, double b2, double a0, double a1, double a2)
{
    _b0 = b0 / a0;
    _b1 = b1 / a0;
    _b2 = b2 / a0;
    _a1 = a1 / a0;
    _a2 = a2 / a0;
}

void Biquad::LowPass(double freq, double q)
{
    const double w = 2.0 * kPi * std::clamp(freq, 10.0, kRate * 0.45) / kRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    Set((1.0 - c) / 2.0, 1.0 - c, (1.0 - c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

void Biquad::HighPass(double freq, double q)
{
    const double w = 2.0 * kPi * std::clamp(freq, 10.0, kRate * 0.45) / kRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    Set((1.0 + c) / 2.0, -(1.0 + c), (1.0 + c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

void Biquad::BandPass(double freq, double q)
{
    const double w = 2.0 * kPi * std::clamp(freq, 10.0, kRate * 0.45) / kRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    Set(alpha, 0.0, -alpha, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

float Biquad::Process(float x)
{
    const double y = _b0 * x + _z1;
    _z1 = _b1 * x - _a1 * y + _z2;
    _z2 = _b2 * x - _a2 * y;
    return static_cast<float>(y);
}

float BrownNoise::Next(Rng& rng)
{
    _level = (_level + 0.02 * rng.Noise()) * 0.998;
    return static_cast<float>(_level * 3.5);
}

void Strike(Buffer& out, double at, double freq, const std::vector<Partial>& partials, float gain)
{
    const std::size_t start = Samples(at);
    for (const Partial& p : partials)
    {
        const double f = freq * p.ratio;
        if (f >= kRate * 0.45)
            continue;
        const std::size_t length = Samples(p.decay * 7.0);
        for (std::size_t i = 0; i < length && start + i < out.size(); ++i)
        {
            const double t = static_cast<double>(i) / kRate;
            // A 1 ms onset keeps the strike from clicking.
            const double onset = std::min(1.0, t / 0.001);
            out[start + i] +=
                static_cast<float>(gain * p.gain * onset * std::exp(-t / p.decay) * std::sin(2.0 * kPi * f * t));
        }
    }
}

void Thud(Buffer& out, double at, double f0, double f1, double tau, float gain)
{
    const std::size_t start = Samples(at);
    const std::size_t length = Samples(tau * 7.0);
    if (out.size() < start + length)
        out.resize(start + length, 0.0f);
    Osc osc;
    for (std::size_t i = 0; i < length; ++i)
    {
        const double t = static_cast<double>(i) / kRate;
        const double freq = f1 + (f0 - f1) * std::exp(-t / (tau * 0.6));
        const double onset = std::min(1.0, t / 0.003);
        out[start + i] += static_cast<float>(gain * onset * std::exp(-t / tau) * osc.Sine(freq));
    }
}

void NoiseHit(Buffer& out, double at, double freq, double q, double tau, float gain, Rng& rng)
{
    const std::size_t start = Samples(at);
    const std::size_t length = Samples(tau * 7.0 + 0.002);
    if (out.size() < start + length)
        out.resize(start + length, 0.0f);
    Biquad band;
    band.BandPass(freq, q);
    for (std::size_t i = 0; i < length; ++i)
    {
        const double t = static_cast<double>(i) / kRate;
        const double onset = std::min(1.0, t / 0.0005);
        out[start + i] += static_cast<float>(gain * onset * std::exp(-t / tau)) * band.Process(rng.Noise());
    }
}

void Mix(Buffer& dst, const Buffer& src, double at, float gain)
{
    const std::size_t start = Samples(at);
    if (dst.size() < start + src.size())
        dst.resize(start + src.size(), 0.0f);
    for (std::size_t i = 0; i < src.size(); ++i)
        dst[start + i] += gain * src[i];
}

namespace
{
class Comb
{
public:
    explicit Comb(std::size_t length) : _line(length, 0.0f) {}
    float Process(float x, float feedback, float damp)
    {
        const float y = _line[_at];
        _store = y * (1.0f - damp) + _store * damp;
        _line[_at] = x + _store * feedback;
        _at = (_at + 1) % _line.size();
        return y;
    }

private:
    std::vector<float> _line;
    std::size_t _at = 0;
    float _store = 0.0f;
};

class AllPass
{
public:
    explicit AllPass(std::size_t length) : _line(length, 0.0f) {}
    float Process(float x)
    {
        const float delayed = _line[_at];
        const float y = -x + delayed;
        _line[_at] = x + delayed * 0.5f;
        _at = (_at + 1) % _line.size();
        return y;
    }

private:
    std::vector<float> _line;
    std::size_t _at = 0;
};
} // namespace

Buffer Reverb(const Buffer& in, double roomSize, double damp, double wet, double tailSeconds)
{
    static const std::size_t kCombs[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    static const std::size_t kAllPasses[] = {556, 441, 341, 225};
    std::vector<Comb> combs;
    for (std::size_t n : kCombs)
        combs.emplace_back(n);
    std::vector<AllPass> allPasses;
    for (std::size_t n : kAllPasses)
        allPasses.emplace_back(n);

    const float feedback = static_cast<float>(0.7 + 0.28 * roomSize);
    const float damping = static_cast<float>(damp * 0.4);
    Buffer out(in.size() + Samples(tailSeconds), 0.0f);
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const float x = i < in.size() ? in[i] : 0.0f;
        float sum = 0.0f;
        for (Comb& c : combs)
            sum += c.Process(x * 0.015f, feedback, damping);
        for (AllPass& a : allPasses)
            sum = a.Process(sum);
        out[i] = static_cast<float>((1.0 - wet) * x + wet * sum * 3.0);
    }
    return out;
}

float Saturate(float x, float drive)
{
    return std::tanh(x * drive) / std::tanh(drive);
}

void Normalise(Buffer& b, float peak)
{
    float max = 0.0f;
    for (float v : b)
        max = std::max(max, std::abs(v));
    if (max <= 0.0f)
        return;
    const float scale = peak / max;
    for (float& v : b)
        v *= scale;
}

void FadeOut(Buffer& b, double seconds)
{
    const std::size_t n = std::min(b.size(), Samples(seconds));
    for (std::size_t i = 0; i < n; ++i)
        b[b.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(n);
}

void FadeIn(Buffer& b, double seconds)
{
    const std::size_t n = std::min(b.size(), Samples(seconds));
    for (std::size_t i = 0; i < n; ++i)
        b[i] *= static_cast<float>(i) / static_cast<float>(n);
}

double LoopFreq(double freq, double loopSeconds)
{
    return std::max(1.0, std::round(freq * loopSeconds)) / loopSeconds;
}

Buffer CutLoop(const Buffer& rendered, double loopSeconds, int cycle, double fadeSeconds)
{
    const std::size_t n = Samples(loopSeconds);
    const std::size_t start = n * static_cast<std::size_t>(cycle);
    const std::size_t fade = std::min(n, Samples(fadeSeconds));
    Buffer loop(n, 0.0f);
    for (std::size_t i = 0; i < n; ++i)
        loop[i] = start + i < rendered.size() ? rendered[start + i] : 0.0f;
    // The head fades in from what would have followed the end, so the wrap is smooth.
    for (std::size_t i = 0; i < fade; ++i)
    {
        const double w = std::sin(0.5 * kPi * static_cast<double>(i) / static_cast<double>(fade));
        const float next = start + n + i < rendered.size() ? rendered[start + n + i] : 0.0f;
        loop[i] = static_cast<float>(loop[i] * w * w + next * (1.0 - w * w));
    }
    return loop;
}

double Decay(double t, double tau)
{
    return t < 0.0 ? 0.0 : std::exp(-t / tau);
}

double Attack(double t, double attack)
{
    if (t <= 0.0)
        return 0.0;
    if (t >= attack)
        return 1.0;
    return 0.5 - 0.5 * std::cos(kPi * t / attack);
}
double Envelope(double t, double attack, double releaseStart, double end)
{
    if (t >= end)
        return 0.0;
    double a = Attack(t, attack);
    if (t > releaseStart)
        a *= 0.5 + 0.5 * std::cos(kPi * (t - releaseStart) / (end - releaseStart));
    return a;
}

double Glide(double t, double t0, double t1, double from, double to)
{
    if (t <= t0)
        return from;
    if (t >= t1)
        return to;
    return from * std::pow(to / from, (t - t0) / (t1 - t0));
}

double Note(int midi)
{
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}
} // namespace dsp
