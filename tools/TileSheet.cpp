// Paints the tile sheet of the building levels: 4 x 2 cells of 64 pixels.
//   0 empty (transparent)   1 floorboards      2 cracked floor tiles   3 wall top
//   4 wall with its face    5 damp wall top    6 stained floorboards   7 corridor runner
// Every cell wraps at its edges, so neighbouring tiles meet without seams.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace
{
constexpr int kCell = 64;
constexpr int kCols = 4;
constexpr int kRows = 2;
constexpr int kWidth = kCell * kCols;
constexpr int kHeight = kCell * kRows;

struct Colour
{
    float r, g, b, a;
};

Colour Mix(const Colour& p, const Colour& q, float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return {p.r + (q.r - p.r) * t, p.g + (q.g - p.g) * t, p.b + (q.b - p.b) * t, p.a + (q.a - p.a) * t};
}

Colour Shade(const Colour& c, float k)
{
    return {c.r * k, c.g * k, c.b * k, c.a};
}

float Hash(int x, int y, int seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                      static_cast<std::uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<float>((h ^ (h >> 16)) & 0xffffu) / 65535.0f;
}

// Smooth value noise with a lattice of `period` points per tile, wrapping at the tile edge.
float Noise(float x, float y, int period, int seed)
{
    const float fx = x / kCell * static_cast<float>(period);
    const float fy = y / kCell * static_cast<float>(period);
    const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
    const float tx = fx - static_cast<float>(x0), ty = fy - static_cast<float>(y0);
    const auto at = [&](int i, int j)
    { return Hash(((i % period) + period) % period, ((j % period) + period) % period, seed); };
    const float sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    const float top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx;
    const float bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx;
    return top + (bottom - top) * sy;
}

float Fractal(float x, float y, int seed)
{
    return 0.5f * Noise(x, y, 4, seed) + 0.3f * Noise(x, y, 8, seed + 1) + 0.2f * Noise(x, y, 16, seed + 2);
}

Colour Floorboards(int x, int y, int seed)
{
    const int plank = y / 16;
    const int ends = (static_cast<int>(Hash(plank, 0, seed) * kCell) + x) % kCell;
    const float tone = 0.8f + 0.35f * Hash(plank, ends < 32 ? 1 : 2, seed);
    const float grain = Noise(static_cast<float>(x) * 0.25f, static_cast<float>(y) * 4.0f, 8, seed + plank);
    Colour wood = Shade({0.20f, 0.15f, 0.11f, 1.0f}, tone * (0.75f + 0.4f * grain));
    if (y % 16 == 0 || ends == 0)
        wood = Shade(wood, 0.35f); // gaps between boards
    else if (y % 16 == 1)
        wood = Shade(wood, 1.15f);
    const float nail = (ends == 3 || ends == 60) && (y % 16 == 4 || y % 16 == 12) ? 1.0f : 0.0f;
    return Mix(wood, {0.05f, 0.05f, 0.05f, 1.0f}, nail);
}

Colour FloorTiles(int x, int y)
{
    const float grime = Fractal(static_cast<float>(x), static_cast<float>(y), 21);
    Colour tile = Shade({0.15f, 0.16f, 0.15f, 1.0f}, 0.7f + 0.5f * grime);
    if (x % 32 == 0 || y % 32 == 0)
        tile = {0.05f, 0.05f, 0.045f, 1.0f}; // grout
    // A crack wandering across one tile.
    const float path = 40.0f + 14.0f * (Noise(static_cast<float>(x), 0.0f, 16, 9) - 0.5f) +
                       4.0f * (Noise(static_cast<float>(x), 0.0f, 32, 10) - 0.5f);
    if (x > 34 && x < 62 && std::fabs(static_cast<float>(y) - path) < 0.7f)
        tile = Shade(tile, 0.3f);
    return tile;
}

Colour WallTop(int x, int y, int seed)
{
    const float n = Fractal(static_cast<float>(x), static_cast<float>(y), seed);
    return Shade({0.075f, 0.07f, 0.08f, 1.0f}, 0.75f + 0.5f * n);
}

// The wall seen from the south: its top above, a pale lip, then brick courses sinking
// into shadow.
Colour WallFace(int x, int y)
{
    if (y < 38)
        return WallTop(x, y, 31);
    if (y < 41)
        return {0.22f, 0.2f, 0.2f, 1.0f};
    const int course = (y - 41) / 6;
    const int bx = (x + (course % 2) * 8) % 16;
    Colour brick = Shade({0.19f, 0.1f, 0.08f, 1.0f}, 0.7f + 0.5f * Hash(course, (x + (course % 2) * 8) / 16, 5));
    if ((y - 41) % 6 == 0 || bx == 0)
        brick = {0.06f, 0.05f, 0.05f, 1.0f};
    const float depth = static_cast<float>(y - 41) / 23.0f;
    return Shade(brick, 1.0f - 0.75f * depth);
}

// Wall tops beside the floor: the same stone, streaked with damp.
Colour WallRim(int x, int y)
{
    const float damp = Noise(static_cast<float>(x) * 0.5f, static_cast<float>(y) * 2.0f, 8, 43);
    return Shade(WallTop(x, y, 41), 0.8f + 0.3f * damp);
}

Colour Stained(int x, int y)
{
    const Colour boards = Floorboards(x, y, 61);
    const float dx = static_cast<float>(x) - 30.0f, dy = static_cast<float>(y) - 34.0f;
    const float edge =
        std::sqrt(dx * dx + dy * dy) - 20.0f - 9.0f * Noise(static_cast<float>(x), static_cast<float>(y), 8, 77);
    const float stain = std::clamp(-edge / 6.0f, 0.0f, 1.0f);
    return Mix(boards, {0.13f, 0.02f, 0.02f, 1.0f}, stain * 0.85f);
}

Colour Runner(int x, int y)
{
    const float wear = Fractal(static_cast<float>(x), static_cast<float>(y), 91);
    Colour cloth = Shade({0.13f, 0.04f, 0.045f, 1.0f}, 0.6f + 0.5f * wear);
    // A faded diamond pattern, worn away in patches.
    const int px = x % 16, py = y % 16;
    if (std::abs(px - 8) + std::abs(py - 8) == 6 && wear > 0.45f)
        cloth = Mix(cloth, {0.32f, 0.25f, 0.12f, 1.0f}, 0.6f);
    return cloth;
}

Colour Paint(int cell, int x, int y)
{
    switch (cell)
    {
    case 1:
        return Floorboards(x, y, 11);
    case 2:
        return FloorTiles(x, y);
    case 3:
        return WallTop(x, y, 31);
    case 4:
        return WallFace(x, y);
    case 5:
        return WallRim(x, y);
    case 6:
        return Stained(x, y);
    case 7:
        return Runner(x, y);
    default:
        return {0.0f, 0.0f, 0.0f, 0.0f};
    }
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
        return 2;
    }
    std::vector<unsigned char> rgba(static_cast<std::size_t>(kWidth * kHeight * 4));
    for (int cell = 0; cell < kCols * kRows; ++cell)
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
            {
                const Colour c = Paint(cell, x, y);
                const int px = (cell % kCols) * kCell + x, py = (cell / kCols) * kCell + y;
                unsigned char* out = &rgba[static_cast<std::size_t>((py * kWidth + px) * 4)];
                for (const float v : {c.r, c.g, c.b, c.a})
                    *out++ = static_cast<unsigned char>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f);
            }
    if (!stbi_write_png(argv[1], kWidth, kHeight, 4, rgba.data(), kWidth * 4))
    {
        std::fprintf(stderr, "%s: cannot write\n", argv[1]);
        return 1;
    }
    return 0;
}
