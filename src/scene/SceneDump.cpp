#include "scene/SceneDump.h"

#include "core/AtomicFile.h"
#include "core/Trace.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <nlohmann/json.hpp>

nlohmann::json DumpScenes(const SceneSystem& scenes, long long frame)
{
    nlohmann::json list = nlohmann::json::array();
    for (const auto& scene : scenes.GetScenes())
    {
        nlohmann::json j = nlohmann::json::object();
        scene->Write(j);
        j["name"] = scene->GetName();
        j["paused"] = scene->IsPaused();
        list.push_back(std::move(j));
    }
    return {{"frame", frame}, {"scenes", std::move(list)}};
}

bool WriteSceneDump(const SceneSystem& scenes, long long frame, const std::string& path)
{
    if (!WriteFileAtomic(path, DumpScenes(scenes, frame).dump(2) + "\n"))
    {
        Trace::Error(path + ": could not write the dump of frame " + std::to_string(frame));
        return false;
    }
    Trace::Message("Dump of frame " + std::to_string(frame) + " written to " + path);
    return true;
}
