#pragma once

#include "audio/AudioChannel.h"

#include <AL/alc.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class AudioSound;

// The small audio engine the sound system plays through: one OpenAL source per
// channel, sounds decoded whole into buffers. Calls on a channel that has finished
// or was stopped do nothing, and calls before Init or after Close do nothing.
// Playbacks fade in from silence and a stop fades out before the source halts, so
// neither starts nor stops click.
class AudioEngine
{
public:
    // Sound and channel modes.
    static constexpr unsigned kLoopOff = 0x1;
    static constexpr unsigned kLoopNormal = 0x2;
    static constexpr unsigned k2D = 0x8;

    // Init flags. Silent: do not open an output device; mix into nothing.
    // FrameClock (with Silent): time moves only by the dt given to Update, so a run
    // with a fixed frame time sees sounds end on the same frames every time.
    static constexpr unsigned kInitSilent = 0x1;
    static constexpr unsigned kInitFrameClock = 0x2;

    // Rate of the silent mixer; it only has to keep time.
    static constexpr int kSilentRate = 8000;

    AudioEngine();
    ~AudioEngine();

    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    // Opens the default output device with room for maxChannels playing at once.
    // Without a usable device the engine runs silent (said once in the trace log)
    // and channels still start, pause, loop and finish in real time.
    bool Init(int maxChannels, unsigned flags = 0);
    // Advances the silent mixer (to the present, or by dt on the frame clock) and
    // reclaims finished channels.
    void Update(float dt = 0.0f);
    void Close();

    bool IsOpen() const { return _context != nullptr; }
    bool IsSilent() const { return _silent; }

    // Null when the file cannot be opened or decoded; the reason goes to the trace log.
    AudioSound* CreateSound(const std::string& path, unsigned mode);
    // Stops every channel playing the sound, then frees it.
    void ReleaseSound(AudioSound* sound);

    AudioChannel PlaySound(AudioSound* sound, bool paused);

    bool IsPlaying(const AudioChannel& channel);
    bool IsPaused(const AudioChannel& channel);
    void SetPaused(const AudioChannel& channel, bool paused);
    void Stop(const AudioChannel& channel);
    void SetVolume(const AudioChannel& channel, float volume);
    float GetVolume(const AudioChannel& channel); // the volume set; 0 when not playing
    void SetMode(const AudioChannel& channel, unsigned mode);

    // Channels started and not yet seen to finish or stopped.
    int ActiveChannels() const;

private:
    struct Slot
    {
        unsigned _source = 0;
        std::uint32_t _generation = 0; // 0 while the slot is free
        std::uint64_t _started = 0;    // start order, for stealing the oldest
        AudioSound* _sound = nullptr;
        bool _pausedBeforeStart = false;
        float _gain = 1.0f;
        // A stopped source mixes on at gain 0 until its offset has moved twice: the
        // first move may come from an update begun before the stop, the second from
        // one begun after it, which ramped the gain down.
        bool _stopping = false;
        int _stopOffset = 0;
        int _stopMoves = 0;
    };

    bool OpenDevice();
    bool OpenSilent();
    Slot* Resolve(const AudioChannel& channel);
    bool HasFinished(const Slot& slot) const;
    // True once a stopping slot's fade-out has been mixed.
    static bool HasFadedOut(Slot& slot);
    void Free(std::uint32_t index);
    std::uint32_t Acquire();
    void SweepFinished();
    void RenderSilent(double seconds);

    ALCdevice* _device = nullptr;
    ALCcontext* _context = nullptr;
    bool _silent = false;
    bool _frameClock = false;
    int _maxChannels = 0;
    std::vector<Slot> _slots;
    std::vector<std::uint32_t> _free;
    std::vector<std::unique_ptr<AudioSound>> _sounds;
    std::uint64_t _startCount = 0;
    std::vector<short> _silentScratch;
    std::chrono::steady_clock::time_point _silentClock;
    double _silentCarry = 0.0;
};
