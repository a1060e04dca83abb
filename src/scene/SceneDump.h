#pragma once

#include <nlohmann/json_fwd.hpp>

#include <string>

class SceneSystem;

// The state of every live scene at one moment, for tests that replay a run and compare:
// {"frame": n, "scenes": [{"name", "paused", and what Scene::Write gives}, ...]} in the
// scene system's order.
nlohmann::json DumpScenes(const SceneSystem& scenes, long long frame);

// Writes DumpScenes as indented JSON, atomically. False (and reported) on failure.
bool WriteSceneDump(const SceneSystem& scenes, long long frame, const std::string& path);
