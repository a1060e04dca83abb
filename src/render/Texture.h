#pragma once

#include <memory>
#include <string>
#include <vector>

// A 2D RGBA texture decoded from a PNG file. Sprites that name the same file and filter
// share one texture through the cache. A file that cannot be read, or an image larger
// than the driver's texture limit, is reported once and gives an empty texture (name 0),
// which draws as untextured.
class Texture
{
public:
    static constexpr unsigned kLinear = 0x2601;

    // From the cache, loading on first request.
    static std::shared_ptr<Texture> Load(const std::string& path, unsigned filter);
    static void ClearCache();
    static std::size_t CacheSize();

    Texture(std::string path, unsigned filter);
    ~Texture();

    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    unsigned GetName() const { return _name; }
    const std::string& GetPath() const { return _path; }
    unsigned GetFilter() const { return _filter; }
    int GetWidth() const { return _width; }
    int GetHeight() const { return _height; }

    // For a sheet of cols x rows cells (cell i at column i % cols, row i / cols from the
    // image's top), whether every pixel of the cell is fully opaque, read back from the
    // driver. Empty without a texture, and under linear filtering, which blends a cell's
    // edge with its neighbours.
    std::vector<bool> OpaqueCells(unsigned cols, unsigned rows) const;

private:
    unsigned _name = 0;
    std::string _path;
    unsigned _filter;
    int _width = 0;
    int _height = 0;
};
