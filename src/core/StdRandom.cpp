#include "core/StdRandom.h"

#include <cstdlib>

namespace StdRandom
{
int Draw()
{
    return static_cast<int>(static_cast<long long>(std::rand()) * 32768 / (static_cast<long long>(RAND_MAX) + 1));
}

float Unit()
{
    return static_cast<float>(Draw()) / 32768.0f;
}
} // namespace StdRandom
