#include "behaviors/items/BehaviorAperture.h"

#include "behaviors/UiLinks.h"
#include "behaviors/items/LightFields.h"
#include "behaviors/items/ObjectiveSystem.h"
#include "core/MessageSystem.h"
#include "core/Trace.h"
#include "data/DataFileScope.h"
#include "data/Entity.h"
#include "data/JsonError.h"
#include "data/TypeRegistry.h"
#include "input/InputSystem.h"
#include "physics/Circle.h"
#include "physics/Collider.h"
#include "physics/Intersection.h"
#include "physics/Polygon.h"
#include "scene/Scene.h"

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

GLOAMER_REGISTER_COMPONENT(BehaviorAperture, ctype::Behavior)

BehaviorAperture::BehaviorAperture(const BehaviorAperture& other)
    : ComponentBase<BehaviorAperture, Behavior>(other), _activationRadius(other._activationRadius),
      _ready(other._ready), _showactivationradius(other._showactivationradius),
      _showflashhitbox(other._showflashhitbox), _flashtimer(other._flashtimer), _flashon(other._flashon),
      _hitBox(other._hitBox ? other._hitBox->Clone() : nullptr)
{
}

const FieldDescriptor<BehaviorAperture>& BehaviorAperture::Descriptor()
{
    static const FieldDescriptor<BehaviorAperture> descriptor(
        "BehaviorAperture", {
                                GLOAMER_FIELD(BehaviorAperture, _activationRadius),
                                GLOAMER_FIELD(BehaviorAperture, _ready),
                                GLOAMER_FIELD(BehaviorAperture, _showactivationradius),
                                GLOAMER_FIELD(BehaviorAperture, _showflashhitbox),
                                GLOAMER_FIELD(BehaviorAperture, _flashtimer),
                                GLOAMER_FIELD(BehaviorAperture, _flashon),
                            });
    return descriptor;
}

bool BehaviorAperture::HasArea(const Shape& shape)
{
    if (const auto* circle = dynamic_cast<const Circle*>(&shape))
        return circle->_radius > 0.0f;
    if (const auto* polygon = dynamic_cast<const Polygon*>(&shape))
    {
        // Twice the signed area, by the shoelace sum over the sides.
        float area = 0.0f;
        for (const LineSegment& side : polygon->_sides)
            area += side._start.x * side._end.y - side._end.x * side._start.y;
        return std::abs(area) > 0.0f;
    }
    return false;
}

void BehaviorAperture::Read(const json& j)
{
    Behavior::Read(j);
    Descriptor().Read(*this, j);
    auto it = j.find("flashhitbox");
    if (it == j.end())
        return;
    FieldIo::RequireObject(*it);
    const std::uint32_t type = it->value("type", shape::Circle);
    if (type != shape::Circle && type != shape::Polygon)
    {
        ReportDataError(DataFileScope::Current(), JsonPathOf(*it),
                        "the flash hit box must be a polygon (1) or a circle (2), not shape type " +
                            std::to_string(type) + "; the flash can never hit");
        _hitBox.reset();
        return;
    }
    std::unique_ptr<Shape> box = CreateShape(type);
    if (auto shapeIt = it->find("shape"); shapeIt != it->end())
        box->Read(*shapeIt);
    if (!HasArea(*box))
        ReportDataError(DataFileScope::Current(), JsonPathOf(*it),
                        "the flash hit box has zero size; the flash can never hit");
    _hitBox = std::move(box);
}

void BehaviorAperture::Write(json& j) const
{
    Behavior::Write(j);
    Descriptor().Write(*this, j);
    j["hit"] = _hit;
    if (_hitBox)
    {
        json shapeJson = json::object();
        _hitBox->Write(shapeJson);
        j["flashhitbox"] = {{"type", _hitBox->GetType()}, {"shape", std::move(shapeJson)}};
    }
}

void BehaviorAperture::Init()
{
    _clickSound.Set("click0", 1.0f, false, true);
    _flashSound.Set("aperture_flash", 1.0f, false, true);
    _flashtimer.timer = 0.0f;
    if (!_hitBox && GetOwner())
        Trace::Error("aperture \"" + GetOwner()->GetName() + "\" has no flash hit box; the flash can never hit");
    PlaceHitBox();
}

void BehaviorAperture::PlaceHitBox()
{
    if (!_hitBox || !HasArea(*_hitBox) || !GetOwner())
    {
        _placed.reset();
        return;
    }
    if (!_placed || _placed->GetType() != _hitBox->GetType())
        _placed = CreateShape(_hitBox->GetType());
    // The box is drawn around the device: moved with it, never turned or scaled.
    const glm::vec2 at = GetOwner()->GetTransform().GetTranslation();
    const glm::mat4 matrix = glm::translate(glm::mat4(1.0f), glm::vec3(at, 0.0f));
    if (const auto* circle = dynamic_cast<const Circle*>(_hitBox.get()))
        static_cast<Circle&>(*_placed).PlaceFrom(*circle, matrix, 1.0f);
    else if (const auto* polygon = dynamic_cast<const Polygon*>(_hitBox.get()))
        static_cast<Polygon&>(*_placed).PlaceFrom(*polygon, matrix);
}

bool BehaviorAperture::MonsterInHitBox() const
{
    Entity* monster = _monster.Get();
    const Collider* collider = monster ? monster->Get<Collider>(ctype::Collider) : nullptr;
    const Shape* body = collider ? collider->GetWorldShape() : nullptr;
    if (!body || !_placed)
        return false;
    // The intersection tests take the lower shape type first.
    const bool boxFirst = _placed->GetType() <= body->GetType();
    return intersect::Shapes(boxFirst ? *_placed : *body, boxFirst ? *body : *_placed, PriorMotion{})._hit;
}

void BehaviorAperture::FadeFlash(float dt)
{
    if (!_flashon)
        return;
    const float scale = _gentle ? kGentleFactor : kFadeScale;
    const float fraction = _flashtimer.duration > 0.0f ? _flashtimer.timer / _flashtimer.duration : 0.0f;
    LightFields::SetFactor(_flash.Get(), fraction * scale);
    _flashtimer.timer -= dt;
    if (_flashtimer.timer <= 0.0f)
    {
        _flashtimer.timer = _flashtimer.duration;
        LightFields::SetFactor(_flash.Get(), 0.0f);
        _flashon = false;
    }
}

void BehaviorAperture::Fire()
{
    _gentle = GameplayOptionLinks::IsFlashingDisabled();
    LightFields::SetFactor(_flash.Get(), _gentle ? kGentleFactor : kFlashFactor);
    _flashtimer.timer = _flashtimer.duration;
    _flashon = true;
    _flashSound.Play();
    if (_hit)
    {
        MessageSystem::Instance().Send(Message("killmonster", {}, 0.0f, true));
        _stateNext = 1;
    }
}

void BehaviorAperture::ShowLamp()
{
    const Lamp lamp = !_ready ? Lamp::NotReady : (_hit ? Lamp::OnTarget : Lamp::Ready);
    // Only changes are written: the lamp is set through the light's saved fields.
    if (lamp == _lamp)
        return;
    _lamp = lamp;
    switch (lamp)
    {
    case Lamp::NotReady:
        LightFields::SetColourAndOffset(GetOwner(), {1, 0, 0, 1}, {33, 43});
        break;
    case Lamp::Ready:
        LightFields::SetColourAndOffset(GetOwner(), {1, 1, 0, 1}, {22, 43});
        break;
    case Lamp::OnTarget:
        LightFields::SetColourAndOffset(GetOwner(), {0, 1, 0, 1}, {11, 43});
        break;
    case Lamp::Unknown:
        break;
    }
}

void BehaviorAperture::Update(float dt)
{
    Behavior::Update(dt);
    Entity* owner = GetOwner();
    Scene* scene = owner ? owner->GetScene() : nullptr;
    if (!scene)
        return;
    FadeFlash(dt);
    if (_state != 0)
        return;
    if (!_player.Get() || !_monster.Get())
    {
        _player = scene->FindEntity("player");
        _monster = scene->FindEntity("monster");
        _flash = scene->FindEntity("flash");
        return;
    }
    if (!_flash.Get())
        _flash = scene->FindEntity("flash");

    PlaceHitBox();
    _hit = MonsterInHitBox();
    ObjectiveSystem& objectives = ObjectiveSystem::Instance();
    _ready = objectives.GetRegister().empty() ? objectives.IsAllCollected() : objectives.EveryRecordCollected();
    if (_ready)
        objectives.SetAllCollected(true);

    const glm::vec2 at = owner->GetTransform().GetTranslation();
    const float distance = glm::distance(_player.Get()->GetTransform().GetTranslation(), at);
    if (distance < _activationRadius && InputSystem::Instance().IsTriggered("interact"))
    {
        _clickSound.Play();
        if (_ready)
            Fire();
        else
            MessageSystem::Instance().Send(Message("playertalk", {std::string(kNotReadyText)}, 0.0f, true));
    }
    ShowLamp();
}

void BehaviorAperture::Render()
{
    if (!GetOwner())
        return;
    if (_showactivationradius)
        Circle(GetOwner()->GetTransform().GetTranslation(), _activationRadius).DebugDraw();
    if (_showflashhitbox && _placed)
        _placed->DebugDraw();
}
