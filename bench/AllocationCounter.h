#pragma once

#include <cstddef>

// Counts every heap allocation made through operator new in this program.
namespace bench
{
std::size_t AllocationCount();
}
