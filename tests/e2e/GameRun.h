#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// Scripted input and dump reading for runs of the real binary.
namespace e2e
{
// A click at a world point of an unmoved camera on the 1920 x 1080 screen: the cursor
// moves there, the button goes down two frames later and up two after.
std::string Click(int frame, float x, float y);
// A key pressed at `frame` and let go `hold` frames later.
std::string Key(int frame, int code, int hold = 2);
// The steps as one input file's text.
std::string Script(const std::vector<std::string>& steps);

// " --dump F:<prefix>F.json" for each frame F.
std::string DumpFlags(const std::vector<int>& frames, const std::string& prefix = "dump");
// A dump file parsed; a discarded value when it is missing or not JSON.
nlohmann::json ReadDump(const std::filesystem::path& file);

// The names of the live scenes of a dump, in order.
std::vector<std::string> SceneNames(const nlohmann::json& dump);
// The named scene of a dump, or null.
const nlohmann::json* FindScene(const nlohmann::json& dump, const std::string& name);
bool HasScene(const nlohmann::json& dump, const std::string& name);
// The first entity of that name in a dumped scene, or null JSON.
nlohmann::json FindEntity(const nlohmann::json& scene, const std::string& name);
// The first entity of that name in the named scene of a dump, or null JSON.
nlohmann::json FindEntity(const nlohmann::json& dump, const std::string& scene, const std::string& name);

// Pixels of a rectangle (y down) of a 1920 x 1080 screenshot that pass `test`; 0 for
// a missing screenshot or one of another size (both fail the test).
int CountPixels(const std::filesystem::path& file, int x0, int y0, int x1, int y1,
                const std::function<bool(const unsigned char*)>& test);

// Runs the game binary with its output in `output`; the exit status, or -1 with
// `signal` set when a signal ended it.
int RunGame(const std::string& arguments, const std::string& output = "output.txt", int* signal = nullptr);
} // namespace e2e
