#pragma once

#include "core/DebugLines.h"
#include "core/System.h"
#include "debug/DebugWindow.h"
#include "debug/Heatmap.h"

#include <glm/mat4x4.hpp>

#include <memory>
#include <string>
#include <vector>

class Sprite;

// Draws the frame's debug lines in one instanced draw and empties the list, and
// gathers heatmaps of the player's and the monster's positions and the player's deaths
// while the "Gather Heatmap" cheat has it on. It also carries the inspector window.
class DebugSystem : public System
{
public:
    static constexpr const char* kHeatmapFolder = "Data/Heatmaps";

    DebugSystem();
    ~DebugSystem() override;

    static DebugSystem& Instance();

    // Makes the line sprite from the "sprite" of Data/Entity/line_draw.json. Without
    // one, lines are still collected and emptied but never drawn (reported once).
    bool Init() override;
    void Update(float dt) override;
    // Draws every segment pushed this frame, then empties the list.
    void Render() override;
    // A heatmap still being gathered is written, so quitting loses no samples.
    void Exit() override;

    bool IsGathering() const { return _gathering; }
    const HeatmapSamples& Samples() const { return _samples; }
    // The file the last heatmap went to; empty before the first.
    const std::string& LastHeatmapFile() const { return _lastHeatmapFile; }
    // Segments in the last Render's draw (0 when nothing was drawn).
    unsigned LastLineCount() const { return _lastLineCount; }
    DebugWindow& GetDebugWindow() { return _debugWindow; }

    // Instance matrix of a segment drawn with a line mesh from -1 to 1 along x.
    static glm::mat4 SegmentMatrix(const DebugLines::Segment& segment);

    // Not gathering, no samples, no sprite and the inspector hidden (between tests and runs).
    void Reset();

private:
    void ToggleGathering();
    void Sample();
    // Writes the samples under a name no other heatmap has. False (reported) when the
    // folder or the file cannot be written.
    bool WriteHeatmap();

    std::unique_ptr<Sprite> _lineSprite;
    std::vector<glm::mat4> _matrices;
    unsigned _lastLineCount = 0;
    bool _gathering = false;
    float _sampleInterval = 1.0f;
    float _sampleTimer = 0.0f;
    HeatmapSamples _samples;
    std::string _level;
    std::string _lastHeatmapFile;
    DebugWindow _debugWindow;
};
