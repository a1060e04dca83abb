#include "audio/AudioEngine.h"

#include "audio/AudioSound.h"
#include "core/Trace.h"

#include <AL/al.h>
#include <AL/alext.h>

#include <algorithm>

namespace
{
constexpr int kMaxSilentCatchUp = 4; // seconds mixed at most per Update after a stall
constexpr std::size_t kSilentChunk = 1024;
constexpr std::uint32_t kNoSlot = ~std::uint32_t{0};

// Shared by every engine instance, so a handle kept from an engine that was closed
// can never match a playback of the next one.
std::uint32_t s_nextGeneration = 1;

ALint SourceState(unsigned source)
{
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}
} // namespace

AudioEngine::AudioEngine() = default;

AudioEngine::~AudioEngine()
{
    Close();
}

bool AudioEngine::Init(int maxChannels, unsigned flags)
{
    if (IsOpen())
        return true;
    _maxChannels = std::clamp(maxChannels, 1, 4096);
    if ((flags & kInitSilent) == 0 && OpenDevice())
        return true;
    if ((flags & kInitSilent) == 0)
        Trace::Message("Audio: no output device could be opened; sound runs silent");
    if (OpenSilent())
    {
        _frameClock = (flags & kInitFrameClock) != 0;
        return true;
    }
    Trace::Error("Audio: the silent mixer could not start either; there is no sound");
    return false;
}

bool AudioEngine::OpenDevice()
{
    _device = alcOpenDevice(nullptr);
    if (!_device)
        return false;
    const ALCint attributes[] = {ALC_MONO_SOURCES, _maxChannels, ALC_STEREO_SOURCES, 0, 0};
    _context = alcCreateContext(_device, attributes);
    if (!_context || !alcMakeContextCurrent(_context))
    {
        Close();
        return false;
    }
    _silent = false;
    return true;
}

bool AudioEngine::OpenSilent()
{
    // A loopback device mixes only when asked to, so Update drives it with the clock.
    auto openLoopback =
        reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback") || !openLoopback)
        return false;
    _device = openLoopback(nullptr);
    if (!_device)
        return false;
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                 ALC_MONO_SOFT,
                                 ALC_FORMAT_TYPE_SOFT,
                                 ALC_SHORT_SOFT,
                                 ALC_FREQUENCY,
                                 kSilentRate,
                                 ALC_MONO_SOURCES,
                                 _maxChannels,
                                 ALC_STEREO_SOURCES,
                                 0,
                                 0};
    _context = alcCreateContext(_device, attributes);
    if (!_context || !alcMakeContextCurrent(_context))
    {
        Close();
        return false;
    }
    _silent = true;
    _silentScratch.assign(kSilentChunk, 0);
    _silentClock = std::chrono::steady_clock::now();
    _silentCarry = 0.0;
    return true;
}

void AudioEngine::Close()
{
    if (_context)
    {
        for (Slot& slot : _slots)
        {
            alSourceStop(slot._source);
            alSourcei(slot._source, AL_BUFFER, 0);
            alDeleteSources(1, &slot._source);
        }
        _sounds.clear();
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(_context);
        _context = nullptr;
    }
    _slots.clear();
    _free.clear();
    if (_device)
    {
        alcCloseDevice(_device);
        _device = nullptr;
    }
    _silent = false;
    _frameClock = false;
}

void AudioEngine::Update(float dt)
{
    if (!IsOpen())
        return;
    if (_silent)
    {
        const auto now = std::chrono::steady_clock::now();
        const double elapsed = std::chrono::duration<double>(now - _silentClock).count();
        _silentClock = now;
        RenderSilent(_frameClock ? std::max(0.0f, dt) : elapsed);
    }
    SweepFinished();
}

void AudioEngine::RenderSilent(double seconds)
{
    static auto render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    if (!render)
        return;
    double frames = std::min(seconds, static_cast<double>(kMaxSilentCatchUp)) * kSilentRate + _silentCarry;
    auto whole = static_cast<long long>(frames);
    _silentCarry = frames - static_cast<double>(whole);
    while (whole > 0)
    {
        const auto n = static_cast<ALCsizei>(std::min<long long>(whole, kSilentChunk));
        render(_device, _silentScratch.data(), n);
        whole -= n;
    }
}

AudioSound* AudioEngine::CreateSound(const std::string& path, unsigned mode)
{
    if (!IsOpen())
        return nullptr;
    std::string error;
    std::unique_ptr<AudioSound> sound = AudioSound::Load(path, mode, error);
    if (!sound)
    {
        Trace::Error("Audio: cannot play " + path + ": " + error);
        return nullptr;
    }
    _sounds.push_back(std::move(sound));
    return _sounds.back().get();
}

void AudioEngine::ReleaseSound(AudioSound* sound)
{
    if (!sound || !IsOpen())
        return;
    for (std::uint32_t i = 0; i < _slots.size(); ++i)
    {
        if (_slots[i]._generation != 0 && _slots[i]._sound == sound)
            Free(i);
    }
    std::erase_if(_sounds, [&](const std::unique_ptr<AudioSound>& s) { return s.get() == sound; });
}

bool AudioEngine::HasFinished(const Slot& slot) const
{
    const ALint state = SourceState(slot._source);
    return state == AL_STOPPED || (state == AL_INITIAL && !slot._pausedBeforeStart);
}

void AudioEngine::Free(std::uint32_t index)
{
    Slot& slot = _slots[index];
    alSourceStop(slot._source);
    alSourcei(slot._source, AL_BUFFER, 0);
    slot._generation = 0;
    slot._sound = nullptr;
    slot._pausedBeforeStart = false;
    slot._gain = 1.0f;
    slot._stopping = false;
    slot._stopMoves = 0;
    _free.push_back(index);
}

bool AudioEngine::HasFadedOut(Slot& slot)
{
    ALint offset = 0;
    alGetSourcei(slot._source, AL_SAMPLE_OFFSET, &offset);
    if (offset != slot._stopOffset)
    {
        slot._stopOffset = offset;
        ++slot._stopMoves;
    }
    return slot._stopMoves >= 2;
}

void AudioEngine::SweepFinished()
{
    for (std::uint32_t i = 0; i < _slots.size(); ++i)
    {
        Slot& slot = _slots[i];
        if (slot._generation != 0 && (HasFinished(slot) || (slot._stopping && HasFadedOut(slot))))
            Free(i);
    }
}

std::uint32_t AudioEngine::Acquire()
{
    if (_free.empty() && static_cast<int>(_slots.size()) < _maxChannels)
    {
        ALuint source = 0;
        alGetError();
        alGenSources(1, &source);
        if (alGetError() == AL_NO_ERROR)
        {
            _slots.push_back(Slot{source});
            return static_cast<std::uint32_t>(_slots.size() - 1);
        }
    }
    if (_free.empty())
        SweepFinished();
    if (_free.empty() && _slots.empty())
        return kNoSlot;
    if (_free.empty())
    {
        // Every channel is busy: the oldest playback gives way, as on any mixer
        // with a fixed number of voices.
        std::uint32_t oldest = 0;
        for (std::uint32_t i = 1; i < _slots.size(); ++i)
        {
            if (_slots[i]._started < _slots[oldest]._started)
                oldest = i;
        }
        Free(oldest);
    }
    const std::uint32_t index = _free.back();
    _free.pop_back();
    return index;
}

AudioChannel AudioEngine::PlaySound(AudioSound* sound, bool paused)
{
    if (!sound || !IsOpen())
        return {};
    const std::uint32_t index = Acquire();
    if (index == kNoSlot)
        return {};
    Slot& slot = _slots[index];
    slot._generation = s_nextGeneration++;
    if (s_nextGeneration == 0)
        s_nextGeneration = 1;
    slot._started = ++_startCount;
    slot._sound = sound;
    slot._pausedBeforeStart = paused;

    const ALuint source = slot._source;
    alSourceRewind(source);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(sound->GetBuffer()));
    alSourcei(source, AL_LOOPING, (sound->GetMode() & kLoopNormal) ? AL_TRUE : AL_FALSE);
    const bool flat = (sound->GetMode() & k2D) != 0;
    alSourcei(source, AL_SOURCE_RELATIVE, flat ? AL_TRUE : AL_FALSE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(source, AL_GAIN, 1.0f);
    // A source that starts anywhere but its first sample ramps its gain up from
    // silence over the first mixer update instead of jumping in.
    alSourcei(source, AL_SAMPLE_OFFSET, 1);
    if (!paused)
        alSourcePlay(source);
    return AudioChannel{index, slot._generation};
}

AudioEngine::Slot* AudioEngine::Resolve(const AudioChannel& channel)
{
    if (channel.IsNone() || !IsOpen() || channel._slot >= _slots.size())
        return nullptr;
    Slot& slot = _slots[channel._slot];
    if (slot._generation != channel._generation || slot._stopping)
        return nullptr;
    if (HasFinished(slot))
    {
        Free(channel._slot);
        return nullptr;
    }
    return &slot;
}

bool AudioEngine::IsPlaying(const AudioChannel& channel)
{
    return Resolve(channel) != nullptr;
}

bool AudioEngine::IsPaused(const AudioChannel& channel)
{
    const Slot* slot = Resolve(channel);
    return slot && (slot->_pausedBeforeStart || SourceState(slot->_source) == AL_PAUSED);
}

void AudioEngine::SetPaused(const AudioChannel& channel, bool paused)
{
    Slot* slot = Resolve(channel);
    if (!slot)
        return;
    if (slot->_pausedBeforeStart)
    {
        if (!paused)
        {
            slot->_pausedBeforeStart = false;
            alSourcePlay(slot->_source);
        }
        return;
    }
    const ALint state = SourceState(slot->_source);
    if (paused && state == AL_PLAYING)
        alSourcePause(slot->_source);
    else if (!paused && state == AL_PAUSED)
        alSourcePlay(slot->_source);
}

void AudioEngine::Stop(const AudioChannel& channel)
{
    Slot* slot = Resolve(channel);
    if (!slot)
        return;
    if (slot->_pausedBeforeStart || SourceState(slot->_source) != AL_PLAYING)
    {
        Free(channel._slot);
        return;
    }
    // The mixer ramps a gain change over its next update; the source halts after that.
    alSourcef(slot->_source, AL_GAIN, 0.0f);
    ALint offset = 0;
    alGetSourcei(slot->_source, AL_SAMPLE_OFFSET, &offset);
    slot->_stopping = true;
    slot->_stopOffset = offset;
    slot->_stopMoves = 0;
}

void AudioEngine::SetVolume(const AudioChannel& channel, float volume)
{
    if (Slot* slot = Resolve(channel))
    {
        slot->_gain = std::max(volume, 0.0f);
        alSourcef(slot->_source, AL_GAIN, slot->_gain);
    }
}

float AudioEngine::GetVolume(const AudioChannel& channel)
{
    const Slot* slot = Resolve(channel);
    return slot ? slot->_gain : 0.0f;
}

void AudioEngine::SetMode(const AudioChannel& channel, unsigned mode)
{
    const Slot* slot = Resolve(channel);
    if (!slot)
        return;
    if (mode & kLoopNormal)
        alSourcei(slot->_source, AL_LOOPING, AL_TRUE);
    else if (mode & kLoopOff)
        alSourcei(slot->_source, AL_LOOPING, AL_FALSE);
}

int AudioEngine::ActiveChannels() const
{
    return static_cast<int>(
        std::count_if(_slots.begin(), _slots.end(), [](const Slot& s) { return s._generation != 0 && !s._stopping; }));
}
