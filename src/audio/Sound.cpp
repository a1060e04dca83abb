#include "audio/Sound.h"

#include "audio/SoundSystem.h"
#include "data/FieldDescriptor.h"

namespace
{
AudioEngine* LiveEngine()
{
    SoundSystem* system = SoundSystem::Live();
    return system ? system->Engine() : nullptr;
}

template <typename T> void ReadKey(T& out, const json& j, const char* key)
{
    if (auto it = j.find(key); it != j.end())
        FieldIo::ReadValue(out, *it);
}
} // namespace

Sound::Sound(const Sound& other)
    : _index(other._index), _volume(other._volume), _directional(other._directional), _looping(other._looping),
      _persistent(other._persistent)
{
}

Sound& Sound::operator=(const Sound& other)
{
    if (this == &other)
        return *this;
    Stop();
    LeavePlayingList();
    _channel.Reset();
    _index = other._index;
    _volume = other._volume;
    _directional = other._directional;
    _looping = other._looping;
    _persistent = other._persistent;
    return *this;
}

Sound::~Sound()
{
    // A loop has no end of its own, so nothing could stop it once its owner is gone.
    if (!_persistent || _looping)
        Stop();
    LeavePlayingList();
}

void Sound::Read(const json& j)
{
    FieldIo::RequireObject(j);
    if (auto it = j.find("name"); it != j.end())
    {
        std::string name;
        FieldIo::ReadValue(name, *it);
        SoundSystem* system = SoundSystem::Live();
        _index = system ? system->Lookup(name) : 0;
    }
    ReadKey(_volume, j, "volume");
    ReadKey(_directional, j, "directional");
    ReadKey(_looping, j, "looping");
    ReadKey(_persistent, j, "persistent");
}

void Sound::Write(json& j) const
{
    const SoundSystem* system = SoundSystem::Live();
    if (const SoundSystem::Entry* entry = system ? system->GetEntry(_index) : nullptr)
        j["name"] = entry->_name;
    j["volume"] = FieldIo::WriteValue(_volume);
    j["directional"] = _directional;
    j["looping"] = _looping;
    j["persistent"] = _persistent;
}

void Sound::Set(const std::string& name, float volume, bool looping, bool persistent)
{
    SoundSystem* system = SoundSystem::Live();
    const std::uint16_t index = system ? system->Lookup(name) : 0;
    if (index != _index)
    {
        Stop();
        LeavePlayingList();
        _index = index;
    }
    SetVolume(volume);
    SetLooping(looping);
    _persistent = persistent;
}

void Sound::Play()
{
    SoundSystem* system = SoundSystem::Live();
    AudioEngine* engine = system ? system->Engine() : nullptr;
    if (!engine)
        return;
    if (engine->IsPlaying(_channel) && engine->IsPaused(_channel))
    {
        engine->SetPaused(_channel, false);
        return;
    }
    AudioSound* sound = system->GetSound(_index);
    if (!sound)
        return;
    // Start held so the loop mode and volume are in place before the first sample.
    _channel = engine->PlaySound(sound, true);
    SetLooping(_looping);
    ApplyVolume();
    engine->SetPaused(_channel, false);
    _ticket = system->Track(_ticket, _channel, _index, _volume);
}

void Sound::Stop()
{
    AudioEngine* engine = LiveEngine();
    if (engine && engine->IsPlaying(_channel))
        engine->Stop(_channel);
    _channel.Reset();
}

void Sound::Pause(bool paused)
{
    AudioEngine* engine = LiveEngine();
    if (engine && engine->IsPlaying(_channel) && engine->IsPaused(_channel) != paused)
        engine->SetPaused(_channel, paused);
}

void Sound::SetVolume(float volume)
{
    _volume = volume;
    SoundSystem* system = SoundSystem::Live();
    if (system && system->IsTracked(_ticket))
        system->Track(_ticket, _channel, _index, _volume);
    ApplyVolume();
}

void Sound::SetLooping(bool looping)
{
    _looping = looping;
    AudioEngine* engine = LiveEngine();
    if (engine && engine->IsPlaying(_channel))
        engine->SetMode(_channel, looping ? AudioEngine::kLoopNormal : AudioEngine::kLoopOff);
}

bool Sound::IsPlaying() const
{
    AudioEngine* engine = LiveEngine();
    return engine && engine->IsPlaying(_channel);
}

bool Sound::IsPaused() const
{
    AudioEngine* engine = LiveEngine();
    return engine && engine->IsPaused(_channel);
}

bool Sound::InPlayingList() const
{
    const SoundSystem* system = SoundSystem::Live();
    return system && system->IsTracked(_ticket);
}

void Sound::LeavePlayingList()
{
    if (SoundSystem* system = SoundSystem::Live())
        system->Untrack(_ticket);
    _ticket = 0;
}

void Sound::ApplyVolume()
{
    SoundSystem* system = SoundSystem::Live();
    AudioEngine* engine = system ? system->Engine() : nullptr;
    if (engine && engine->IsPlaying(_channel))
        engine->SetVolume(_channel, system->EffectiveVolume(*this));
}
