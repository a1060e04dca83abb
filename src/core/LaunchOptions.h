#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// Command-line flags for developers and the test harness. With none, the game runs
// as a player expects: real clock, random seed, content beside the executable.
struct LaunchOptions
{
    long long frames = -1;
    float fixedDt = -1.0f;
    std::optional<unsigned> seed;
    std::string dataDir; // empty: the executable's folder
    std::string scene;   // empty: the game's first scene
    bool headless = false;
    bool windowed = false;
    std::string inputFile;                        // scripted input
    std::map<long long, std::string> screenshots; // frame -> PNG path
    std::map<long long, std::string> dumps;       // frame -> JSON path of the live scenes
    bool help = false;
    bool version = false;
};

struct LaunchParse
{
    LaunchOptions options;
    std::string error; // non-empty when the command line is not valid
};

LaunchParse ParseLaunchOptions(const std::vector<std::string>& args);
std::string LaunchUsage();
