// Paints the particle: a soft round glow, white so each particle's own colour tints it,
// bright in a small core and fading to nothing at the edge so overlapping particles blend
// into lines of light.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    constexpr int kSize = 64;
    std::vector<unsigned char> pixels(kSize * kSize * 4);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
        {
            const float dx = (static_cast<float>(x) + 0.5f) / kSize * 2.0f - 1.0f;
            const float dy = (static_cast<float>(y) + 0.5f) / kSize * 2.0f - 1.0f;
            const float r = std::sqrt(dx * dx + dy * dy);
            // A gaussian halo plus a tight core, cut smoothly to zero at the rim.
            const float halo = std::exp(-r * r * 5.0f);
            const float core = std::exp(-r * r * 40.0f);
            const float rim = std::clamp((1.0f - r) * 4.0f, 0.0f, 1.0f);
            const float alpha = std::clamp((0.75f * halo + 0.5f * core) * rim, 0.0f, 1.0f);
            unsigned char* p = &pixels[static_cast<std::size_t>((y * kSize + x) * 4)];
            p[0] = p[1] = p[2] = 255;
            p[3] = static_cast<unsigned char>(std::lround(alpha * 255.0f));
        }
    if (!stbi_write_png(argv[1], kSize, kSize, 4, pixels.data(), kSize * 4))
    {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
