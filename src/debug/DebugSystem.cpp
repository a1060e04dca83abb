#include "debug/DebugSystem.h"

#include "core/Assert.h"
#include "core/AtomicFile.h"
#include "core/Cheats.h"
#include "core/MessageSystem.h"
#include "core/Trace.h"
#include "core/WindowSystem.h"
#include "data/DataFileScope.h"
#include "data/JsonError.h"
#include "data/Stream.h"
#include "input/InputSystem.h"
#include "render/GlState.h"
#include "render/LumMesh.h"
#include "render/Mesh.h"
#include "render/Sprite.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>
#include <ctime>
#include <filesystem>

namespace
{
glm::vec2 PositionOf(const Message& message)
{
    const glm::vec2* position = message.Arg<glm::vec2>(0);
    GLOAMER_ASSERT(position != nullptr, "heatmap sample: the message's first argument must be a vec2");
    return *position;
}
} // namespace

DebugSystem::DebugSystem() : System("Debug") {}

DebugSystem::~DebugSystem() = default;

DebugSystem& DebugSystem::Instance()
{
    static DebugSystem instance;
    return instance;
}

bool DebugSystem::Init()
{
    _lineSprite = std::make_unique<Sprite>();
    Stream stream("line_draw", EntityFile);
    const json* sprite = nullptr;
    if (stream.IsOpen() && stream.GetJson().is_object())
        if (auto it = stream.GetJson().find("sprite"); it != stream.GetJson().end())
            sprite = &*it;
    if (!sprite)
    {
        Trace::Error(stream.Path() + ": no \"sprite\"; debug lines are not drawn");
        return true;
    }
    try
    {
        DataFileScope scope(stream.Path());
        _lineSprite->Read(*sprite);
        _lineSprite->SetOutlineColour(1.0f, 1.0f, 1.0f, 1.0f);
        if (Mesh* mesh = _lineSprite->GetMesh(); mesh && mesh->GetGpu())
            mesh->GetGpu()->SetDrawMode(LumMesh::Outline);
    }
    catch (const json::exception& e)
    {
        ReportJsonError(stream.Path(), e);
        _lineSprite = std::make_unique<Sprite>();
    }
    return true;
}

glm::mat4 DebugSystem::SegmentMatrix(const DebugLines::Segment& segment)
{
    const glm::vec2 d = segment._end - segment._start;
    const glm::vec2 middle = 0.5f * (segment._start + segment._end);
    const float length = std::sqrt(d.x * d.x + d.y * d.y);
    glm::mat4 m = glm::translate(glm::mat4(1.0f), glm::vec3(middle, 0.0f));
    m = glm::rotate(m, std::atan2(d.y, d.x), glm::vec3(0.0f, 0.0f, 1.0f));
    return glm::scale(m, glm::vec3(0.5f * length, 1.0f, 1.0f));
}

void DebugSystem::Render()
{
    DebugLines& lines = DebugLines::Instance();
    _lastLineCount = 0;
    Mesh* mesh = _lineSprite ? _lineSprite->GetMesh() : nullptr;
    if (!lines.Segments().empty() && GlState::IsLive() && mesh && mesh->GetGpu() && _lineSprite->GetShader())
    {
        _matrices.clear();
        for (const DebugLines::Segment& segment : lines.Segments())
            _matrices.push_back(SegmentMatrix(segment));
        // Instance attributes attach to whichever vertex array is bound.
        GlState::BindVertexArray(mesh->GetGpu()->GetOutlineArray());
        LumInstance& instances = _lineSprite->Instances();
        instances.UploadMatrices(_matrices);
        instances.UploadColours(lines.Colours());
        instances.SetCount(static_cast<unsigned>(_matrices.size()));
        _lineSprite->Render();
        _lastLineCount = static_cast<unsigned>(_matrices.size());
    }
    lines.Clear();
    _debugWindow.Render(WindowSystem::Instance().GetWindow());
}

void DebugSystem::Update(float dt)
{
    const InputSystem& input = InputSystem::Instance();
    if (input.IsTriggered(DebugWindow::kBinding))
        _debugWindow.Toggle();
    if (_debugWindow.IsShown())
        _debugWindow.Pick(SceneSystem::Instance(), input.GetMouseWorldPosition());

    if (Cheats::IsTriggered("Gather Heatmap"))
        ToggleGathering();
    if (!_gathering)
        return;

    if (_sampleTimer > 0.0f)
        _sampleTimer -= dt;
    else
    {
        Sample();
        _sampleTimer = _sampleInterval;
    }

    // Deaths are rare and brief, so every frame looks for one.
    if (Message* dead = MessageSystem::Instance().Get("player_dead", true))
        _samples._deaths.push_back(PositionOf(*dead));
}

void DebugSystem::Sample()
{
    MessageSystem& board = MessageSystem::Instance();
    if (Message* player = board.Get("playerdata"))
        _samples._positions.push_back(PositionOf(*player));
    if (Message* monster = board.Get("monster_pos", true))
        _samples._monster.push_back(PositionOf(*monster));
}

void DebugSystem::ToggleGathering()
{
    if (_gathering)
    {
        // Samples that cannot be written stay, and gathering goes on, so the next
        // toggle tries again with everything.
        if (WriteHeatmap())
            _gathering = false;
        return;
    }
    _samples.Clear();
    const Scene* scene = SceneSystem::Instance().GetCurrentScene();
    _level = scene ? scene->GetName() : std::string();
    _gathering = true;
    Trace::Message("Heatmap gathering on");
}

bool DebugSystem::WriteHeatmap()
{
    std::error_code ec;
    std::filesystem::create_directories(kHeatmapFolder, ec);
    const std::filesystem::path path = FreeHeatmapPath(kHeatmapFolder, HeatmapTimeStamp(std::time(nullptr)));
    if (ec || !WriteFileAtomic(path.string(), HeatmapToJson(_samples, _level).dump(4) + "\n"))
    {
        Trace::Error(path.string() + ": cannot write the heatmap" + (ec ? " (" + ec.message() + ")" : std::string()) +
                     "; its samples stay in memory and gathering goes on");
        return false;
    }
    _lastHeatmapFile = path.string();
    Trace::Message("Heatmap written: " + _lastHeatmapFile);
    return true;
}

void DebugSystem::Exit()
{
    if (_gathering && WriteHeatmap())
        _gathering = false;
    // Their GL objects belong to the context, which goes after this.
    _lineSprite.reset();
    _debugWindow.Shutdown();
}

void DebugSystem::Reset()
{
    _lineSprite.reset();
    _matrices.clear();
    _lastLineCount = 0;
    _gathering = false;
    _sampleInterval = 1.0f;
    _sampleTimer = 0.0f;
    _samples.Clear();
    _level.clear();
    _lastHeatmapFile.clear();
    _debugWindow.Reset();
}
