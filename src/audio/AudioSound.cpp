#include "audio/AudioSound.h"

#include <AL/al.h>
#include <sndfile.h>

#include <algorithm>
#include <vector>

namespace
{
// Anything longer is a damaged header or not a game sound; refusing it keeps a bad
// file from taking all memory: ten minutes of 48 kHz stereo.
constexpr std::int64_t kMaxSamples = std::int64_t{48000} * 2 * 60 * 10;
constexpr sf_count_t kChunkFrames = 4096;

struct SndFileCloser
{
    void operator()(SNDFILE* file) const { sf_close(file); }
};

// Reads every frame as 16-bit samples; more than two channels are mixed down to one.
bool Decode(SNDFILE* file, const SF_INFO& info, std::vector<short>& out, int& outChannels, std::string& error)
{
    const int channels = info.channels;
    outChannels = channels <= 2 ? channels : 1;
    std::vector<short> chunk(static_cast<std::size_t>(kChunkFrames * channels));
    for (;;)
    {
        const sf_count_t got = sf_readf_short(file, chunk.data(), kChunkFrames);
        if (got <= 0)
            break;
        if (static_cast<std::int64_t>(out.size()) + got * outChannels > kMaxSamples)
        {
            error = "too long to load";
            return false;
        }
        if (channels <= 2)
        {
            out.insert(out.end(), chunk.begin(), chunk.begin() + got * channels);
            continue;
        }
        for (sf_count_t f = 0; f < got; ++f)
        {
            int sum = 0;
            for (int c = 0; c < channels; ++c)
                sum += chunk[static_cast<std::size_t>(f * channels + c)];
            out.push_back(static_cast<short>(sum / channels));
        }
    }
    if (sf_error(file) != SF_ERR_NO_ERROR)
    {
        error = sf_strerror(file);
        return false;
    }
    if (out.empty())
    {
        error = "no audio data";
        return false;
    }
    return true;
}
} // namespace

AudioSound::~AudioSound()
{
    if (_buffer != 0)
        alDeleteBuffers(1, &_buffer);
}

float AudioSound::GetLength() const
{
    return _sampleRate > 0 ? static_cast<float>(_frames) / static_cast<float>(_sampleRate) : 0.0f;
}

std::unique_ptr<AudioSound> AudioSound::Load(const std::string& path, unsigned mode, std::string& error)
{
    SF_INFO info{};
    std::unique_ptr<SNDFILE, SndFileCloser> file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file)
    {
        error = sf_strerror(nullptr);
        return nullptr;
    }
    if (info.channels <= 0 || info.samplerate <= 0)
    {
        error = "no channels or no sample rate";
        return nullptr;
    }
    // Floating-point sources (Vorbis among them) can overshoot full scale slightly.
    sf_command(file.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);

    std::vector<short> samples;
    int channels = 0;
    if (!Decode(file.get(), info, samples, channels, error))
        return nullptr;

    std::unique_ptr<AudioSound> sound(new AudioSound());
    sound->_mode = mode;
    sound->_channels = channels;
    sound->_sampleRate = info.samplerate;
    sound->_frames = static_cast<std::int64_t>(samples.size()) / channels;

    alGetError();
    alGenBuffers(1, &sound->_buffer);
    if (alGetError() != AL_NO_ERROR)
    {
        sound->_buffer = 0;
        error = "no audio buffer available";
        return nullptr;
    }
    alBufferData(sound->_buffer, channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16, samples.data(),
                 static_cast<ALsizei>(samples.size() * sizeof(short)), info.samplerate);
    if (alGetError() != AL_NO_ERROR)
    {
        error = "the audio device refused the sample data";
        return nullptr;
    }
    return sound;
}
