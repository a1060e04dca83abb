#include "scene/Flashlight.h"

#include "core/DebugLines.h"
#include "data/Entity.h"
#include "data/TypeRegistry.h"
#include "physics/Collider.h"
#include "physics/LineBuffer.h"
#include "physics/Polygon.h"
#include "render/LumMesh.h"
#include "render/Mesh.h"
#include "render/Sprite.h"
#include "scene/Scene.h"

GLOAMER_REGISTER_COMPONENT(Flashlight, ctype::Flashlight)

namespace
{
constexpr float kFar = 100000.0f;

std::unique_ptr<Sprite> ReadSprite(const json& j, const char* key, int drawMode)
{
    const auto it = j.find(key);
    if (it == j.end())
        return nullptr;
    auto sprite = std::make_unique<Sprite>();
    sprite->Read(*it);
    if (drawMode != 0 && sprite->GetMesh() && sprite->GetMesh()->GetGpu())
        sprite->GetMesh()->GetGpu()->SetDrawMode(static_cast<std::uint8_t>(drawMode));
    return sprite;
}

void WriteSprite(json& j, const char* key, const std::unique_ptr<Sprite>& sprite)
{
    if (!sprite)
        return;
    json out = json::object();
    sprite->Write(out);
    j[key] = std::move(out);
}
} // namespace

const FieldDescriptor<Flashlight>& Flashlight::Descriptor()
{
    static const FieldDescriptor<Flashlight> descriptor("Flashlight", {
                                                                          GLOAMER_FIELD(Flashlight, _linesOn),
                                                                          GLOAMER_FIELD(Flashlight, _cullDist),
                                                                          GLOAMER_FIELD(Flashlight, _cullAngle),
                                                                          GLOAMER_FIELD(Flashlight, _raycastRot),
                                                                          GLOAMER_FIELD(Flashlight, _rotAngle),
                                                                          GLOAMER_FIELD(Flashlight, _radius),
                                                                          GLOAMER_FIELD(Flashlight, _falloff),
                                                                          GLOAMER_FIELD(Flashlight, _factor),
                                                                          GLOAMER_FIELD(Flashlight, _innerFalloff),
                                                                          GLOAMER_FIELD(Flashlight, _innerRadius),
                                                                      });
    return descriptor;
}

Flashlight::Flashlight() : ComponentBase<Flashlight>(ctype::Flashlight) {}

Flashlight::~Flashlight() = default;

Flashlight::Flashlight(const Flashlight& other)
    : ComponentBase<Flashlight>(other), _linesOn(other._linesOn), _cullDist(other._cullDist),
      _raycastRot(other._raycastRot), _rotAngle(other._rotAngle), _radius(other._radius), _falloff(other._falloff),
      _factor(other._factor), _innerFalloff(other._innerFalloff), _innerRadius(other._innerRadius),
      _origin(other._origin), _aimPoint(other._aimPoint)
{
}

void Flashlight::Read(const json& j)
{
    Descriptor().Read(*this, j);
    if (auto s = ReadSprite(j, "sprite", LumMesh::Fan))
        _sprite = std::move(s);
    if (auto s = ReadSprite(j, "linedebug", 0))
        _lineDebug = std::move(s);
    if (auto s = ReadSprite(j, "pointdebug", LumMesh::Filled))
        _pointDebug = std::move(s);
}

void Flashlight::Write(json& j) const
{
    Descriptor().Write(*this, j);
    WriteSprite(j, "sprite", _sprite);
    WriteSprite(j, "linedebug", _lineDebug);
    WriteSprite(j, "pointdebug", _pointDebug);
}

void Flashlight::GatherWalls(const Scene& scene, std::vector<LineSegment>& walls)
{
    walls.clear();
    for (const auto& entity : scene.GetEntities().Entities())
    {
        const auto* collider = entity->Get<Collider>(ctype::Collider);
        if (!collider || !collider->CastsShadows() || collider->GetShapeType() != shape::Polygon)
            continue;
        if (const auto* polygon = dynamic_cast<const Polygon*>(collider->GetWorldShape()))
            walls.insert(walls.end(), polygon->_sides.begin(), polygon->_sides.end());
    }
    if (const LineBuffer* tilemap = scene.GetTilemapWalls())
        walls.insert(walls.end(), tilemap->_lines.begin(), tilemap->_lines.end());
}

void Flashlight::Update(float)
{
    const glm::vec2 aim = (_aimPoint - _origin) * kFar;
    _coneA = fan::Rotate(aim, _rotAngle);
    _coneB = fan::Rotate(aim, -_rotAngle);

    const Scene* scene = GetOwner() ? GetOwner()->GetScene() : nullptr;
    if (scene)
        GatherWalls(*scene, _walls);
    else
        _walls.clear();
    fan::Build(_origin, _walls, {_cullDist, _raycastRot}, _work);
}

void Flashlight::Render()
{
    if (!_linesOn)
        return;
    DebugLines& lines = DebugLines::Instance();
    for (const FanHit& hit : _work._hits)
        lines.DrawSegment(hit._origin, hit._point, {1.0f, 0.0f, 0.0f, 1.0f});
    for (std::size_t i = 1; i < _work._fan.size(); ++i)
        lines.DrawSegment(_work._fan[i - 1], _work._fan[i], {0.0f, 0.0f, 1.0f, 1.0f});
}

void Flashlight::AppendTo(SceneLights& lights) const
{
    SceneLights::Flashlight f;
    f._coneA = _coneA;
    f._coneB = _coneB;
    f._radius = _radius;
    f._factor = _factor;
    f._falloff = _falloff;
    f._innerFalloff = _innerFalloff;
    f._innerRadius = _innerRadius;
    lights.AddFlashlight(f, _work._fan, this);
}
