#include "AllocationCounter.h"

#include <execinfo.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace
{
std::atomic<std::size_t> s_allocations{0};
std::atomic<std::size_t> s_traceLeft{0};
thread_local bool t_tracing = false;

// backtrace_symbols_fd writes without allocating, so the trace does not count itself.
void Trace(std::size_t size)
{
    if (t_tracing || s_traceLeft.load(std::memory_order_relaxed) == 0)
        return;
    t_tracing = true;
    s_traceLeft.fetch_sub(1, std::memory_order_relaxed);
    char line[64];
    const int length = std::snprintf(line, sizeof line, "--- allocation of %zu bytes\n", size);
    if (length > 0)
        (void)!::write(STDERR_FILENO, line, static_cast<std::size_t>(length));
    void* frames[24];
    backtrace_symbols_fd(frames, backtrace(frames, 24), STDERR_FILENO);
    t_tracing = false;
}
} // namespace

namespace bench
{
std::size_t AllocationCount()
{
    return s_allocations.load(std::memory_order_relaxed);
}

void TraceAllocations(bool on, std::size_t limit)
{
    if (on)
    {
        // backtrace() loads its unwinder on first use, which allocates: do that now.
        void* frame = nullptr;
        backtrace(&frame, 1);
    }
    s_traceLeft.store(on ? limit : 0, std::memory_order_relaxed);
}

std::size_t AllocationTraceRequested()
{
    const char* limit = std::getenv("GLOAMER_BENCH_ALLOC_TRACE");
    return limit ? std::strtoul(limit, nullptr, 10) : 0;
}
} // namespace bench

void* operator new(std::size_t size)
{
    s_allocations.fetch_add(1, std::memory_order_relaxed);
    Trace(size);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size)
{
    return operator new(size);
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
