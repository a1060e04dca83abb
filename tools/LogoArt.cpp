// Paints the title logo: the game's name in pale, worn letters with blood running from
// their lower edges and a faint red glow, on a transparent background.
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include "FontFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{
constexpr int kWidth = 1024;
constexpr int kHeight = 320;
constexpr const char* kTitle = "GLOAMER";

using Plane = std::vector<float>;

float& At(Plane& p, int x, int y)
{
    return p[static_cast<std::size_t>(y * kWidth + x)];
}

Plane Blur(const Plane& in, int radius)
{
    Plane a = in, b = in;
    for (int pass = 0; pass < 3; ++pass)
    {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
            {
                float sum = 0.0f;
                for (int k = -radius; k <= radius; ++k)
                    sum += a[static_cast<std::size_t>(y * kWidth + std::clamp(x + k, 0, kWidth - 1))];
                At(b, x, y) = sum / static_cast<float>(2 * radius + 1);
            }
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
            {
                float sum = 0.0f;
                for (int k = -radius; k <= radius; ++k)
                    sum += b[static_cast<std::size_t>(std::clamp(y + k, 0, kHeight - 1) * kWidth + x)];
                At(a, x, y) = sum / static_cast<float>(2 * radius + 1);
            }
    }
    return a;
}

float Random()
{
    return static_cast<float>(std::rand()) / static_cast<float>(RAND_MAX);
}
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
    std::srand(1313);

    // Letters, widely spaced, centred.
    const float scale = stbtt_ScaleForPixelHeight(&info, 170.0f);
    const int tracking = 18;
    int textWidth = 0;
    for (const char* c = kTitle; *c; ++c)
    {
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(&info, *c, &advance, &bearing);
        textWidth += static_cast<int>(advance * scale) + (c[1] ? tracking : 0);
    }
    int ascent = 0, descent = 0, gap = 0;
    stbtt_GetFontVMetrics(&info, &ascent, &descent, &gap);
    const int baseline = 70 + static_cast<int>(ascent * scale * 0.78f);

    Plane letters(kWidth * kHeight, 0.0f);
    std::vector<unsigned char> glyph;
    int penX = (kWidth - textWidth) / 2;
    for (const char* c = kTitle; *c; ++c)
    {
        int x0, y0, x1, y1, advance, bearing;
        stbtt_GetCodepointBitmapBox(&info, *c, scale, scale, &x0, &y0, &x1, &y1);
        stbtt_GetCodepointHMetrics(&info, *c, &advance, &bearing);
        const int w = x1 - x0, h = y1 - y0;
        glyph.assign(static_cast<std::size_t>(w * h), 0);
        stbtt_MakeCodepointBitmap(&info, glyph.data(), w, h, w, scale, scale, *c);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
            {
                const int px = penX + x0 + x, py = baseline + y0 + y;
                if (px >= 0 && py >= 0 && px < kWidth && py < kHeight)
                    At(letters, px, py) =
                        std::max(At(letters, px, py), glyph[static_cast<std::size_t>(y * w + x)] / 255.0f);
            }
        penX += static_cast<int>(advance * scale) + tracking;
    }

    // Blood runs down from the lowest inked pixel of some columns.
    Plane blood(kWidth * kHeight, 0.0f);
    for (int x = 2; x < kWidth - 2; x += 3)
    {
        int bottom = -1;
        for (int y = kHeight - 1; y >= 0 && bottom < 0; --y)
            if (At(letters, x, y) > 0.8f)
                bottom = y;
        if (bottom < 0 || Random() > 0.16f)
            continue;
        const int length = static_cast<int>(12 + Random() * Random() * 110);
        const float radius = 1.6f + Random() * 2.2f;
        for (int y = bottom - 4; y < std::min(bottom + length, kHeight - 8); ++y)
        {
            const float t = static_cast<float>(y - bottom) / static_cast<float>(length);
            const float r = radius * (1.0f - 0.45f * std::max(t, 0.0f));
            for (int dx = -4; dx <= 4; ++dx)
            {
                const float d = std::abs(static_cast<float>(dx)) - r;
                const int px = std::clamp(x + dx, 0, kWidth - 1);
                At(blood, px, y) = std::max(At(blood, px, y), std::clamp(1.0f - d, 0.0f, 1.0f));
            }
        }
        // A drop gathers at the end of the run.
        const int end = std::min(bottom + length, kHeight - 8);
        for (int dy = -6; dy <= 6; ++dy)
            for (int dx = -6; dx <= 6; ++dx)
            {
                const float d = std::sqrt(static_cast<float>(dx * dx + dy * dy)) - radius * 1.5f;
                const int px = std::clamp(x + dx, 0, kWidth - 1), py = std::clamp(end + dy, 0, kHeight - 1);
                At(blood, px, py) = std::max(At(blood, px, py), std::clamp(1.0f - d, 0.0f, 1.0f));
            }
    }

    Plane glow = Blur(letters, 9);
    std::vector<unsigned char> rgba(static_cast<std::size_t>(kWidth * kHeight * 4));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            // Worn letters: speckles eaten out of the ink, a little darker at the foot.
            const float wear = Random() < 0.06f ? 0.35f : 1.0f;
            const float ink = At(letters, x, y) * wear;
            const float foot = std::clamp((static_cast<float>(y) - 90.0f) / 160.0f, 0.0f, 1.0f);
            const float b = At(blood, x, y);
            const float g = std::min(At(glow, x, y) * 0.9f, 0.55f);

            float r = 0.45f, gr = 0.02f, bl = 0.03f, a = g; // glow
            r = r * (1 - b) + 0.42f * b;
            gr *= (1 - b);
            bl = bl * (1 - b) + 0.02f * b;
            a = std::max(a, b); // blood
            const float bone[3] = {0.86f - 0.25f * foot, 0.82f - 0.30f * foot, 0.74f - 0.32f * foot};
            r = r * (1 - ink) + bone[0] * ink;
            gr = gr * (1 - ink) + bone[1] * ink;
            bl = bl * (1 - ink) + bone[2] * ink;
            a = std::max(a, ink);

            unsigned char* out = &rgba[static_cast<std::size_t>((y * kWidth + x) * 4)];
            out[0] = static_cast<unsigned char>(std::clamp(r, 0.0f, 1.0f) * 255.0f);
            out[1] = static_cast<unsigned char>(std::clamp(gr, 0.0f, 1.0f) * 255.0f);
            out[2] = static_cast<unsigned char>(std::clamp(bl, 0.0f, 1.0f) * 255.0f);
            out[3] = static_cast<unsigned char>(std::clamp(a, 0.0f, 1.0f) * 255.0f);
        }

    if (!stbi_write_png(argv[2], kWidth, kHeight, 4, rgba.data(), kWidth * 4))
    {
        std::fprintf(stderr, "%s: cannot write\n", argv[2]);
        return 1;
    }
    return 0;
}
