#include "physics/TileWalls.h"

bool TileLayer::Fill(std::uint32_t width, std::uint32_t height, const std::vector<std::uint32_t>& rowMajor)
{
    _cells.clear();
    _width = 0;
    _height = 0;
    const std::size_t count = static_cast<std::size_t>(width) * height;
    if (rowMajor.size() < count)
        return false;
    _width = width;
    _height = height;
    _cells.assign(count, TileCell{});
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x)
            At(x, y)._tile = rowMajor[static_cast<std::size_t>(y) * width + x];
    return true;
}

namespace tilewalls
{
glm::vec2 CellCentre(std::uint32_t width, std::uint32_t height, float scale, const glm::vec2& offset, std::uint32_t x,
                     std::uint32_t y)
{
    return {scale * (static_cast<float>(x) + 0.5f - static_cast<float>(width) * 0.5f) + offset.x,
            -(static_cast<float>(y) + 0.5f - static_cast<float>(height) * 0.5f) * scale + offset.y};
}

void Build(TileLayer& layer, float scale, const glm::vec2& offset, std::vector<LineSegment>& walls)
{
    walls.clear();
    walls.reserve(1000);
    for (TileCell& cell : layer._cells)
        cell._sides = {-1, -1, -1, -1};

    const std::uint32_t w = layer._width;
    const std::uint32_t hgt = layer._height;
    const float h = scale * 0.5f;
    const auto empty = [&](std::uint32_t x, std::uint32_t y) { return layer.At(x, y)._tile == 0; };
    const auto append = [&](const glm::vec2& a, const glm::vec2& b)
    {
        walls.push_back({a, b});
        return static_cast<std::int32_t>(walls.size() - 1);
    };

    for (std::uint32_t x = 0; x < w; ++x)
        for (std::uint32_t y = 0; y < hgt; ++y)
        {
            TileCell& cell = layer.At(x, y);
            if (cell._tile == 0)
                continue;
            const glm::vec2 c = CellCentre(w, hgt, scale, offset, x, y);
            auto& sides = cell._sides;

            if (y > 0 && empty(x, y - 1))
            {
                const std::int32_t run = x > 0 ? layer.At(x - 1, y)._sides[TileCell::Top] : -1;
                if (run >= 0)
                    walls[static_cast<std::size_t>(run)]._end = {c.x + h, c.y + h};
                sides[TileCell::Top] = run >= 0 ? run : append({c.x - h, c.y + h}, {c.x + h, c.y + h});
            }
            if (x + 1 < w && empty(x + 1, y))
            {
                const std::int32_t run = y > 0 ? layer.At(x, y - 1)._sides[TileCell::Right] : -1;
                if (run >= 0)
                    walls[static_cast<std::size_t>(run)]._end = {c.x + h, c.y - h};
                sides[TileCell::Right] = run >= 0 ? run : append({c.x + h, c.y + h}, {c.x + h, c.y - h});
            }
            if (y + 1 < hgt && empty(x, y + 1))
            {
                const std::int32_t run = x > 0 ? layer.At(x - 1, y)._sides[TileCell::Bottom] : -1;
                if (run >= 0)
                    walls[static_cast<std::size_t>(run)]._start = {c.x + h, c.y - h};
                sides[TileCell::Bottom] = run >= 0 ? run : append({c.x + h, c.y - h}, {c.x - h, c.y - h});
            }
            if (x > 0 && empty(x - 1, y))
            {
                const std::int32_t run = y > 0 ? layer.At(x, y - 1)._sides[TileCell::Left] : -1;
                if (run >= 0)
                    walls[static_cast<std::size_t>(run)]._start = {c.x - h, c.y - h};
                sides[TileCell::Left] = run >= 0 ? run : append({c.x - h, c.y - h}, {c.x - h, c.y + h});
            }
        }
    walls.shrink_to_fit();
}
} // namespace tilewalls
