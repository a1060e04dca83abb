#pragma once

#include "TestSupport.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>

namespace test
{
// Audio tests play through OpenAL Soft's null output, so they need no sound card
// and keep real playback timing.
class AudioTest : public ScratchTest
{
protected:
    void SetUp() override;
};

// A sine tone written with libsndfile; format is an SF_FORMAT_* container|encoding.
void WriteTone(const std::filesystem::path& path, double seconds, int channels = 1, int format = 0);

// A sound table of {name, seconds} pairs, each with its own tone file under Assets/Sound.
void WriteSoundTable(const nlohmann::json& table);
} // namespace test
