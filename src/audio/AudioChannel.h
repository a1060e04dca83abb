#pragma once

#include <cstdint>

// A handle to one playback: the engine's channel slot and the generation that slot
// had when the playback started. A handle whose playback has finished, been stopped
// or been replaced no longer matches its slot and is treated as gone.
struct AudioChannel
{
    std::uint32_t _slot = 0;
    std::uint32_t _generation = 0;

    bool IsNone() const { return _generation == 0; }
    void Reset() { *this = AudioChannel{}; }
};
