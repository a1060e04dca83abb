#pragma once

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace test
{
// Puts every engine global back to its start-up state and connects the systems as the
// game does.
void ResetGlobals();

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& text);

// The scratch folder's trace log, closed first so everything is flushed.
std::string ReadTrace();

// How many times `text` appears in `haystack`, for "reported once" checks.
inline std::size_t Count(const std::string& haystack, const std::string& text)
{
    std::size_t n = 0;
    for (auto at = haystack.find(text); at != std::string::npos; at = haystack.find(text, at + 1))
        ++n;
    return n;
}

// Each test runs in a fresh scratch folder that acts as the content root, with all
// engine globals reset before and after.
class ScratchTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Copies a folder from tests/data into the scratch folder.
    void CopyTestData(const std::string& relative);
    // Copies the game's content tree (game/) into the scratch folder.
    void CopyContent();

    std::filesystem::path _scratch;
    std::filesystem::path _previous;
};
} // namespace test
