#include "TestSupport.h"

#include "core/Cheats.h"
#include "core/MainLoop.h"
#include "data/Stream.h"
#include "debug/CheatSystem.h"
#include "input/InputSystem.h"
#include "render/RenderState.h"
#include "render/SceneCamera.h"
#include "ui/OptionSystem.h"

#include <gmock/gmock.h>

#include <initializer_list>
#include <string>

using ::testing::HasSubstr;
using ::testing::Not;

namespace
{
constexpr int A = 'A', B = 'B', C = 'C', X = 'X';

// A cheat "Code" of the given steps ("A", "A^" for a release step) and delay.
std::string Cheat(const std::string& name, std::initializer_list<const char*> steps, float delay = 1.0f,
                  bool disabled = false)
{
    std::string keys;
    for (const char* step : steps)
    {
        if (!keys.empty())
            keys += ", ";
        keys += R"({"key": )" + std::to_string(static_cast<int>(step[0])) + R"(, "release": )" +
                (step[1] == '^' ? "true" : "false") + "}";
    }
    return "\"" + name + R"(": {"delaytime": )" + std::to_string(delay) + R"(, "disabled": )" +
           (disabled ? "true" : "false") + R"(, "Keys": [)" + keys + "]}";
}
} // namespace

class CheatSystemTest : public test::ScratchTest
{
protected:
    CheatSystem& _cheats = CheatSystem::Instance();
    InputSystem& _input = InputSystem::Instance();

    void Load(const std::string& members) { _cheats.Load(json::parse("{" + members + "}"), "cheats.json"); }

    // One frame as the loop runs it: this frame's events arrive, the cheats match, and
    // the input system moves on. True when `name` was triggered in that frame.
    bool Frame(std::initializer_list<int> presses = {}, std::initializer_list<int> releases = {}, float dt = 0.1f,
               const std::string& name = "Code")
    {
        for (int code : presses)
            _input.HandleButton(code, InputSystem::kPress);
        for (int code : releases)
            _input.HandleButton(code, InputSystem::kRelease);
        _cheats.Update(dt);
        const bool triggered = _cheats.IsTriggered(name);
        _input.Update(dt);
        return triggered;
    }

    // Each key pressed in one frame and released in the next; how many frames the
    // cheat was triggered in.
    int Type(std::initializer_list<int> keys, const std::string& name = "Code")
    {
        int frames = 0;
        for (int key : keys)
        {
            frames += Frame({key}, {}, 0.1f, name);
            frames += Frame({}, {key}, 0.1f, name);
        }
        return frames + Frame({}, {}, 0.1f, name);
    }
};

TEST_F(CheatSystemTest, ASequenceTypedInTimeTriggersForExactlyOneFrame)
{
    Load(Cheat("Code", {"A", "B", "C"}));
    EXPECT_FALSE(Frame({A}));
    EXPECT_FALSE(Frame({}, {A}));
    EXPECT_FALSE(Frame({B}));
    EXPECT_FALSE(Frame({}, {B}));
    EXPECT_TRUE(Frame({C}));
    EXPECT_FALSE(Frame()) << "seen for one frame only";
    EXPECT_FALSE(Frame({}, {C}));
    EXPECT_EQ(Type({A, B, C}), 1) << "and it can be typed again";

    // Keys held together complete their steps in one frame.
    EXPECT_TRUE(Frame({A, B, C}));
}

TEST_F(CheatSystemTest, PausesLongerThanTheDelayStartOver)
{
    Load(Cheat("Code", {"A", "B", "C"}, 0.5f));
    Frame({A});
    Frame({}, {A});
    Frame({}, {}, 0.4f); // 0.1 + 0.4: the time is up
    EXPECT_EQ(Type({B, C}), 0);
    EXPECT_EQ(_cheats.Codes().at("Code")._progress, 0u);

    // Just inside the delay still counts.
    Frame({A});
    Frame({}, {A}, 0.35f);
    EXPECT_EQ(Type({B, C}), 1);
}

TEST_F(CheatSystemTest, AnUnrelatedKeyStartsOverButThePreviousStepsKeyDoesNot)
{
    Load(Cheat("Code", {"A", "B", "C"}));
    EXPECT_EQ(Type({A, B, X, C}), 0);
    EXPECT_EQ(Type({A, X, B, C}), 0);
    EXPECT_EQ(Type({A, B, B, C}), 1);
    EXPECT_EQ(Type({A, A, B, C}), 1);
    // A mouse click is a key like any other here.
    EXPECT_EQ(Type({A, B, 0, C}), 0);
}

TEST_F(CheatSystemTest, ALastReleaseStepOrADisabledCodeNeverTriggers)
{
    Load(Cheat("Code", {"A", "B", "B^"}) + ", " + Cheat("Off", {"A", "B"}, 1.0f, true));
    int frames = 0;
    for (int round = 0; round < 3; ++round)
        frames += Type({A, B});
    frames += Frame({A, B}) + Frame({}, {A, B}) + Frame();
    EXPECT_EQ(frames, 0);
    EXPECT_EQ(Type({A, B}, "Off"), 0);
    EXPECT_EQ(_cheats.Codes().at("Off")._progress, 0u);
}

TEST_F(CheatSystemTest, TheEnginesCheatsTakeEffectInTheFrameTheyComplete)
{
    Load(Cheat("Toggle Lights", {"L"}) + ", " + Cheat("Free Cam", {"F"}) + ", " + Cheat("Disco", {"D"}) + ", " +
         Cheat("Close", {"Q"}) + ", " + Cheat("Konami", {"K"}));
    ASSERT_FALSE(RenderState::AreLightsDisabled());
    Frame({'L'}, {}, 0.1f, "Toggle Lights");
    EXPECT_TRUE(RenderState::AreLightsDisabled());
    EXPECT_TRUE(OptionSystem::Debug().disableLights) << "saved with the options";
    Frame({}, {'L'});
    Frame({}, {}, 1.0f); // letting go of the only key counts as a step until the delay runs out
    Frame({'L'});
    Frame({}, {'L'});
    EXPECT_FALSE(RenderState::AreLightsDisabled());

    Frame({'F'});
    EXPECT_TRUE(FreeCameraSwitch());
    EXPECT_TRUE(OptionSystem::Debug().freeCam);
    Frame({}, {'F'});
    EXPECT_TRUE(FreeCameraSwitch()) << "flipped once per completion";

    Frame({'D'});
    Frame({}, {'D'});
    EXPECT_EQ(test::Count(test::ReadTrace(), "PARTY!!!"), 1u);

    for (int key : {'Q', 'K'})
    {
        Engine::ResetRunFlag();
        Frame({'X'});
        ASSERT_TRUE(Engine::IsRunning());
        Frame({key}, {'X'});
        EXPECT_FALSE(Engine::IsRunning()) << static_cast<char>(key);
        Frame({}, {key});
    }
}

TEST_F(CheatSystemTest, OtherCodeAsksThroughTheWiredQuery)
{
    Load(Cheat("God Mode", {"G"}));
    _input.HandleButton('G', InputSystem::kPress);
    _cheats.Update(0.1f);
    EXPECT_TRUE(Cheats::IsTriggered("God Mode"));
    EXPECT_FALSE(Cheats::IsTriggered("Monster Speed Up"));
    EXPECT_EQ(_cheats.Codes().count("Monster Speed Up"), 1u) << "asking adds an empty entry";
}

TEST_F(CheatSystemTest, ABadCheatIsReportedWithItsPathAndSkipped)
{
    CopyTestData("corpus");
    ASSERT_TRUE(_cheats.Init());
    ASSERT_EQ(_cheats.Codes().size(), 1u);
    EXPECT_EQ(_cheats.Codes().count("Fine"), 1u);
    const std::string trace = test::ReadTrace();
    const std::string file = "Data/Data/dat_cheat_codes.json: ";
    for (const std::string& line : {
             file + "/Named/Keys/1/key: a key must be an integer key code; the cheat is skipped",
             file + "/Negative/delaytime: the delay time must not be negative; the cheat is skipped",
             file + "/Wordy/delaytime: type must be number, but is string",
             file + "/Far/Keys/0/key: key code 400 is not a key or mouse button; the cheat is skipped",
             file + "/Flat/Keys: \"Keys\" must be an array of steps; the cheat is skipped",
             file + "/Switch/disabled: type must be boolean, but is string",
             file + "/Loose: a cheat must be a JSON object; skipped",
         })
        EXPECT_EQ(test::Count(trace, line), 1u) << line << "\n" << trace;

    // A file that is no object at all gives no cheats and says so.
    _cheats.Reset();
    _cheats.Load(json::array(), "list.json");
    EXPECT_TRUE(_cheats.Codes().empty());
    EXPECT_THAT(test::ReadTrace(), HasSubstr("list.json: the cheat file must be a JSON object; no cheats"));
}

TEST_F(CheatSystemTest, EveryShippedCheatIsThereAndCanBeTyped)
{
    CopyContent();
    ASSERT_TRUE(_cheats.Init());
    EXPECT_THAT(test::ReadTrace(), Not(HasSubstr("cheat_codes")));
    for (const char* name : {"Toggle Lights", "Close", "Konami", "Free Cam", "No Clip", "God Mode", "Infinite Traps",
                             "Disco", "Monster Speed Down", "Monster Speed Up", "Destroy Furniture", "Gather Heatmap"})
    {
        ASSERT_EQ(_cheats.Codes().count(name), 1u) << name;
        const CheatCode code = _cheats.Codes().at(name);
        EXPECT_FALSE(code._disabled) << name;
        EXPECT_GE(code._keys.size(), 4u) << name << ": short codes fire by accident in play";
        // A developer's typing: each key pressed and let go, a release step only lets go.
        int frames = 0;
        for (const CheatKey& step : code._keys)
        {
            if (step._release)
                frames += Frame({}, {step._key}, 0.1f, name);
            else
            {
                frames += Frame({step._key}, {}, 0.1f, name);
                if (&step + 1 != code._keys.data() + code._keys.size() && !(&step + 1)->_release)
                    frames += Frame({}, {step._key}, 0.1f, name);
            }
        }
        EXPECT_EQ(frames, 1) << name;
        Frame({}, {code._keys.back()._key});
        Engine::ResetRunFlag();
    }
}
