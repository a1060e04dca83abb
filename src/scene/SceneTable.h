#pragma once

#include <memory>
#include <string>

class Scene;

// The scene for a requested name: a few names select the sandbox scene classes
// (compared exactly), every other name is the level file of that name.
std::unique_ptr<Scene> CreateScene(const std::string& requested);
// Whether the name selects one of the sandbox scene classes, which need no level file
// of that name.
bool IsSandboxScene(const std::string& requested);
