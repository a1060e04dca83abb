#include "data/DataPath.h"

#include "data/JsonError.h"

#include <nlohmann/json.hpp>

#include <string>

bool IsContainedPath(std::string_view path)
{
    // Backslashes count as separators too, so "..\\x" written on another system is caught.
    if (path.empty() || path.front() == '/' || path.front() == '\\')
        return path.empty();
    std::size_t start = 0;
    while (start <= path.size())
    {
        std::size_t end = path.find_first_of("/\\", start);
        if (end == std::string_view::npos)
            end = path.size();
        if (path.substr(start, end - start) == "..")
            return false;
        start = end + 1;
    }
    return true;
}

bool CheckDataPath(std::string_view path, std::string_view file, const nlohmann::json& at)
{
    if (IsContainedPath(path))
        return true;
    ReportDataError(file, JsonPathOf(at),
                    "\"" + std::string(path) + "\" leaves the content folder; treated as missing");
    return false;
}
