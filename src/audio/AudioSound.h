#pragma once

#include <cstdint>
#include <memory>
#include <string>

// One decoded audio file held in an OpenAL buffer. Made and owned by AudioEngine,
// which keeps its context current for as long as the buffer lives.
class AudioSound
{
public:
    ~AudioSound();

    AudioSound(const AudioSound&) = delete;
    AudioSound& operator=(const AudioSound&) = delete;

    // Decodes the file (WAV, OGG, FLAC, anything libsndfile reads) and uploads it.
    // Null on failure, with the reason in error.
    static std::unique_ptr<AudioSound> Load(const std::string& path, unsigned mode, std::string& error);

    unsigned GetBuffer() const { return _buffer; }
    unsigned GetMode() const { return _mode; }
    int GetChannels() const { return _channels; }
    int GetSampleRate() const { return _sampleRate; }
    float GetLength() const;

private:
    AudioSound() = default;

    unsigned _buffer = 0;
    unsigned _mode = 0;
    int _channels = 0;
    int _sampleRate = 0;
    std::int64_t _frames = 0;
};
