#include "debug/HeatmapImage.h"

#include "data/Stream.h"

#include <glm/common.hpp>
#include <glm/vec3.hpp>
#include <nlohmann/json.hpp>
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <ostream>

namespace
{
using json = nlohmann::json;

constexpr glm::vec3 kGround{12.0f, 10.0f, 16.0f};
constexpr glm::vec3 kBoxFill{34.0f, 32.0f, 40.0f};
constexpr glm::vec3 kBoxEdge{72.0f, 68.0f, 84.0f};
constexpr glm::vec3 kMonster{70.0f, 210.0f, 225.0f};
constexpr glm::vec3 kDeath{255.0f, 40.0f, 40.0f};

// Density colour ramp from cold to hot.
glm::vec3 Ramp(float t)
{
    static const glm::vec3 stops[] = {{60, 10, 90}, {150, 20, 110}, {215, 40, 30}, {255, 150, 20}, {255, 245, 170}};
    const float x = std::clamp(t, 0.0f, 1.0f) * 4.0f;
    const int i = std::min(static_cast<int>(x), 3);
    const float f = x - static_cast<float>(i);
    return stops[i] + (stops[i + 1] - stops[i]) * f;
}

class Canvas
{
public:
    explicit Canvas(HeatmapImage& image) : _image(image) {}

    void Blend(int x, int y, const glm::vec3& colour, float alpha)
    {
        if (x < 0 || y < 0 || x >= _image._width || y >= _image._height || alpha <= 0.0f)
            return;
        unsigned char* p = &_image._rgba[static_cast<std::size_t>((y * _image._width + x) * 4)];
        const float a = std::min(alpha, 1.0f);
        for (int c = 0; c < 3; ++c)
            p[c] = static_cast<unsigned char>(std::lround(p[c] * (1.0f - a) + colour[c] * a));
        p[3] = 255;
    }

    void Disc(glm::ivec2 centre, int radius, const glm::vec3& colour, float alpha)
    {
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx)
                if (dx * dx + dy * dy <= radius * radius)
                    Blend(centre.x + dx, centre.y + dy, colour, alpha);
    }

    void Cross(glm::ivec2 centre, int arm, const glm::vec3& colour)
    {
        for (int d = -arm; d <= arm; ++d)
            for (int t = 0; t < 2; ++t)
            {
                Blend(centre.x + d + t, centre.y + d, colour, 1.0f);
                Blend(centre.x + d + t, centre.y - d, colour, 1.0f);
            }
        Blend(centre.x, centre.y, {255.0f, 255.0f, 255.0f}, 1.0f);
    }

private:
    HeatmapImage& _image;
};

glm::vec2 ReadVec(const json& j, const char* key, glm::vec2 fallback)
{
    auto it = j.find(key);
    if (it == j.end())
        return fallback;
    return {it->value("x", fallback.x), it->value("y", fallback.y)};
}

void Include(glm::vec2& low, glm::vec2& high, glm::vec2 point)
{
    low = glm::min(low, point);
    high = glm::max(high, point);
}
} // namespace

LevelTopView TopViewFromLevel(const json& level)
{
    LevelTopView view;
    auto entities = level.find("entities");
    if (entities == level.end())
        return view;
    for (const json& entity : *entities)
    {
        auto transform = entity.find("transform");
        if (transform == entity.end())
            continue;
        const glm::vec2 size = glm::abs(ReadVec(*transform, "scale", {1.0f, 1.0f}));
        if (size.x > 0.0f && size.y > 0.0f)
            view._boxes.push_back({ReadVec(*transform, "translation", {0.0f, 0.0f}), size});
    }
    return view;
}

glm::ivec4 HeatmapImage::At(int x, int y) const
{
    const unsigned char* p = &_rgba[static_cast<std::size_t>((y * _width + x) * 4)];
    return {p[0], p[1], p[2], p[3]};
}

glm::ivec2 HeatmapImage::PixelOf(glm::vec2 world) const
{
    const glm::vec2 span = _upperRight - _lowerLeft;
    const glm::vec2 f = (world - _lowerLeft) / span;
    return {static_cast<int>(std::floor(f.x * static_cast<float>(_width))),
            static_cast<int>(std::floor((1.0f - f.y) * static_cast<float>(_height)))};
}

HeatmapImage RenderHeatmap(const HeatmapSamples& samples, const LevelTopView& level, int width)
{
    // Frame everything there is to see, with a margin.
    glm::vec2 low(1e30f), high(-1e30f);
    for (const auto& box : level._boxes)
    {
        Include(low, high, box._centre - 0.5f * box._size);
        Include(low, high, box._centre + 0.5f * box._size);
    }
    for (const auto* list : {&samples._positions, &samples._deaths, &samples._monster})
        for (const glm::vec2& p : *list)
            Include(low, high, p);
    if (low.x > high.x)
    {
        low = {-960.0f, -540.0f};
        high = {960.0f, 540.0f};
    }
    const glm::vec2 margin = 0.05f * (high - low) + glm::vec2(50.0f);
    low -= margin;
    high += margin;

    HeatmapImage image;
    image._width = std::max(width, 16);
    const glm::vec2 span = high - low;
    image._height = std::clamp(static_cast<int>(std::lround(image._width * span.y / span.x)), 16, 4 * image._width);
    // Square pixels: widen whichever side the clamp cut short.
    const float unitsPerPixel = std::max(span.x / image._width, span.y / image._height);
    const glm::vec2 centre = 0.5f * (low + high);
    const glm::vec2 half = 0.5f * unitsPerPixel * glm::vec2(image._width, image._height);
    image._lowerLeft = centre - half;
    image._upperRight = centre + half;

    image._rgba.resize(static_cast<std::size_t>(image._width * image._height * 4));
    for (std::size_t i = 0; i < image._rgba.size(); i += 4)
    {
        for (int c = 0; c < 3; ++c)
            image._rgba[i + c] = static_cast<unsigned char>(kGround[c]);
        image._rgba[i + 3] = 255;
    }
    Canvas canvas(image);

    for (const auto& box : level._boxes)
    {
        const glm::ivec2 a = image.PixelOf(box._centre + glm::vec2(-0.5f, 0.5f) * box._size);
        const glm::ivec2 b = image.PixelOf(box._centre + glm::vec2(0.5f, -0.5f) * box._size);
        for (int y = std::max(a.y, 0); y <= std::min(b.y, image._height - 1); ++y)
            for (int x = std::max(a.x, 0); x <= std::min(b.x, image._width - 1); ++x)
            {
                const bool edge = x == a.x || x == b.x || y == a.y || y == b.y;
                canvas.Blend(x, y, edge ? kBoxEdge : kBoxFill, edge ? 0.9f : 0.6f);
            }
    }

    // Each position spreads a little warmth around it; the warmest spot is the top of the ramp.
    if (!samples._positions.empty())
    {
        const float sigma = std::max(4.0f, static_cast<float>(image._width) / 90.0f);
        const int reach = static_cast<int>(std::ceil(3.0f * sigma));
        std::vector<float> heat(static_cast<std::size_t>(image._width * image._height), 0.0f);
        for (const glm::vec2& p : samples._positions)
        {
            const glm::ivec2 c = image.PixelOf(p);
            for (int y = std::max(c.y - reach, 0); y <= std::min(c.y + reach, image._height - 1); ++y)
                for (int x = std::max(c.x - reach, 0); x <= std::min(c.x + reach, image._width - 1); ++x)
                {
                    const float d2 = static_cast<float>((x - c.x) * (x - c.x) + (y - c.y) * (y - c.y));
                    heat[static_cast<std::size_t>(y * image._width + x)] += std::exp(-d2 / (2.0f * sigma * sigma));
                }
        }
        const float peak = *std::max_element(heat.begin(), heat.end());
        for (int y = 0; y < image._height; ++y)
            for (int x = 0; x < image._width; ++x)
            {
                const float t = heat[static_cast<std::size_t>(y * image._width + x)] / peak;
                if (t > 0.02f)
                    canvas.Blend(x, y, Ramp(t), std::min(1.0f, 0.25f + 1.5f * t));
            }
    }

    const int dot = std::max(2, image._width / 320);
    for (const glm::vec2& p : samples._monster)
        canvas.Disc(image.PixelOf(p), dot, kMonster, 0.85f);
    for (const glm::vec2& p : samples._deaths)
        canvas.Cross(image.PixelOf(p), 3 * dot, kDeath);
    return image;
}

int RunHeatmapTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    static const char* kUsage = "usage: gloamer_heatmap [--data DIR] [--level NAME] [--width N] HEATMAP.json OUT.png\n";
    std::string dataDir = ".", level, input, output;
    int width = 1280;
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if ((a == "--data" || a == "--level" || a == "--width") && !hasValue)
        {
            err << "gloamer_heatmap: " << a << " needs a value\n" << kUsage;
            return 2;
        }
        if (a == "--data")
            dataDir = args[++i];
        else if (a == "--level")
            level = args[++i];
        else if (a == "--width")
        {
            const std::string& value = args[++i];
            std::size_t used = 0;
            try
            {
                width = std::stoi(value, &used);
            }
            catch (const std::exception&)
            {
                used = 0;
            }
            if (used != value.size() || width < 16 || width > 8192)
            {
                err << "gloamer_heatmap: --width takes a whole number from 16 to 8192, not '" << value << "'\n";
                return 2;
            }
        }
        else if (input.empty())
            input = a;
        else if (output.empty())
            output = a;
        else
        {
            err << "gloamer_heatmap: unexpected '" << a << "'\n" << kUsage;
            return 2;
        }
    }
    if (output.empty())
    {
        err << kUsage;
        return 2;
    }

    HeatmapSamples samples;
    try
    {
        std::ifstream file(input);
        if (!file)
        {
            err << input << ": cannot open the heatmap\n";
            return 1;
        }
        const json j = json::parse(file);
        samples = HeatmapFromJson(j);
        if (level.empty() && j.contains("Level"))
            level = j.at("Level").get<std::string>();
    }
    catch (const json::exception& e)
    {
        err << input << ": " << e.what() << "\n";
        return 1;
    }

    LevelTopView view;
    if (level.empty())
        err << input << ": no level named; the samples are drawn on their own\n";
    else
    {
        const std::string path = dataDir + "/" + Stream::GetPath(level, LevelFile);
        std::ifstream file(path);
        try
        {
            if (!file)
                err << path << ": cannot open the level; the samples are drawn on their own\n";
            else
                view = TopViewFromLevel(json::parse(file));
        }
        catch (const json::exception& e)
        {
            err << path << ": " << e.what() << "; the samples are drawn on their own\n";
            view = {};
        }
    }

    const HeatmapImage image = RenderHeatmap(samples, view, width);
    if (!stbi_write_png(output.c_str(), image._width, image._height, 4, image._rgba.data(), image._width * 4))
    {
        err << output << ": cannot write the picture\n";
        return 1;
    }
    out << output << ": " << image._width << " x " << image._height << ", " << samples._positions.size()
        << " positions, " << samples._deaths.size() << " deaths, " << samples._monster.size() << " monster positions\n";
    return 0;
}
