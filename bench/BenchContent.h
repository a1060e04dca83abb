#pragma once

#include "data/StaticSettings.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

// Runs a bench inside the built content folder, as the game runs, with sound on the null
// driver and the tuning files never written back; the previous working folder comes back
// when it goes out of scope, whichever way the bench ends.
class BenchContent
{
public:
    BenchContent() : _previous(std::filesystem::current_path())
    {
        ::setenv("ALSOFT_DRIVERS", "null", 0);
        StaticSettings::SetWriteBack(false);
        std::filesystem::current_path(GLOAMER_BENCH_CONTENT);
    }
    ~BenchContent()
    {
        std::error_code ec;
        std::filesystem::current_path(_previous, ec);
    }
    BenchContent(const BenchContent&) = delete;
    BenchContent& operator=(const BenchContent&) = delete;

private:
    std::filesystem::path _previous;
};
