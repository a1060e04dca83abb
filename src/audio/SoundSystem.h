#pragma once

#include "audio/AudioEngine.h"
#include "core/System.h"
#include "data/FieldDescriptor.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class AudioSound;
class Sound;

// The player's volume settings; the option system reads and saves them.
struct SoundVolumes
{
    float masterVol = 1.0f;
    float sfxVol = 1.0f;
    float musicVol = 1.0f;
};

// Owns the audio engine and the table of named sounds from "Data/Sound/sounds.json",
// and keeps the list of sounds that have played so volume changes reach them.
class SoundSystem : public System
{
public:
    static constexpr const char* kTablePath = "Data/Sound/sounds.json";
    static constexpr int kChannels = 1024;
    static constexpr std::size_t kMaxEntries = 65536;

    struct Entry
    {
        AudioSound* _sound = nullptr; // created on first use, owned by the engine
        bool _loadFailed = false;     // reported once; the sound stays silent
        std::string _name;
        std::string _filename;
        bool _looping = false;
        float _volume = 1.0f;
        unsigned _category = 0;    // 0 sound effect, anything else music
        std::size_t _position = 0; // its element in the table file
    };

    SoundSystem();
    ~SoundSystem() override;

    static SoundSystem& Instance();
    // The instance while it exists: null before the first Instance() call and after
    // static destruction, when sounds held by other globals may still be destroyed.
    static SoundSystem* Live();

    bool Init() override;
    void Update(float dt) override;
    void Exit() override;

    // Index of a name in the table, 0 (the first sound) when it is not there.
    std::uint16_t FindIndex(const std::string& name) const;
    // The same, for a name that data asks to play: an unknown one is reported once.
    std::uint16_t Lookup(const std::string& name);
    bool HasName(const std::string& name) const { return _index.contains(name); }
    const Entry* GetEntry(std::uint16_t index) const;
    std::size_t TableSize() const { return _table.size(); }

    // The entry's decoded sound, created on first use; null when it cannot be played.
    AudioSound* GetSound(std::uint16_t index);
    // Null before Init and after Exit.
    AudioEngine* Engine() { return _engine.get(); }

    // Re-applies the effective volume to every sound that has played.
    void RefreshVolumes();
    // The player's "Toggle Audio" switch; refreshes.
    void SetEnabled(bool enabled);
    bool IsEnabled() const { return _enabled; }
    // Quiet while the window is in the background. A switch of its own, so regaining
    // the focus never undoes the player's mute.
    void SetFocusMuted(bool muted);
    SoundVolumes& Volumes() { return _volumes; }
    const SoundVolumes& Volumes() const { return _volumes; }
    static const FieldDescriptor<SoundVolumes>& VolumesDescriptor();

    float EffectiveVolume(const Sound& sound) const;
    // Master x category x entry x the sound's own volume; 0 while muted.
    float EffectiveVolume(std::uint16_t index, float volume) const;

    // Headless runs open no output device, and sounds advance with the frame time so
    // a run with a fixed dt is repeatable. Takes effect at the next Init.
    void SetHeadless(bool headless) { _headless = headless; }

    // Back to the start-up state without writing anything; for tests and tools.
    void Reset();

    // The playing list: what the volume refresh needs of each sound that has played,
    // under a ticket that is never handed out twice, so a stale one matches nothing.
    struct PlayingRow
    {
        std::uint32_t _ticket = 0;
        AudioChannel _channel;
        std::uint16_t _index = 0;
        float _volume = 1.0f;
        bool _removed = false;
    };
    // Adds a row (ticket 0) or updates the row of a ticket still listed; returns the
    // row's ticket, 0 when the list is closed (no engine).
    std::uint32_t Track(std::uint32_t ticket, const AudioChannel& channel, std::uint16_t index, float volume);
    // The row leaves the refresh now and the list at the next Update.
    void Untrack(std::uint32_t ticket);
    bool IsTracked(std::uint32_t ticket) const { return Find(ticket) != nullptr; }

    std::size_t PlayingListSize() const { return _playing.size(); }

private:
    PlayingRow* Find(std::uint32_t ticket);
    const PlayingRow* Find(std::uint32_t ticket) const;

    bool LoadTable();
    bool ReadEntry(const json& element, std::size_t position);
    void WriteTable() const;
    void ReleaseAll();

    void DropRemovedRows();

    std::unique_ptr<AudioEngine> _engine;
    std::vector<Entry> _table;
    // The table file as read, so elements we could not read and keys we do not know
    // are written back as they were.
    json _document;
    std::unordered_map<std::string, std::uint16_t> _index;
    std::unordered_set<std::string> _reportedNames;
    std::vector<PlayingRow> _playing; // in ticket order
    std::uint32_t _nextTicket = 1;
    SoundVolumes _volumes;
    bool _enabled = true;
    bool _focusMuted = false;
    bool _loaded = false;
    bool _headless = false;
};
