#pragma once

#include <nlohmann/json_fwd.hpp>

#include <string_view>

// File names read from data are relative to the content root and may not leave it: an
// absolute name or one with a ".." part could open any file the player can read.
bool IsContainedPath(std::string_view path);

// True when `path` stays inside the content root. Otherwise reports
// "file: /json/path: ... leaves the content folder; treated as missing" once, naming
// the JSON value it came from, and returns false.
bool CheckDataPath(std::string_view path, std::string_view file, const nlohmann::json& at);
