#pragma once

#include <nlohmann/json.hpp>

#include <fstream>
#include <string>

using json = nlohmann::json;

// Where a data name lives: the kind picks the folder prefix and the extension.
enum DataKind : unsigned
{
    RawPath = 0,
    EntityFile = 1,
    LevelFile = 2,
    DataFile = 3,
    TilemapFile = 4,
    ArtFile = 5,
    SoundFile = 6,
    ParticlesFile = 7,
    HeatmapFile = 8,
    StaticFile = 9,
};

// One data file, opened by name and kind and parsed on first request.
class Stream
{
public:
    // A name of any kind but RawPath that is absolute or holds ".." is not opened.
    Stream(const std::string& name, unsigned kind);

    // Prefix + name + extension; a kind above 9 gives an empty path.
    static std::string GetPath(const std::string& name, unsigned kind);

    bool IsOpen() const;
    explicit operator bool() const { return IsOpen(); }

    // The parsed file, parsed once. A file that is not valid JSON is reported once
    // (path and parser message) and reads as null, so callers see no keys and keep
    // their defaults; HasJson() tells the two apart.
    const json& GetJson();
    bool HasJson();

    const std::string& Path() const { return _path; }

private:
    bool _parsed = false;
    bool _valid = false;
    std::ifstream _file;
    json _json;
    std::string _path;
};
