#include "TestSupport.h"

#include "core/FatalError.h"
#include "core/MainLoop.h"
#include "core/System.h"

#include <string>
#include <vector>

namespace
{
std::vector<std::string> g_events;
double g_now = 0.0;

double FakeClock()
{
    return g_now;
}

// Records every call; optional hooks let a test act at a given moment.
class RecordingSystem : public System
{
public:
    explicit RecordingSystem(std::string name) : System(std::move(name)) {}

    bool Init() override
    {
        g_events.push_back(GetName() + ".Init");
        if (_quitInInit)
            Engine::Quit();
        if (_throwInInit)
            throw FatalError(GetName() + " cannot start");
        return _initResult;
    }
    void Update(float dt) override
    {
        g_events.push_back(GetName() + ".Update");
        _dts.push_back(dt);
        _clocks.push_back(Engine::FrameClock());
        if (_quitOnFrame == static_cast<int>(_dts.size()))
            Engine::Quit();
        if (_throwOnFrame == static_cast<int>(_dts.size()))
            throw FatalError(GetName() + " cannot go on");
        // Each frame "takes" the time the test scripted for it.
        if (_frameSeconds)
            g_now += _frameSeconds;
    }
    void Render() override { g_events.push_back(GetName() + ".Render"); }
    void Exit() override
    {
        g_events.push_back(GetName() + ".Exit");
        if (_throwInExit)
            throw FatalError(GetName() + " cannot end");
    }

    bool _initResult = true;
    bool _quitInInit = false;
    bool _throwInInit = false;
    bool _throwInExit = false;
    int _throwOnFrame = -1;
    int _quitOnFrame = -1;
    double _frameSeconds = 0.0;
    std::vector<float> _dts;
    std::vector<double> _clocks;
};

class MainLoopTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        g_events.clear();
        g_now = 0.0;
        Engine::SetClock(&FakeClock);
    }
};
} // namespace

TEST_F(MainLoopTest, FirstFrameRunsAtZeroAndLaterFramesTakeTheirOwnTimeClampedToOneSecondOnly)
{
    g_now = 50.0; // the clock has run a while before the loop starts
    RecordingSystem a("A"), b("B");
    a._quitOnFrame = 3;
    a._frameSeconds = 0.25;
    EXPECT_EQ(Engine::RunMainLoop({&a}, {}), 0);
    EXPECT_EQ(a._dts, (std::vector<float>{0.0f, 0.25f, 0.25f}));

    Engine::ResetRunFlag();
    b._quitOnFrame = 3;
    b._frameSeconds = 3.0; // the later frames' dt would be 3 s without the clamp
    EXPECT_EQ(Engine::RunMainLoop({&b}, {}), 0);
    EXPECT_EQ(b._dts, (std::vector<float>{0.0f, 1.0f, 1.0f}));
    EXPECT_FLOAT_EQ(Engine::ClampFrameTime(10.016, 10.0), 0.016f);
    // No lower clamp: a clock that steps back gives a negative dt.
    EXPECT_LT(Engine::ClampFrameTime(1.0, 2.0), 0.0f);
}

TEST_F(MainLoopTest, ClearedRunFlagCompletesTheFrameThenExitsInReverse)
{
    RecordingSystem a("A"), b("B"), c("C");
    b._quitOnFrame = 1;
    EXPECT_EQ(Engine::RunMainLoop({&a, &b, &c}, {}), 0);
    const std::vector<std::string> expected = {"A.Init",   "B.Init",   "C.Init",   "A.Update", "B.Update", "C.Update",
                                               "A.Render", "B.Render", "C.Render", "C.Exit",   "B.Exit",   "A.Exit"};
    EXPECT_EQ(g_events, expected);

    // Cleared during Init: no frame runs, but every system ends.
    Engine::ResetRunFlag();
    g_events.clear();
    RecordingSystem d("D"), e("E");
    d._quitInInit = true;
    EXPECT_EQ(Engine::RunMainLoop({&d, &e}, {}), 0);
    EXPECT_EQ(g_events, (std::vector<std::string>{"D.Init", "E.Init", "E.Exit", "D.Exit"}));
}

TEST_F(MainLoopTest, FailedInitEndsOnlyTheSystemsThatStarted)
{
    RecordingSystem a("A"), b("B"), c("C");
    b._initResult = false;
    EXPECT_EQ(Engine::RunMainLoop({&a, &b, &c}, {}), 1);
    EXPECT_EQ(g_events, (std::vector<std::string>{"A.Init", "B.Init", "A.Exit"}));
    EXPECT_NE(test::ReadTrace().find("Init failed: B"), std::string::npos);

    // A system whose Init throws has started, so it is ended with those before it.
    g_events.clear();
    RecordingSystem d("D"), e("E"), f("F");
    e._throwInInit = true;
    EXPECT_EQ(Engine::RunMainLoop({&d, &e, &f}, {}), 1);
    EXPECT_EQ(g_events, (std::vector<std::string>{"D.Init", "E.Init", "E.Exit", "D.Exit"}));
}

TEST_F(MainLoopTest, AFatalErrorIsLoggedAndEveryStartedSystemStillEnds)
{
    RecordingSystem a("A"), b("B"), c("C");
    b._throwOnFrame = 2;
    a._throwInExit = true;
    EXPECT_EQ(Engine::RunMainLoop({&a, &b, &c}, {}), 1);
    const std::vector<std::string> frames = {"A.Init",   "B.Init",   "C.Init",   "A.Update", "B.Update",
                                             "C.Update", "A.Render", "B.Render", "C.Render", "A.Update",
                                             "B.Update", "C.Exit",   "B.Exit",   "A.Exit"};
    EXPECT_EQ(g_events, frames);
    const std::string trace = test::ReadTrace();
    EXPECT_NE(trace.find("Fatal: B cannot go on\n"), std::string::npos);
    EXPECT_NE(trace.find("Fatal: A cannot end\nShut down\n"), std::string::npos);
}

TEST_F(MainLoopTest, AFrameLimitAndFixedDtGiveAGameTimeThatIgnoresTheClock)
{
    RecordingSystem a("A");
    a._frameSeconds = 0.7; // what the real clock says each frame takes
    Engine::LoopOptions options;
    options.frames = 4;
    options.fixedDt = 0.25f;
    EXPECT_EQ(Engine::RunMainLoop({&a}, options), 0);
    EXPECT_EQ(a._dts, (std::vector<float>{0.0f, 0.25f, 0.25f, 0.25f}));
    EXPECT_EQ(a._clocks, (std::vector<double>{0.0, 0.25, 0.5, 0.75}));

    Engine::ResetRunFlag();
    RecordingSystem b("B");
    Engine::RunMainLoop({&b}, options);
    EXPECT_EQ(b._clocks, a._clocks) << "a second run starts again from zero";

    Engine::ResetRunFlag();
    RecordingSystem c("C");
    options.frames = 0;
    Engine::RunMainLoop({&c}, options);
    EXPECT_TRUE(c._dts.empty());
}

TEST_F(MainLoopTest, PacingSleepsOnlyWhenTheDisplayDoesNotHoldFramesBack)
{
    // On the real clock, the game time two frames in shows whether each frame slept.
    Engine::SetClock(nullptr);
    auto gameTime = [](bool (*displayPaces)())
    {
        Engine::ResetRunFlag();
        RecordingSystem a("A");
        Engine::LoopOptions options;
        options.frames = 3;
        options.paceHz = 8.0;
        options.displayPaces = displayPaces;
        Engine::RunMainLoop({&a}, options);
        return a._clocks.back();
    };
    EXPECT_GE(gameTime(nullptr), 0.24);
    EXPECT_GE(gameTime([] { return false; }), 0.24);
    EXPECT_LT(gameTime([] { return true; }), 0.24) << "no sleep on top of vsync";
}
