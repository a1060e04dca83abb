#pragma once

#include "debug/Heatmap.h"

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>
#include <nlohmann/json_fwd.hpp>

#include <iosfwd>
#include <string>
#include <vector>

// A level seen from above: the box of every entity the level file places.
struct LevelTopView
{
    struct Box
    {
        glm::vec2 _centre{0.0f};
        glm::vec2 _size{0.0f};
    };
    std::vector<Box> _boxes;
};

// The boxes of a level file's "entities" (translation and scale; rotation ignored).
// Entries without a transform are left out; JSON type errors propagate.
LevelTopView TopViewFromLevel(const nlohmann::json& level);

// An RGBA picture, rows from the top.
struct HeatmapImage
{
    int _width = 0;
    int _height = 0;
    std::vector<unsigned char> _rgba;
    // The world rectangle the picture shows.
    glm::vec2 _lowerLeft{0.0f};
    glm::vec2 _upperRight{0.0f};

    glm::ivec4 At(int x, int y) const;
    // The pixel a world point falls in (may lie outside the picture).
    glm::ivec2 PixelOf(glm::vec2 world) const;
};

// Positions as a density ramp (dark violet through red to pale yellow) over the level's
// boxes, the monster's positions as cyan dots, deaths as red crosses. The picture
// covers everything with a margin and is `width` pixels wide.
HeatmapImage RenderHeatmap(const HeatmapSamples& samples, const LevelTopView& level, int width = 1280);

// "gloamer_heatmap [--data DIR] [--level NAME] [--width N] HEATMAP.json OUT.png": the
// level comes from --level or the heatmap's "Level". 0 on success, 1 when a file cannot
// be read or written (said on err), 2 for a bad command line.
int RunHeatmapTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
