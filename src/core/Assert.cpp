#include "core/Assert.h"

#include "core/Trace.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace Engine
{
void AssertFailed(const char* message, const char* file, int line)
{
    std::string text = std::string("Assertion failed: ") + message + " (" + file + ":" + std::to_string(line) + ")";
    Trace::Error(text);
    std::fflush(stderr);
    std::abort();
}
} // namespace Engine
