#pragma once

#include <functional>
#include <vector>

class System;

namespace Engine
{
// Global run flag: true at start; the loop ends after the frame in which it is cleared.
bool IsRunning();
void Quit();
// Only for tests and tools that run several loops in one process.
void ResetRunFlag();

// Seconds on a monotonic clock. The window replaces it with the windowing library's.
using ClockFn = double (*)();
void SetClock(ClockFn clock);
double Now();

// Game time: the sum of the frame times the loop has handed out, so effects that
// animate with it replay exactly under a fixed frame time.
double FrameClock();

struct LoopOptions
{
    long long frames = -1; // stop after this many frames; < 0 runs until the flag is cleared
    float fixedDt = -1.0f; // >= 0: every frame after the first gets this dt
    double paceHz = 0.0;   // > 0: sleep so frames are at least 1/paceHz apart
    // True while the display holds each frame back itself (vsync); the loop then never
    // sleeps on top of it. Null: nothing holds frames back.
    bool (*displayPaces)() = nullptr;
    // Called after every system has updated and rendered frame n (counted from 0).
    std::function<void(long long frame)> endOfFrame;
};

// Frame time for the next frame: the elapsed time, at most one second.
float ClampFrameTime(double now, double previous);

// Init each system in order, run frames while the flag is set, then Exit in reverse.
// When an Init fails, the systems already initialised still get Exit (in reverse) so
// they can save their files; the result is then 1. A FatalError thrown from Init or a
// frame is written to the log as "Fatal: ...", the started systems (the one whose Init
// threw included) are ended the same way, and the result is 1. Otherwise 0. Either
// way the log is closed on return, with nothing left for static destruction to end.
int RunMainLoop(const std::vector<System*>& systems, const LoopOptions& options);
} // namespace Engine
