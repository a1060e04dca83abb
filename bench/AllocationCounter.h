#pragma once

#include <cstddef>

// Counts every heap allocation made through operator new in this program.
namespace bench
{
std::size_t AllocationCount();

// While on, each allocation also writes its call stack to stderr (at most `limit` of
// them), to find what allocates in a loop that should not. Benches trace their steady
// state when GLOAMER_BENCH_ALLOC_TRACE is set to how many stacks to write.
void TraceAllocations(bool on, std::size_t limit = 0);
std::size_t AllocationTraceRequested();
} // namespace bench
