// Paints the level's small objects on transparent backgrounds: the relic the player
// collects (a cracked standing stone with faint glowing marks), a puddle of glue and
// the two clay jugs (one glowing with embers, one with a blue spark inside), a rotting
// table seen from above, the splinters it breaks into, the old flash camera, a crate
// and a lamp's bulb. The crate and the bulb are pale so the level's tint colours them.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
constexpr int kSize = 128;

struct Rgba
{
    float r = 0, g = 0, b = 0, a = 0;
};

using Image = std::vector<Rgba>;

float Noise(int x, int y, unsigned seed)
{
    unsigned h = static_cast<unsigned>(x) * 374761393u + static_cast<unsigned>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<float>((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
}

// Smooth-edged coverage of a signed distance (negative inside).
float Cover(float distance)
{
    return std::clamp(0.5f - distance, 0.0f, 1.0f);
}

void Over(Rgba& dst, const Rgba& src)
{
    const float a = src.a + dst.a * (1.0f - src.a);
    if (a <= 0.0f)
        return;
    dst.r = (src.r * src.a + dst.r * dst.a * (1.0f - src.a)) / a;
    dst.g = (src.g * src.a + dst.g * dst.a * (1.0f - src.a)) / a;
    dst.b = (src.b * src.a + dst.b * dst.a * (1.0f - src.a)) / a;
    dst.a = a;
}

bool Save(const Image& image, const std::string& path)
{
    std::vector<unsigned char> bytes;
    bytes.reserve(image.size() * 4);
    for (const Rgba& p : image)
        for (float c : {p.r, p.g, p.b, p.a})
            bytes.push_back(static_cast<unsigned char>(std::lround(std::clamp(c, 0.0f, 1.0f) * 255.0f)));
    // Rows are written top first, so flip to keep +y up in the pictures below.
    std::vector<unsigned char> flipped(bytes.size());
    for (int y = 0; y < kSize; ++y)
        std::copy_n(&bytes[static_cast<std::size_t>((kSize - 1 - y) * kSize * 4)], kSize * 4,
                    &flipped[static_cast<std::size_t>(y * kSize * 4)]);
    return stbi_write_png(path.c_str(), kSize, kSize, 4, flipped.data(), kSize * 4) != 0;
}

Image Relic()
{
    Image img(kSize * kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
        {
            const float u = (x - 64.0f) / 40.0f, v = (y - 60.0f) / 58.0f;
            // A stone narrowing to a broken top.
            const float width = 1.0f - 0.35f * std::max(v, 0.0f) + 0.08f * (Noise(0, y / 6, 3) - 0.5f);
            const float top = 0.92f - 0.25f * std::abs(u) + 0.1f * Noise(x / 5, 0, 4);
            const float d = std::max((std::abs(u) - width) * 40.0f, (v - top) * 58.0f);
            const float inside = Cover(std::max(d, (-1.0f - v) * 58.0f));
            if (inside <= 0.0f)
                continue;
            const float grit = 0.75f + 0.25f * Noise(x, y, 1) * Noise(x / 3, y / 3, 2);
            Rgba stone{0.42f * grit, 0.4f * grit, 0.47f * grit, inside};
            // A jagged crack down the face.
            const float crack = std::abs(u - 0.15f * std::sin(v * 9.0f) - 0.05f * (Noise(0, y / 2, 9) - 0.5f));
            if (crack < 0.04f)
                stone = {0.1f, 0.08f, 0.12f, inside};
            // Violet marks, the brightest thing on it, so it reads in the dark.
            const float marks = std::sin(u * 11.0f) * std::sin(v * 14.0f);
            if (marks > 0.8f && std::abs(u) < 0.6f)
                Over(stone, {0.85f, 0.6f, 1.0f, 0.9f * inside});
            img[static_cast<std::size_t>(y * kSize + x)] = stone;
        }
    return img;
}

Image Glue()
{
    Image img(kSize * kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
        {
            const float dx = (x - 64.0f), dy = (y - 64.0f);
            const float angle = std::atan2(dy, dx);
            const float radius = 50.0f + 6.0f * std::sin(angle * 5.0f) + 4.0f * std::sin(angle * 3.0f + 1.0f);
            const float inside = Cover(std::sqrt(dx * dx + dy * dy) - radius);
            if (inside <= 0.0f)
                continue;
            const float sheen = std::max(0.0f, 1.0f - std::hypot(dx + 18.0f, dy - 16.0f) / 20.0f);
            img[static_cast<std::size_t>(y * kSize + x)] = {0.45f + 0.4f * sheen, 0.36f + 0.35f * sheen,
                                                            0.1f + 0.3f * sheen, 0.85f * inside};
        }
    return img;
}

Image Jug(const Rgba& clay, const Rgba& glow)
{
    Image img(kSize * kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
        {
            const float dx = x - 64.0f, dy = y - 52.0f;
            const float body = std::hypot(dx / 40.0f, dy / 44.0f) - 1.0f;
            const float neck = std::max(std::abs(dx) - 12.0f, std::abs(y - 104.0f) - 16.0f);
            const float inside = Cover(std::min(body * 40.0f, neck));
            if (inside <= 0.0f)
                continue;
            const float shade = 0.6f + 0.4f * std::clamp(-(dx + dy) / 60.0f + 0.5f, 0.0f, 1.0f);
            const float grit = 0.85f + 0.15f * Noise(x, y, 7);
            Rgba p{clay.r * shade * grit, clay.g * shade * grit, clay.b * shade * grit, inside};
            // What waits inside shows through a crack in the glaze.
            const float crack = std::abs(dx * 0.6f - 6.0f * std::sin(dy * 0.3f));
            if (crack < 3.0f && std::abs(dy) < 30.0f)
                Over(p, {glow.r, glow.g, glow.b, glow.a * inside * (1.0f - crack / 3.0f)});
            img[static_cast<std::size_t>(y * kSize + x)] = p;
        }
    return img;
}

// Dark planks seen from above: grain along x, seams between boards, worn corners.
Image Table()
{
    Image img(kSize * kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
        {
            const float dx = std::abs(x - 64.0f) - 56.0f, dy = std::abs(y - 64.0f) - 44.0f;
            const float corner = std::hypot(std::max(dx + 8.0f, 0.0f), std::max(dy + 8.0f, 0.0f)) - 8.0f;
            const float inside = Cover(std::max(std::max(dx, dy), corner));
            if (inside <= 0.0f)
                continue;
            const float grain = 0.8f + 0.2f * std::sin(x * 0.35f + 3.0f * Noise(x / 16, y / 4, 5));
            const float seam = (y % 22) < 2 ? 0.45f : 1.0f;
            const float rot = 0.85f + 0.15f * Noise(x / 4, y / 4, 6);
            const float k = grain * seam * rot;
            img[static_cast<std::size_t>(y * kSize + x)] = {0.26f * k, 0.16f * k, 0.09f * k, inside};
        }
    return img;
}

// A long thin splinter, pale where it snapped.
Image Chip()
{
    Image img(kSize * kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
        {
            const float u = (x - 64.0f) / 56.0f, v = (y - 64.0f);
            const float half = 14.0f * (1.0f - std::abs(u)) + 3.0f * (Noise(x / 6, 0, 8) - 0.5f);
            const float inside = Cover(std::max(std::abs(v) - half, (std::abs(u) - 1.0f) * 56.0f));
            if (inside <= 0.0f)
                continue;
            const float pale = std::clamp(u * 2.0f, 0.0f, 1.0f);
            const float grain = 0.8f + 0.2f * std::sin(v * 1.3f + u * 4.0f);
            img[static_cast<std::size_t>(y * kSize + x)] = {
                (0.3f + 0.35f * pale) * grain, (0.19f + 0.25f * pale) * grain, (0.1f + 0.15f * pale) * grain, inside};
        }
    return img;
}

// A boxy old flash camera on a stand: black body, a glass lens and the bulb reflector.
Image Camera()
{
    Image img(kSize * kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
        {
            const float bx = std::abs(x - 64.0f) - 44.0f, by = std::abs(y - 56.0f) - 30.0f;
            const float body = std::max(bx, by);
            const float lens = std::hypot(x - 64.0f, y - 56.0f) - 20.0f;
            const float bulb = std::max(std::abs(x - 88.0f) - 14.0f, std::abs(y - 98.0f) - 12.0f);
            const float legs = std::max(std::abs(std::abs(x - 64.0f) - 0.45f * (26.0f - y)) - 3.0f, y - 26.0f);
            const float inside = Cover(std::min(std::min(body, bulb), std::max(legs, -static_cast<float>(y))));
            if (inside <= 0.0f)
                continue;
            const float grit = 0.85f + 0.15f * Noise(x, y, 11);
            Rgba p{0.09f * grit, 0.09f * grit, 0.1f * grit, inside};
            if (bulb < 0.0f)
                p = {0.55f * grit, 0.55f * grit, 0.5f * grit, inside};
            if (lens < 0.0f)
            {
                const float glint = std::max(0.0f, 1.0f - std::hypot(x - 57.0f, y - 63.0f) / 7.0f);
                p = {0.12f + 0.6f * glint, 0.14f + 0.6f * glint, 0.2f + 0.6f * glint, inside};
            }
            else if (lens < 4.0f)
                p = {0.35f, 0.33f, 0.3f, inside};
            img[static_cast<std::size_t>(y * kSize + x)] = p;
        }
    return img;
}
// A nailed crate seen from above: a frame, planks and a diagonal brace, in pale
// greys that the level's brown tint turns into wood.
Image Crate()
{
    Image img(kSize * kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
        {
            const float edge = std::max(std::abs(x - 63.5f), std::abs(y - 63.5f)) - 62.0f;
            const float inside = Cover(edge);
            if (inside <= 0.0f)
                continue;
            const float grain = 0.82f + 0.18f * std::sin(x * 0.3f + 4.0f * Noise(x / 16, y / 5, 21));
            const float rot = 0.8f + 0.2f * Noise(x / 3, y / 3, 22);
            float k = 0.8f * grain * rot;
            const bool frame = edge > -12.0f;
            const float brace = std::abs((x - 63.5f) - (y - 63.5f)) / std::sqrt(2.0f) - 8.0f;
            if (!frame && (y % 26) < 2)
                k *= 0.35f; // the gaps between planks
            if (frame || brace < 0.0f)
                k = 0.95f * grain * rot;
            if (std::abs(edge + 12.0f) < 1.0f || (!frame && std::abs(brace) < 1.0f))
                k *= 0.4f; // where boards meet
            const float nail = std::min(std::hypot(std::abs(x - 63.5f) - 56.0f, std::abs(y - 63.5f) - 56.0f),
                                        std::hypot(x - 63.5f, y - 63.5f)) -
                               2.5f;
            if (nail < 0.0f)
                k = 0.25f;
            img[static_cast<std::size_t>(y * kSize + x)] = {k, k, k, inside};
        }
    return img;
}

// A lamp's bulb: a white-hot core in a soft round halo, tinted by the level.
Image Lamp()
{
    Image img(kSize * kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
        {
            const float r = std::hypot(x - 63.5f, y - 63.5f) / 64.0f;
            const float core = Cover((r - 0.5f) * 64.0f);
            const float halo = std::pow(std::clamp(1.0f - r, 0.0f, 1.0f), 2.5f);
            const float a = std::max(core, 0.6f * halo);
            if (a <= 0.0f)
                continue;
            const float k = 0.75f + 0.25f * core;
            img[static_cast<std::size_t>(y * kSize + x)] = {k, k, k, a};
        }
    return img;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string out = argv[1];
    const bool ok = Save(Relic(), out + "/relic.png") && Save(Glue(), out + "/glue.png") &&
                    Save(Jug({0.5f, 0.24f, 0.12f, 1}, {1.0f, 0.55f, 0.1f, 1}), out + "/firejug.png") &&
                    Save(Jug({0.3f, 0.3f, 0.36f, 1}, {0.45f, 0.7f, 1.0f, 1}), out + "/lightningjug.png") &&
                    Save(Table(), out + "/table.png") && Save(Chip(), out + "/woodchip.png") &&
                    Save(Camera(), out + "/aperture.png") && Save(Crate(), out + "/crate.png") &&
                    Save(Lamp(), out + "/lamp.png");
    if (!ok)
        std::fprintf(stderr, "could not write into %s\n", out.c_str());
    return ok ? 0 : 1;
}
