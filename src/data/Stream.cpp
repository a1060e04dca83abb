#include "data/Stream.h"

#include "core/Assert.h"
#include "data/DataPath.h"
#include "data/JsonError.h"

namespace
{
struct KindPath
{
    const char* prefix;
    const char* extension;
};

constexpr KindPath kKindPaths[] = {
    {"", ""},
    {"Data/Entity/", ".json"},
    {"Data/Level/", ".json"},
    {"Data/Data/dat_", ".json"},
    {"Data/Tilemap/", ".json"},
    {"Assets/Art/", ".json"},
    {"Assets/Sound/", ".json"},
    {"Data/Particles/", ".json"},
    {"Data/Heatmaps/", ".json"},
    {"Data/Static/", ".json"},
};
} // namespace

std::string Stream::GetPath(const std::string& name, unsigned kind)
{
    if (kind >= std::size(kKindPaths))
        return {};
    return std::string(kKindPaths[kind].prefix) + name + kKindPaths[kind].extension;
}

Stream::Stream(const std::string& name, unsigned kind) : _path(GetPath(name, kind))
{
    // Names of a kind come from data; one that would leave the content root reads as
    // missing. Raw paths are the program's own or named on the command line.
    if (!_path.empty() && (kind == RawPath || IsContainedPath(name)))
        _file.open(_path);
}

bool Stream::IsOpen() const
{
    return _file.good() && _file.is_open();
}

const json& Stream::GetJson()
{
    GLOAMER_ASSERT(_parsed || IsOpen(), "(this->operator bool()) && \"This stream does not contain a file\"");
    if (!_parsed)
    {
        _parsed = true;
        try
        {
            _json = json::parse(_file);
            _valid = true;
        }
        catch (const json::exception& e)
        {
            ReportJsonError(_path, e);
            _json = nullptr;
        }
    }
    return _json;
}

bool Stream::HasJson()
{
    if (!_parsed && IsOpen())
        GetJson();
    return _valid;
}
