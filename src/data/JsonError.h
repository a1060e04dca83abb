#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

// "file: /json/path: message" for a JSON library error, without the library's
// "[json.exception...]" prefix. The path part appears when the error carries one.
std::string FormatJsonError(std::string_view file, const nlohmann::json::exception& error);

// Writes the formatted error to the trace log and standard error.
void ReportJsonError(std::string_view file, const nlohmann::json::exception& error);

// A data problem not raised by the JSON library: "file: /json/path: message".
void ReportDataError(std::string_view file, std::string_view jsonPath, std::string_view message);

// The JSON pointer of a value inside a parsed document ("/entities/3"), or "" when
// the library cannot tell.
std::string JsonPathOf(const nlohmann::json& value);
