#include "audio/SoundSystem.h"
#include "core/LaunchOptions.h"
#include "core/MainLoop.h"
#include "core/MessageSystem.h"
#include "scene/SceneSystem.h"
#include "ui/OptionSystem.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
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

    const std::vector<System*> systems = {
        &SoundSystem::Instance(),
        &SceneSystem::Instance(),
        &OptionSystem::Instance(),
        &MessageSystem::Instance(),
    };

    Engine::LoopOptions loop;
    loop.frames = options.frames;
    loop.fixedDt = options.fixedDt;
    // Nothing presents frames with vsync yet, so keep a real-time run at 60 Hz.
    loop.paceHz = 60.0;
    return Engine::RunMainLoop(systems, loop);
}
