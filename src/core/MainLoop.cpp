#include "core/MainLoop.h"

#include "core/FatalError.h"
#include "core/System.h"
#include "core/Trace.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>

namespace
{
unsigned char s_running = 1;
double s_frameClock = 0.0;

double SteadySeconds()
{
    using namespace std::chrono;
    static const steady_clock::time_point start = steady_clock::now();
    return duration<double>(steady_clock::now() - start).count();
}

Engine::ClockFn s_clock = &SteadySeconds;

// Random draws use the standard generator, seeded once at start-up with the time;
// --seed reseeds it from main.
const bool s_seeded = []
{
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    return true;
}();
} // namespace

namespace Engine
{
namespace
{
void RunFrames(const std::vector<System*>& systems, const LoopOptions& options)
{
    float dt = 0.0f;
    // The second frame's dt is the first frame's own time, not the clock's age.
    double previous = Now();
    long long frame = 0;
    s_frameClock = 0.0;
    while (IsRunning() && (options.frames < 0 || frame < options.frames))
    {
        const double frameStart = Now();
        s_frameClock += dt;
        for (System* system : systems)
            system->Update(dt);
        for (System* system : systems)
            system->Render();
        if (options.endOfFrame)
            options.endOfFrame(frame);

        const bool displayPaces = options.displayPaces && options.displayPaces();
        if (options.paceHz > 0.0 && options.fixedDt < 0.0f && !displayPaces)
        {
            const double wait = 1.0 / options.paceHz - (Now() - frameStart);
            if (wait > 0.0)
                std::this_thread::sleep_for(std::chrono::duration<double>(wait));
        }

        const double now = Now();
        dt = options.fixedDt >= 0.0f ? options.fixedDt : ClampFrameTime(now, previous);
        previous = now;
        ++frame;
    }
}
} // namespace

bool IsRunning()
{
    return s_running != 0;
}

void Quit()
{
    s_running = 0;
}

void ResetRunFlag()
{
    s_running = 1;
}

void SetClock(ClockFn clock)
{
    s_clock = clock ? clock : &SteadySeconds;
}

double Now()
{
    return s_clock();
}

double FrameClock()
{
    return s_frameClock;
}

float ClampFrameTime(double now, double previous)
{
    float dt = static_cast<float>(now - previous);
    return dt > 1.0f ? 1.0f : dt;
}

int RunMainLoop(const std::vector<System*>& systems, const LoopOptions& options)
{
    (void)s_seeded;
    Trace::Open();
    {
        std::string names;
        for (System* system : systems)
            names += (names.empty() ? "" : ", ") + system->GetName();
        Trace::Message("Systems: " + names);
    }

    std::size_t initialised = 0;
    bool ok = true;
    try
    {
        for (System* system : systems)
        {
            // Counted before Init: one that throws has built part of its state, and its
            // Exit must end that too.
            ++initialised;
            if (!system->Init())
            {
                --initialised;
                Trace::Error("Init failed: " + system->GetName());
                ok = false;
                break;
            }
        }
        if (ok)
            RunFrames(systems, options);
    }
    catch (const FatalError& error)
    {
        Trace::Error(std::string("Fatal: ") + error.what());
        ok = false;
    }

    for (std::size_t i = initialised; i-- > 0;)
    {
        // One system failing to end must not keep the others from saving.
        try
        {
            systems[i]->Exit();
        }
        catch (const FatalError& error)
        {
            Trace::Error(std::string("Fatal: ") + error.what());
            ok = false;
        }
    }
    Trace::Message("Shut down");

    Trace::Close();
    return ok ? 0 : 1;
}
} // namespace Engine
