#pragma once

#include "audio/AudioChannel.h"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <string>

using json = nlohmann::json;

// A playable reference to an entry of the sound table, embedded in components.
// It keeps the channel of its latest playback and its own volume and flags.
class Sound
{
public:
    Sound() = default;
    // A copy names the same entry with the same settings but has not played yet.
    Sound(const Sound& other);
    Sound& operator=(const Sound& other);
    // A non-persistent or looping sound stops with its owner; a persistent one plays
    // to its end.
    ~Sound();

    // {"name", "volume", "directional", "looping", "persistent"}, each optional. An
    // unknown name selects the first sound of the table (and is reported once). Wrong
    // types raise the JSON library's type error.
    void Read(const json& j);
    void Write(json& j) const;

    // Picks the entry by name; switching to another entry stops the current playback.
    void Set(const std::string& name, float volume, bool looping, bool persistent);

    // Resumes a paused playback, otherwise starts a new one. A playback still running
    // carries on by itself and can no longer be reached through this sound.
    void Play();
    void Stop();
    void Pause(bool paused);
    void SetVolume(float volume);
    void SetLooping(bool looping);
    bool IsPlaying() const;
    bool IsPaused() const;

    // Takes the sound out of the volume refresh (it is put back by the next Play).
    void LeavePlayingList();

    std::uint16_t GetIndex() const { return _index; }
    float GetVolume() const { return _volume; }
    bool IsDirectional() const { return _directional; }
    bool IsLooping() const { return _looping; }
    bool IsPersistent() const { return _persistent; }
    bool InPlayingList() const;
    const AudioChannel& GetChannel() const { return _channel; }

private:
    void ApplyVolume();

    AudioChannel _channel;
    std::uint16_t _index = 0;
    std::uint32_t _ticket = 0; // of this sound's row in the sound system's playing list
    float _volume = 1.0f;
    bool _directional = true;
    bool _looping = false;
    bool _persistent = true;
};
