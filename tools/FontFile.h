#pragma once

// Shared by the art generators; each includes stb_truetype (with its implementation) first.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

// Reads the TrueType font at path into bytes and info; reports and returns false when
// the file is missing or not a font. bytes must outlive info.
inline bool LoadFontFile(const char* path, std::vector<unsigned char>& bytes, stbtt_fontinfo& info)
{
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (bytes.empty() || !stbtt_InitFont(&info, bytes.data(), stbtt_GetFontOffsetForIndex(bytes.data(), 0)))
    {
        std::fprintf(stderr, "%s: not a TrueType font\n", path);
        return false;
    }
    return true;
}
