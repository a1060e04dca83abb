// Paints the player's art and the pieces of the HUD: the player seen from above (head,
// shoulders, an arm held out with a torch, facing -x so the body can turn toward the
// mouse), a bear trap (open, spent, just sprung), a brick, a mouse with its left button
// lit, the two struggle key frames, and a plain white square for bars and panels.
// Everything is drawn from a few signed distances, four samples a pixel.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace
{
struct Colour
{
    float r = 0, g = 0, b = 0, a = 0;
};

// Straight-alpha RGBA image built by painting shapes over each other.
class Canvas
{
public:
    Canvas(int width, int height) : _w(width), _h(height), _px(static_cast<std::size_t>(width * height)) {}

    // Paints colour where inside(x, y) holds, x and y in pixels from the top-left,
    // with shade(x, y) scaling the colour.
    void Paint(const std::function<bool(float, float)>& inside, Colour c,
               const std::function<float(float, float)>& shade = nullptr)
    {
        for (int y = 0; y < _h; ++y)
            for (int x = 0; x < _w; ++x)
            {
                int hits = 0;
                for (int s = 0; s < 4; ++s)
                    hits += inside(x + 0.25f + 0.5f * (s % 2), y + 0.25f + 0.5f * (s / 2)) ? 1 : 0;
                if (hits == 0)
                    continue;
                const float k = shade ? shade(x + 0.5f, y + 0.5f) : 1.0f;
                Over(_px[static_cast<std::size_t>(y * _w + x)],
                     {c.r * k, c.g * k, c.b * k, c.a * static_cast<float>(hits) / 4.0f});
            }
    }

    bool Save(const std::string& path) const
    {
        std::vector<unsigned char> bytes(_px.size() * 4);
        for (std::size_t i = 0; i < _px.size(); ++i)
        {
            const Colour& c = _px[i];
            const float v[4] = {c.r, c.g, c.b, c.a};
            for (int k = 0; k < 4; ++k)
                bytes[i * 4 + k] = static_cast<unsigned char>(std::clamp(v[k], 0.0f, 1.0f) * 255.0f + 0.5f);
        }
        return stbi_write_png(path.c_str(), _w, _h, 4, bytes.data(), _w * 4) != 0;
    }

private:
    static void Over(Colour& dst, const Colour& src)
    {
        const float a = src.a + dst.a * (1.0f - src.a);
        if (a <= 0.0f)
            return;
        dst.r = (src.r * src.a + dst.r * dst.a * (1.0f - src.a)) / a;
        dst.g = (src.g * src.a + dst.g * dst.a * (1.0f - src.a)) / a;
        dst.b = (src.b * src.a + dst.b * dst.a * (1.0f - src.a)) / a;
        dst.a = a;
    }

    int _w, _h;
    std::vector<Colour> _px;
};

std::function<bool(float, float)> Ellipse(float cx, float cy, float rx, float ry)
{
    return [=](float x, float y)
    {
        const float dx = (x - cx) / rx, dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0f;
    };
}

std::function<bool(float, float)> Box(float x0, float y0, float x1, float y1)
{
    return [=](float x, float y) { return x >= x0 && x <= x1 && y >= y0 && y <= y1; };
}

std::function<bool(float, float)> Ring(float cx, float cy, float r0, float r1)
{
    return [=](float x, float y)
    {
        const float d = std::hypot(x - cx, y - cy);
        return d >= r0 && d <= r1;
    };
}

// A thick segment from (ax, ay) to (bx, by).
std::function<bool(float, float)> Stroke(float ax, float ay, float bx, float by, float half)
{
    return [=](float x, float y)
    {
        const float vx = bx - ax, vy = by - ay;
        const float t = std::clamp(((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy), 0.0f, 1.0f);
        return std::hypot(x - ax - t * vx, y - ay - t * vy) <= half;
    };
}

// Lit from the upper left, so shapes read as round from above.
std::function<float(float, float)> Dome(float cx, float cy, float r)
{
    return [=](float x, float y)
    {
        const float d = std::hypot(x - cx + r * 0.35f, y - cy + r * 0.35f) / (r * 1.6f);
        return std::clamp(1.15f - d, 0.45f, 1.15f);
    };
}

bool Player(const std::string& folder)
{
    // 128 x 128, facing left (-x): the body turns so its front points at the mouse.
    Canvas c(128, 128);
    c.Paint(Ellipse(66, 64, 40, 40), {0, 0, 0, 0.35f});                                // shadow
    c.Paint(Ellipse(70, 64, 24, 40), {0.36f, 0.4f, 0.48f, 1}, Dome(70, 64, 40));       // shoulders and coat
    c.Paint(Stroke(62, 36, 26, 44, 6.5f), {0.4f, 0.44f, 0.52f, 1}, Dome(44, 40, 20));  // torch arm, reaching forward
    c.Paint(Stroke(62, 92, 40, 86, 6.0f), {0.33f, 0.37f, 0.45f, 1}, Dome(50, 88, 16)); // other arm
    c.Paint(Ellipse(24, 44, 6, 6), {0.86f, 0.72f, 0.6f, 1});                           // torch hand
    c.Paint(Box(8, 40, 22, 48), {0.55f, 0.55f, 0.5f, 1});                              // torch barrel
    c.Paint(Box(5, 39, 9, 49), {1.0f, 0.93f, 0.65f, 1});                               // lens
    c.Paint(Ellipse(39, 86, 5.5f, 5.5f), {0.8f, 0.66f, 0.55f, 1});                     // other hand
    c.Paint(Ellipse(64, 64, 17, 16), {0.82f, 0.68f, 0.56f, 1}, Dome(64, 64, 17));      // head
    c.Paint(Ellipse(68, 64, 14, 15), {0.2f, 0.13f, 0.09f, 1}, Dome(66, 62, 15));       // hair, face to the left
    c.Paint(Ring(70, 64, 39, 41.5f), {0.8f, 0.85f, 0.95f, 0.5f});                      // pale rim, visible in the dark
    return c.Save(folder + "/player.png");
}

bool BearTrap(const std::string& folder)
{
    // Three 96 x 96 frames: 0 open, 1 spent, 2 just sprung.
    Canvas c(288, 96);
    for (int frame = 0; frame < 3; ++frame)
    {
        const float ox = 96.0f * frame, cx = ox + 48, cy = 48;
        const bool open = frame == 0;
        const float rust = frame == 1 ? 0.7f : 1.0f;
        c.Paint(Ellipse(cx, cy + 2, 42, 38), {0, 0, 0, 0.3f});
        c.Paint(Stroke(cx - 44, cy, cx + 44, cy, 5), {0.35f * rust, 0.33f * rust, 0.3f * rust, 1});       // spring bar
        c.Paint(Ellipse(cx, cy, 12, 12), {0.5f * rust, 0.47f * rust, 0.42f * rust, 1}, Dome(cx, cy, 12)); // plate
        if (open)
        {
            c.Paint(Ring(cx, cy, 30, 35), {0.62f, 0.6f, 0.55f, 1}, Dome(cx, cy, 35));
            for (int i = 0; i < 14; ++i)
            {
                const float a = i * 6.2831853f / 14.0f;
                const float x0 = cx + std::cos(a) * 31, y0 = cy + std::sin(a) * 31;
                const float x1 = cx + std::cos(a) * 22, y1 = cy + std::sin(a) * 22;
                c.Paint(Stroke(x0, y0, x1, y1, 2.2f), {0.85f, 0.84f, 0.8f, 1});
            }
        }
        else
        {
            // Closed jaws: two arcs pressed together along the bar.
            c.Paint(Ellipse(cx, cy - 6, 34, 10), {0.55f * rust, 0.52f * rust, 0.48f * rust, 1}, Dome(cx, cy - 6, 30));
            c.Paint(Ellipse(cx, cy + 6, 34, 10), {0.5f * rust, 0.47f * rust, 0.43f * rust, 1}, Dome(cx, cy + 6, 30));
            for (int i = -5; i <= 5; ++i)
                c.Paint(Stroke(cx + i * 6.0f, cy - 4, cx + i * 6.0f + 3, cy + 4, 1.6f),
                        {0.8f * rust, 0.78f * rust, 0.74f * rust, 1});
            if (frame == 2)
            {
                c.Paint(Ellipse(cx + 6, cy + 2, 16, 7), {0.45f, 0.02f, 0.03f, 0.85f});
                c.Paint(Ellipse(cx - 14, cy - 1, 6, 4), {0.5f, 0.03f, 0.04f, 0.8f});
            }
        }
    }
    return c.Save(folder + "/beartrap.png");
}

bool Brick(const std::string& folder)
{
    Canvas c(64, 64);
    c.Paint(Box(8, 18, 58, 50), {0, 0, 0, 0.35f});
    c.Paint(Box(4, 14, 56, 46), {0.52f, 0.2f, 0.14f, 1}, Dome(30, 30, 30));
    c.Paint(Ellipse(20, 30, 5, 4), {0.3f, 0.1f, 0.07f, 1});
    c.Paint(Ellipse(40, 30, 5, 4), {0.3f, 0.1f, 0.07f, 1});
    return c.Save(folder + "/brick.png");
}

bool Mouse(const std::string& folder)
{
    Canvas c(64, 64);
    c.Paint(Ellipse(32, 34, 18, 26), {0.85f, 0.85f, 0.82f, 1});
    c.Paint(Ellipse(32, 34, 15, 23), {0.12f, 0.12f, 0.13f, 1});
    c.Paint([](float x, float y) { return x < 31 && y < 30 && std::hypot((x - 32) / 15, (y - 34) / 23) <= 1.0f; },
            {0.95f, 0.78f, 0.2f, 1});
    c.Paint(Box(31, 11, 33, 30), {0.85f, 0.85f, 0.82f, 1});
    return c.Save(folder + "/mouse.png");
}

bool StruggleKeys(const std::string& folder)
{
    // Two 128 x 64 frames, each a left and a right arrow; frame 0 lights the right one
    // (the key to press next after left), frame 1 the left one.
    Canvas c(256, 64);
    for (int frame = 0; frame < 2; ++frame)
        for (int side = 0; side < 2; ++side)
        {
            const float cx = 128.0f * frame + 32 + 64 * side, cy = 32;
            const bool lit = (frame == 0) == (side == 1);
            const Colour cap = lit ? Colour{0.95f, 0.78f, 0.2f, 1} : Colour{0.35f, 0.33f, 0.3f, 1};
            c.Paint(Box(cx - 26, cy - 26, cx + 26, cy + 26), {0.08f, 0.08f, 0.09f, 0.9f});
            const float dir = side == 0 ? -1.0f : 1.0f;
            c.Paint(
                [=](float x, float y)
                {
                    const float u = (x - cx) * dir; // along the arrow
                    const float v = std::fabs(y - cy);
                    return (u >= -16 && u <= 2 && v <= 5) || (u > 2 && u <= 18 && v <= (18 - u) * 0.9f);
                },
                cap);
        }
    return c.Save(folder + "/struggle_keys.png");
}

bool White(const std::string& folder)
{
    Canvas c(8, 8);
    c.Paint(Box(0, 0, 8, 8), {1, 1, 1, 1});
    return c.Save(folder + "/white.png");
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s ART_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const bool ok =
        Player(folder) && BearTrap(folder) && Brick(folder) && Mouse(folder) && StruggleKeys(folder) && White(folder);
    if (!ok)
        std::fprintf(stderr, "could not write the art into %s\n", folder.c_str());
    return ok ? 0 : 1;
}
