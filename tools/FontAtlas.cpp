// Renders the printable ASCII characters of a TrueType font into the fixed-grid font
// atlas the sprites draw text from: 16 columns by 6 rows, cell 0 is the space (code 32),
// white glyphs whose alpha is the coverage.
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include "FontFile.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{
constexpr int kCols = 16;
constexpr int kRows = 6;
constexpr int kCellW = 48;
constexpr int kCellH = 64;
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: %s FONT.ttf OUT.png\n", argv[0]);
        return 2;
    }
    std::vector<unsigned char> font;
    stbtt_fontinfo info;
    if (!LoadFontFile(argv[1], font, info))
        return 1;

    const int width = kCols * kCellW;
    const int height = kRows * kCellH;
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width * height * 4), 0);

    // Fit the widest glyph into the cell width and the full ascent-descent into its height.
    int ascent = 0, descent = 0, gap = 0;
    stbtt_GetFontVMetrics(&info, &ascent, &descent, &gap);
    int advance = 0, bearing = 0;
    stbtt_GetCodepointHMetrics(&info, 'M', &advance, &bearing);
    const float scale =
        std::min(0.86f * kCellH / static_cast<float>(ascent - descent), 0.92f * kCellW / static_cast<float>(advance));
    const int baseline = static_cast<int>((kCellH - (ascent - descent) * scale) * 0.5f + ascent * scale);

    std::vector<unsigned char> glyph(static_cast<std::size_t>(kCellW * kCellH));
    for (int code = 33; code < 127; ++code)
    {
        const int cell = code - 32;
        const int cx = (cell % kCols) * kCellW;
        const int cy = (cell / kCols) * kCellH;
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        stbtt_GetCodepointBitmapBox(&info, code, scale, scale, &x0, &y0, &x1, &y1);
        stbtt_GetCodepointHMetrics(&info, code, &advance, &bearing);
        const int left = (kCellW - static_cast<int>(advance * scale)) / 2 + x0;
        const int top = baseline + y0;
        const int w = std::min(x1 - x0, kCellW);
        const int h = std::min(y1 - y0, kCellH);
        std::fill(glyph.begin(), glyph.end(), 0);
        stbtt_MakeCodepointBitmap(&info, glyph.data(), w, h, kCellW, scale, scale, code);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
            {
                const int px = left + x;
                const int py = top + y;
                if (px < 0 || py < 0 || px >= kCellW || py >= kCellH)
                    continue;
                unsigned char* out = &rgba[static_cast<std::size_t>(((cy + py) * width + cx + px) * 4)];
                out[0] = out[1] = out[2] = 255;
                out[3] = glyph[static_cast<std::size_t>(y * kCellW + x)];
            }
    }
    // Transparent pixels stay white so linear filtering does not darken glyph edges.
    for (std::size_t i = 0; i < rgba.size(); i += 4)
        rgba[i] = rgba[i + 1] = rgba[i + 2] = 255;

    if (!stbi_write_png(argv[2], width, height, 4, rgba.data(), width * 4))
    {
        std::fprintf(stderr, "%s: cannot write\n", argv[2]);
        return 1;
    }
    return 0;
}
