#include "data/JsonError.h"

#include "core/Trace.h"

std::string FormatJsonError(std::string_view file, const nlohmann::json::exception& error)
{
    std::string_view text = error.what();
    if (text.starts_with("[json.exception."))
    {
        const auto close = text.find("] ");
        if (close != std::string_view::npos)
            text.remove_prefix(close + 2);
    }

    std::string out(file);
    // With diagnostics on, the library puts the JSON path in parentheses first.
    if (text.starts_with("(/") || text.starts_with("() "))
    {
        const auto close = text.find(") ");
        if (close != std::string_view::npos)
        {
            std::string_view path = text.substr(1, close - 1);
            text.remove_prefix(close + 2);
            out += ": ";
            out += path.empty() ? "/" : path;
        }
    }
    out += ": ";
    out += text;
    return out;
}

void ReportJsonError(std::string_view file, const nlohmann::json::exception& error)
{
    Trace::Error(FormatJsonError(file, error));
}

void ReportDataError(std::string_view file, std::string_view jsonPath, std::string_view message)
{
    std::string out(file);
    if (!jsonPath.empty())
    {
        out += ": ";
        out += jsonPath;
    }
    out += ": ";
    out += message;
    Trace::Error(out);
}

std::string JsonPathOf(const nlohmann::json& value)
{
    // The library tracks parents only for its own diagnostics, so ask it for one.
    const auto probe = nlohmann::json::other_error::create(599, "", &value);
    std::string_view text = probe.what();
    const auto open = text.find("(/");
    if (open == std::string_view::npos)
        return {};
    const auto close = text.find(") ", open);
    if (close == std::string_view::npos)
        return {};
    return std::string(text.substr(open + 1, close - open - 1));
}
