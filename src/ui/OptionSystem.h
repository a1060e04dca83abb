#pragma once

#include "core/System.h"
#include "data/FieldDescriptor.h"

#include <string>

// The player's settings outside sound (the sound volumes live in the sound system).
struct GraphicsOptions
{
    int resolution = 4;
    int windowMode = 1; // 1 fullscreen, 0 windowed
    bool vSync = false;
};

struct GameplayOptions
{
    bool disableTooltips = false;
    bool disableFlashing = false;
};

struct DebugOptions
{
    bool freeCam = false;
    bool disableLights = false;
    bool godMode = false;
    bool infiniteTraps = false;
};

// Loads the player's settings from "Data/Data/dat_options.json" at start, applies the
// "Toggle Audio" and "Toggle Window" messages and the options menu's volume steps
// ("Master Volume Up", "Music Volume Down", "Effects Volume Up", ...), and saves the
// settings at exit.
class OptionSystem : public System
{
public:
    // Switches the window between fullscreen (1) and windowed (0).
    using WindowModeFn = void (*)(int mode);

    OptionSystem() : System("OptionSystem") {}

    static OptionSystem& Instance();

    bool Init() override;
    void Update(float dt) override;
    void Exit() override;

    // Mutes or restores all sound; no volume value changes.
    void ToggleAudio();
    // Flips between fullscreen and windowed and tells the window.
    void ToggleWindow();

    // The menu's volume step: `steps` tenths up or down, kept within [0, 1].
    static float StepVolume(float volume, int steps);

    // Stands in for the window system's SetWindowMode (tests); null restores it.
    static void SetWindowModeFunction(WindowModeFn fn);

    static GraphicsOptions& Graphics();
    static GameplayOptions& Gameplay();
    static DebugOptions& Debug();

    // The options file contents for the current values.
    static json ToJson();
    // Every value back to its default; for tests.
    static void Reset();

    static std::string FilePath();
};
