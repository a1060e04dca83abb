// Plays one sound of the content's sound table through the game's own sound system.
//   gloamer_playsound [--data DIR] [--seconds S] [--master V] NAME
// Without --seconds it plays until the sound ends. To record instead of listening:
//   ALSOFT_DRIVERS=wave ALSOFT_CONF=conf gloamer_playsound heartbeat
// with conf holding "[wave]" and "file=/path/out.wav".

#include "audio/Sound.h"
#include "audio/SoundSystem.h"

#include <chrono>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>

namespace
{
int Usage()
{
    std::cerr << "usage: gloamer_playsound [--data DIR] [--seconds S] [--master V] NAME\n";
    return 2;
}
} // namespace

int main(int argc, char** argv)
{
    std::string data = ".";
    std::string name;
    double seconds = -1.0;
    float master = 1.0f;
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        try
        {
            if (arg == "--data" && hasValue)
                data = argv[++i];
            else if (arg == "--seconds" && hasValue)
                seconds = std::stod(argv[++i]);
            else if (arg == "--master" && hasValue)
                master = std::stof(argv[++i]);
            else if (!arg.starts_with("--") && name.empty())
                name = arg;
            else
                return Usage();
        }
        catch (const std::exception&)
        {
            return Usage();
        }
    }
    if (name.empty())
        return Usage();

    std::error_code ec;
    std::filesystem::current_path(data, ec);
    if (ec)
    {
        std::cerr << "gloamer_playsound: cannot use content folder '" << data << "': " << ec.message() << "\n";
        return 1;
    }

    SoundSystem& system = SoundSystem::Instance();
    if (!system.Init())
        return 1;
    if (!system.HasName(name))
    {
        std::cerr << "gloamer_playsound: no sound named '" << name << "' in " << SoundSystem::kTablePath << "\n";
        system.Reset();
        return 1;
    }
    system.Volumes().masterVol = master;

    Sound sound;
    sound.Set(name, 1.0f, false, true);
    sound.Play();
    const auto start = std::chrono::steady_clock::now();
    for (;;)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        system.Update(0.01f);
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (seconds >= 0.0 ? elapsed >= seconds : !sound.IsPlaying())
            break;
    }
    sound.Stop();
    // A stop fades out; the device stays open until that has reached the output.
    const auto stopped = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - stopped < std::chrono::milliseconds(150))
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        system.Update(0.01f);
    }
    // The content's table is left as it is: nothing here changed it.
    system.Reset();
    return 0;
}
