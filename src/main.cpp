#include "Game.h"
#include "audio/SoundSystem.h"
#include "core/LaunchOptions.h"
#include "core/MainLoop.h"
#include "core/WindowSystem.h"
#include "input/InputSystem.h"
#include "scene/SceneDump.h"
#include "scene/SceneSystem.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <system_error>
#include <vector>

namespace
{
std::filesystem::path ExecutableFolder(const char* argv0)
{
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        exe = std::filesystem::absolute(argv0, ec);
    return exe.parent_path();
}

// Files named on the command line are relative to where the game was started, not
// to the content root it moves into.
std::string FromStartFolder(const std::string& path)
{
    if (path.empty())
        return path;
    std::error_code ec;
    return std::filesystem::absolute(path, ec).string();
}
} // namespace

int main(int argc, char** argv)
{
    const LaunchParse parse = ParseLaunchOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parse.error.empty())
    {
        std::cerr << "gloamer: " << parse.error << "\n" << LaunchUsage();
        return 2;
    }
    const LaunchOptions& options = parse.options;
    if (options.help)
    {
        std::cout << LaunchUsage();
        return 0;
    }
    if (options.version)
    {
        std::cout << "gloamer " << GLOAMER_VERSION << "\n";
        return 0;
    }

    WindowOptions window;
    window.headless = options.headless;
    window.windowed = options.windowed;
    for (const auto& [frame, path] : options.screenshots)
        window.screenshots[frame] = FromStartFolder(path);
    if (options.headless && !window.screenshots.empty())
    {
        std::cerr << "gloamer: --screenshot needs a window; it cannot be used with --headless\n";
        return 2;
    }
    WindowSystem::Instance().Configure(std::move(window));
    InputSystem::Instance().SetScriptFile(FromStartFolder(options.inputFile));
    Game::Wire(options.fixedDt < 0.0f);

    std::map<long long, std::string> dumps;
    for (const auto& [frame, path] : options.dumps)
        dumps[frame] = FromStartFolder(path);

    // Every data path is relative to the content root, and the trace log is written there.
    const std::filesystem::path root =
        options.dataDir.empty() ? ExecutableFolder(argv[0]) : std::filesystem::path(options.dataDir);
    std::error_code ec;
    std::filesystem::current_path(root, ec);
    if (ec)
    {
        std::cerr << "gloamer: cannot use content folder '" << root.string() << "': " << ec.message() << "\n";
        return 1;
    }

    if (options.seed)
        std::srand(*options.seed);

    SoundSystem::Instance().SetHeadless(options.headless);

    if (!options.scene.empty())
        SceneSystem::Instance().ChangeScene(options.scene, false);

    const std::vector<System*> systems = Game::Systems();

    Engine::LoopOptions loop;
    loop.frames = options.frames;
    loop.fixedDt = options.fixedDt;
    // Real-time runs keep 60 Hz themselves where vsync holds nothing back: headless,
    // or on a virtual display.
    loop.paceHz = 60.0;
    loop.displayPaces = [] { return WindowSystem::Instance().DisplayHoldsFrames(); };
    if (!dumps.empty())
        loop.endOfFrame = [&dumps](long long frame)
        {
            if (auto it = dumps.find(frame); it != dumps.end())
            {
                WriteSceneDump(SceneSystem::Instance(), frame, it->second);
                dumps.erase(it);
            }
        };

    const int status = Engine::RunMainLoop(systems, loop);
    for (const auto& [frame, path] : dumps)
        std::cerr << "gloamer: " << path << ": no dump, frame " << frame << " was never reached\n";
    return status;
}
