#pragma once

// Programming errors stop the program with a literal message, in every build type.
#define GLOAMER_ASSERT(condition, message)                                                                             \
    do                                                                                                                 \
    {                                                                                                                  \
        if (!(condition))                                                                                              \
            ::Engine::AssertFailed(message, __FILE__, __LINE__);                                                       \
    } while (false)

namespace Engine
{
[[noreturn]] void AssertFailed(const char* message, const char* file, int line);
}
