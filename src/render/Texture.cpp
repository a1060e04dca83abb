#include "render/Texture.h"

#include "core/Trace.h"
#include "data/DataPath.h"
#include "render/GlState.h"

#include <glad/gl.h>
#include <stb_image.h>

#include <cstdio>
#include <map>
#include <utility>

namespace
{
using CacheKey = std::pair<std::string, unsigned>;

std::map<CacheKey, std::shared_ptr<Texture>>& Cache()
{
    static std::map<CacheKey, std::shared_ptr<Texture>> cache;
    return cache;
}

bool IsFilter(unsigned filter)
{
    return filter == GL_NEAREST || filter == GL_LINEAR;
}
} // namespace

std::shared_ptr<Texture> Texture::Load(const std::string& path, unsigned filter)
{
    auto& cache = Cache();
    const CacheKey key{path, filter};
    if (auto it = cache.find(key); it != cache.end())
        return it->second;
    auto texture = std::make_shared<Texture>(path, filter);
    cache.emplace(key, texture);
    return texture;
}

void Texture::ClearCache()
{
    Cache().clear();
}

std::size_t Texture::CacheSize()
{
    return Cache().size();
}

Texture::Texture(std::string path, unsigned filter) : _path(std::move(path)), _filter(filter)
{
    // A name that leaves the content root was reported where it was read.
    if (!GlState::IsLive() || !IsContainedPath(_path))
        return;

    std::FILE* file = std::fopen(_path.c_str(), "rb");
    if (!file)
    {
        Trace::Error(_path + ": cannot load texture: can't fopen");
        return;
    }
    int channels = 0;
    // Asked before decoding, so a huge image costs no memory and never reaches the driver.
    const int limit = GlState::MaxTextureSize();
    if (stbi_info_from_file(file, &_width, &_height, &channels) && (_width > limit || _height > limit))
    {
        std::fclose(file);
        Trace::Error(_path + ": image of " + std::to_string(_width) + " x " + std::to_string(_height) +
                     " is larger than the texture limit of " + std::to_string(limit) + "; drawn untextured");
        _width = _height = 0;
        return;
    }
    unsigned char* pixels = stbi_load_from_file(file, &_width, &_height, &channels, 4);
    std::fclose(file);
    if (!pixels)
    {
        Trace::Error(_path + ": cannot load texture: " + stbi_failure_reason());
        _width = _height = 0;
        return;
    }
    // A filter GL does not accept for both minification and magnification would leave
    // the texture incomplete (it would sample black); fall back to linear.
    if (!IsFilter(_filter))
    {
        Trace::Error(_path + ": texture filter " + std::to_string(_filter) + " is not 9728 or 9729, using 9729");
        _filter = GL_LINEAR;
    }

    glGenTextures(1, &_name);
    GlState::BindTexture(_name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, _width, _height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(_filter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(_filter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_MIRRORED_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_MIRRORED_REPEAT);
    GlState::BindTexture(0);
    stbi_image_free(pixels);
}

std::vector<bool> Texture::OpaqueCells(unsigned cols, unsigned rows) const
{
    std::vector<bool> opaque;
    if (_name == 0 || !GlState::IsLive() || _filter != GL_NEAREST || cols == 0 || rows == 0)
        return opaque;
    std::vector<unsigned char> pixels(static_cast<std::size_t>(_width) * static_cast<std::size_t>(_height) * 4u);
    GlState::BindTexture(_name);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    GlState::BindTexture(0);
    const auto w = static_cast<unsigned>(_width);
    const auto h = static_cast<unsigned>(_height);
    opaque.assign(static_cast<std::size_t>(cols) * rows, true);
    for (unsigned cell = 0; cell < cols * rows; ++cell)
    {
        const unsigned c = cell % cols;
        const unsigned r = cell / cols;
        // Every texel a cell's quad may sample, including those its edges cut through.
        const unsigned x0 = c * w / cols;
        const unsigned x1 = ((c + 1) * w + cols - 1) / cols;
        const unsigned y0 = r * h / rows;
        const unsigned y1 = ((r + 1) * h + rows - 1) / rows;
        for (unsigned y = y0; y < y1 && opaque[cell]; ++y)
            for (unsigned x = x0; x < x1; ++x)
                if (pixels[(static_cast<std::size_t>(y) * w + x) * 4u + 3u] != 255)
                {
                    opaque[cell] = false;
                    break;
                }
    }
    return opaque;
}

Texture::~Texture()
{
    if (_name != 0 && GlState::IsLive())
    {
        GlState::ForgetTexture(_name);
        glDeleteTextures(1, &_name);
    }
}
