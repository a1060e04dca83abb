#include "e2e/GameRun.h"

#include "TestSupport.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <cstdlib>
#include <memory>
#include <sys/wait.h>

namespace e2e
{
std::string Click(int frame, float x, float y)
{
    const std::string at =
        R"("cursor": {"x": )" + std::to_string(960.0f + x) + R"(, "y": )" + std::to_string(540.0f - y) + "}";
    return R"({"frame": )" + std::to_string(frame) + ", " + at + R"(}, {"frame": )" + std::to_string(frame + 2) +
           R"(, "press": [0]}, {"frame": )" + std::to_string(frame + 4) + R"(, "release": [0]})";
}

std::string Key(int frame, int code, int hold)
{
    return R"({"frame": )" + std::to_string(frame) + R"(, "press": [)" + std::to_string(code) + R"(]}, {"frame": )" +
           std::to_string(frame + hold) + R"(, "release": [)" + std::to_string(code) + "]}";
}

std::string Script(const std::vector<std::string>& steps)
{
    std::string script = "[";
    for (const std::string& step : steps)
        script += (script.size() > 1 ? ", " : "") + step;
    return script + "]";
}

std::string DumpFlags(const std::vector<int>& frames, const std::string& prefix)
{
    std::string flags;
    for (const int f : frames)
        flags += " --dump " + std::to_string(f) + ":" + prefix + std::to_string(f) + ".json";
    return flags;
}

nlohmann::json ReadDump(const std::filesystem::path& file)
{
    return nlohmann::json::parse(test::ReadFile(file), nullptr, false);
}

std::vector<std::string> SceneNames(const nlohmann::json& dump)
{
    std::vector<std::string> names;
    for (const nlohmann::json& scene : dump.at("scenes"))
        names.push_back(scene.at("name").get<std::string>());
    return names;
}

const nlohmann::json* FindScene(const nlohmann::json& dump, const std::string& name)
{
    for (const nlohmann::json& scene : dump.at("scenes"))
        if (scene.value("name", "") == name)
            return &scene;
    return nullptr;
}

bool HasScene(const nlohmann::json& dump, const std::string& name)
{
    return FindScene(dump, name) != nullptr;
}

nlohmann::json FindEntity(const nlohmann::json& scene, const std::string& name)
{
    for (const nlohmann::json& e : scene.at("entities"))
        if (e.value("name", "") == name)
            return e;
    return {};
}

nlohmann::json FindEntity(const nlohmann::json& dump, const std::string& scene, const std::string& name)
{
    const nlohmann::json* s = FindScene(dump, scene);
    return s ? FindEntity(*s, name) : nlohmann::json();
}

int CountPixels(const std::filesystem::path& file, int x0, int y0, int x1, int y1,
                const std::function<bool(const unsigned char*)>& test)
{
    int width = 0, height = 0, channels = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> shot(stbi_load(file.c_str(), &width, &height, &channels, 4),
                                                         &stbi_image_free);
    EXPECT_NE(shot, nullptr) << file;
    if (!shot)
        return 0;
    EXPECT_EQ(width, 1920) << file;
    EXPECT_EQ(height, 1080) << file;
    if (width != 1920 || height != 1080)
        return 0;
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            count += test(shot.get() + (y * width + x) * 4) ? 1 : 0;
    return count;
}

int RunGame(const std::string& arguments, const std::string& output, int* signal)
{
    const std::string command = std::string(GLOAMER_GAME_BINARY) + " " + arguments + " >" + output + " 2>&1";
    const int status = std::system(command.c_str());
    // The shell reports a signal that ended its child as 128 plus its number.
    int killedBy = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    if (WIFEXITED(status) && WEXITSTATUS(status) > 128)
        killedBy = WEXITSTATUS(status) - 128;
    if (signal)
        *signal = killedBy;
    return WIFEXITED(status) && killedBy == 0 ? WEXITSTATUS(status) : -1;
}
} // namespace e2e
