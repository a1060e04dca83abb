#include "physics/Collider.h"

#include "core/Trace.h"
#include "data/DataFileScope.h"
#include "data/Entity.h"
#include "data/JsonError.h"
#include "data/TypeRegistry.h"
#include "physics/Circle.h"
#include "physics/ContactListener.h"
#include "physics/LineBuffer.h"
#include "physics/Physics.h"
#include "physics/Point.h"
#include "physics/Polygon.h"
#include "physics/Status.h"

#include <glm/geometric.hpp>

#include <cmath>
#include <utility>

GLOAMER_REGISTER_COMPONENT(Collider, ctype::Collider)

namespace
{
float s_regionSize = 0.0f;

// Reused by every wall sweep of a polygon so steady frames allocate nothing.
Polygon& SweepScratch()
{
    static Polygon scratch;
    return scratch;
}

// The entity's behaviour, which hears of its contacts.
ContactListener* ListenerOf(Entity& entity)
{
    return dynamic_cast<ContactListener*>(entity.GetComponent(ctype::Behavior));
}

// Receiver takes the giver's flags; each new bit is announced to both behaviours.
void GiveStatus(Status& receiver, ContactListener* receiverBehavior, const Status& giver,
                ContactListener* giverBehavior)
{
    const std::uint16_t changed = receiver.Receive(giver);
    if (changed == 0)
        return;
    for (unsigned i = 0; i < kStatusFlagCount; ++i)
    {
        if (!(changed & (1u << i)))
            continue;
        if (receiverBehavior)
        {
            receiverBehavior->OnStatusGained(i);
            if (giverBehavior)
                giverBehavior->OnStatusGiven(i);
        }
        else if (giverBehavior)
        {
            giverBehavior->OnStatusGained(i);
        }
    }
}
} // namespace

const FieldDescriptor<Collider>& Collider::Descriptor()
{
    static const FieldDescriptor<Collider> descriptor("Collider", {
                                                                      GLOAMER_FIELD(Collider, _type),
                                                                      GLOAMER_FIELD(Collider, _static),
                                                                      GLOAMER_FIELD(Collider, _rigid),
                                                                      GLOAMER_FIELD(Collider, _enabled),
                                                                      GLOAMER_FIELD(Collider, _restitution),
                                                                      GLOAMER_FIELD(Collider, _castshadows),
                                                                  });
    return descriptor;
}

StaticSettings& Collider::Settings()
{
    static StaticSettings settings("Collider", {{&s_regionSize, "_regionsize"}});
    settings.EnsureLoaded();
    return settings;
}

float& Collider::RegionSize()
{
    Settings();
    return s_regionSize;
}

Entity& Collider::WallEntity()
{
    static Entity wall("wall");
    return wall;
}

Collider::Collider(const Collider& other)
    : ComponentBase<Collider>(other), _type(other._type), _static(other._static), _rigid(other._rigid),
      _enabled(other._enabled), _restitution(other._restitution), _castshadows(other._castshadows)
{
    if (other._local)
    {
        _local = other._local->Clone();
        _world = CreateShape(_local->GetType());
        _previous = CreateShape(_local->GetType());
    }
}

void Collider::DropShapes()
{
    _local.reset();
    _world.reset();
    _previous.reset();
}

void Collider::SetShape(std::unique_ptr<Shape> local)
{
    DropShapes();
    if (!local)
    {
        _type = shape::None;
        return;
    }
    _type = local->GetType();
    _world = CreateShape(_type);
    _previous = CreateShape(_type);
    _local = std::move(local);
    RefreshWorldShape();
}

void Collider::Read(const json& j)
{
    Descriptor().Read(*this, j);
    if (_type >= shape::None)
    {
        if (auto it = j.find("type"); _type != shape::None && it != j.end())
            ReportDataError(DataFileScope::Current(), JsonPathOf(*it),
                            "shape type " + std::to_string(_type) + " is not 0 to 5; the collider has no shape");
        DropShapes();
        return;
    }
    // A later file may change the type of a collider read before.
    if (_local && _local->GetType() != _type)
        DropShapes();
    if (!_local)
    {
        _local = CreateShape(_type);
        _world = CreateShape(_type);
        _previous = CreateShape(_type);
    }
    if (auto it = j.find("shape"); it != j.end())
        _local->Read(*it);
}

void Collider::Write(json& j) const
{
    Descriptor().Write(*this, j);
    if (_local)
    {
        json shapeJson = json::object();
        _local->Write(shapeJson);
        j["shape"] = std::move(shapeJson);
    }
}

void Collider::Update(float)
{
    Entity* owner = GetOwner();
    if (!owner)
        return;
    _transform = &owner->GetTransform();
    _physics = owner->Get<Physics>(ctype::Physics);
    if (_rigid && !_physics && !_reportedNoPhysics)
    {
        _reportedNoPhysics = true;
        Trace::Error("Collider of entity \"" + owner->GetName() +
                     "\" is rigid but the entity has no Physics; it is treated as static with mass 1");
    }
    RefreshWorldShape();
}

const Shape* Collider::GetWorldShape() const
{
    return _type == shape::LineBuffer ? _local.get() : _world.get();
}

void Collider::RefreshWorldShape()
{
    if (!_local || !_transform)
        return;
    switch (_local->GetType())
    {
    case shape::Polygon:
        std::swap(_world, _previous);
        static_cast<Polygon&>(*_world).PlaceFrom(static_cast<const Polygon&>(*_local), _transform->GetMatrix());
        break;
    case shape::Circle:
        std::swap(_world, _previous);
        static_cast<Circle&>(*_world).PlaceFrom(static_cast<const Circle&>(*_local), _transform->GetMatrix(),
                                                _transform->GetScale().x);
        break;
    case shape::Point:
        std::swap(_world, _previous);
        static_cast<Point&>(*_world).PlaceFrom(static_cast<const Point&>(*_local), _transform->GetTranslation());
        break;
    default:
        break;
    }
}

PriorMotion Collider::Motion() const
{
    PriorMotion motion;
    const glm::vec2 position = _transform->GetTranslation();
    // A body without Physics has no record of moving.
    if (!_physics)
    {
        if (_type == shape::Circle)
            motion._oldCenter = static_cast<const Circle&>(*_world)._center;
        else if (_type == shape::Point)
            motion._oldCenter = static_cast<const Point&>(*_world)._center;
        return motion;
    }
    // A centre off the entity's origin moved with the entity, so it came from its own
    // earlier place, not from the entity's.
    const glm::vec2 back = _physics->GetOldPosition() - position;
    motion._displacement = back;
    if (_type == shape::Circle)
        motion._oldCenter = static_cast<const Circle&>(*_world)._center + back;
    else if (_type == shape::Point)
        motion._oldCenter = static_cast<const Point&>(*_world)._center + back;
    return motion;
}

glm::vec2 Collider::AwayFromLines(const glm::vec2& normal, const PriorMotion& motion) const
{
    glm::vec2 moved = -motion._displacement;
    if (_type == shape::Circle)
        moved = static_cast<const Circle&>(*_world)._center - motion._oldCenter;
    else if (_type == shape::Point)
        moved = static_cast<const Point&>(*_world)._center - motion._oldCenter;
    return glm::dot(normal, moved) > 0.0f ? -normal : normal;
}

bool Collider::Collide(Collider& a, Collider& b)
{
    if (!a._local || !b._local || !a._enabled || !b._enabled || !a.IsPlaced() || !b.IsPlaced())
        return false;
    Collider* first = &a;
    Collider* second = &b;
    if (b._local->GetType() < a._local->GetType())
        std::swap(first, second);

    PriorMotion motion;
    const bool lines = first->_type == shape::LineBuffer;
    if (lines)
        motion = second->Motion();
    CollisionResult result = intersect::Shapes(*first->GetWorldShape(), *second->GetWorldShape(), motion);
    if (!result._hit)
        return false;
    // Swept tests give the line's own normal, which may face along the motion; the
    // push must go back to the side the body came from.
    if (lines)
        result._normal = second->AwayFromLines(result._normal, motion);
    if (first->_rigid && second->_rigid)
        Respond(*first, *second, result);

    Entity& ea = *a.GetOwner();
    Entity& eb = *b.GetOwner();
    ExchangeStatus(ea, eb);
    if (ContactListener* behavior = ListenerOf(ea))
        behavior->OnCollision(ea, eb);
    if (ContactListener* behavior = ListenerOf(eb))
        behavior->OnCollision(eb, ea);
    return true;
}

void Collider::ExchangeStatus(Entity& a, Entity& b)
{
    Status* sa = a.Get<Status>(ctype::Status);
    Status* sb = b.Get<Status>(ctype::Status);
    if (!sa || !sb)
        return;
    ContactListener* ba = ListenerOf(a);
    ContactListener* bb = ListenerOf(b);
    GiveStatus(*sa, ba, *sb, bb);
    GiveStatus(*sb, bb, *sa, ba);
}

void Collider::Respond(Collider& p, Collider& q, const CollisionResult& result)
{
    // Lines are fixed in the world: the body takes the whole push and bounces as off
    // a wall. A rigid body without Physics was reported when placed; it stays put.
    const bool lines = p._type == shape::LineBuffer;
    const bool pStatic = lines || p._static || !p._physics;
    const bool qStatic = q._static || !q._physics;
    const float mp = p._physics ? p._physics->GetMass() : 1.0f;
    const float mq = q._physics ? q._physics->GetMass() : 1.0f;
    const glm::vec2 n = result._normal;
    const float d = result._depth;

    // Massless pairs split the push evenly rather than dividing by zero.
    const float total = mp + mq;
    const float share = lines ? 0.0f : total != 0.0f ? mq / total : 0.5f;
    if (!pStatic)
        p._transform->SetTranslation(p._transform->GetTranslation() - n * d * share);
    if (!qStatic)
        q._transform->SetTranslation(q._transform->GetTranslation() + n * d * (1.0f - share));

    const glm::vec2 vp = p._physics ? p._physics->GetVelocity() : glm::vec2(0.0f);
    const glm::vec2 vq = q._physics ? q._physics->GetVelocity() : glm::vec2(0.0f);
    const float restitution = (p._restitution + q._restitution) * 0.5f;
    float j = -(1.0f + restitution) * glm::dot(vp - vq, n) / (1.0f / mq + (lines ? 0.0f : 1.0f / mp));
    // Masses that cancel out (m and -m) give no usable impulse.
    if (!std::isfinite(j))
        j = 0.0f;
    if (!pStatic)
        p._physics->SetVelocity(vp + n * (mp > 0.0f ? j / mp : j));
    if (!qStatic)
        q._physics->SetVelocity(vq - n * (mq > 0.0f ? j / mq : j));

    p.RefreshWorldShape();
    q.RefreshWorldShape();
}

CollisionResult Collider::SweepWalls(const LineBuffer& walls, const WallIndex* index) const
{
    const glm::vec2 position = _transform->GetTranslation();
    const glm::vec2 old = _physics->GetOldPosition();
    switch (_local->GetType())
    {
    case shape::Polygon:
    {
        Polygon& placed = SweepScratch();
        placed.PlaceFrom(static_cast<const Polygon&>(*_local), _transform->GetMatrix());
        return intersect::LineBufferPolygon(walls, placed, old - position, index);
    }
    case shape::Circle:
    {
        Circle placed;
        placed.PlaceFrom(static_cast<const Circle&>(*_local), _transform->GetMatrix(), _transform->GetScale().x);
        return intersect::LineBufferCircle(walls, placed, placed._center + (old - position), index);
    }
    case shape::Point:
    {
        const glm::vec2 local = static_cast<const Point&>(*_local)._center;
        return intersect::LineBufferPoint(walls, Point(local + position), local + old, index);
    }
    default:
        return {};
    }
}

bool Collider::CollideWalls(Collider& body, const LineBuffer& walls, const WallIndex* index)
{
    // Without Physics a body has no old position to sweep from and never moves.
    if (!body._local || !body._rigid || !body.IsPlaced() || !body._physics)
        return false;
    Transform& transform = *body._transform;
    Physics& physics = *body._physics;
    Entity& owner = *body.GetOwner();
    const float restitution = body._restitution;

    for (int pass = 0; pass < kWallPasses; ++pass)
    {
        const CollisionResult hit = body.SweepWalls(walls, index);
        if (!hit._hit)
            return false;
        const glm::vec2 n = hit._normal;
        const glm::vec2 old = physics.GetOldPosition();
        glm::vec2 moved = transform.GetTranslation() - old;
        if (moved == glm::vec2(0.0f))
            moved = -n;
        const float k = hit._depth / glm::length(moved) * glm::dot(moved, n);
        transform.SetTranslation(old + moved - n * k * (restitution + 1.01f));

        const glm::vec2 v = physics.GetVelocity();
        physics.SetVelocity(v + n * (-(restitution + 1.0f) * glm::dot(v, n)));

        body.RefreshWorldShape();
        if (ContactListener* behavior = ListenerOf(owner))
            behavior->OnCollision(owner, WallEntity());
    }
    physics.SetVelocity(glm::vec2(0.0f));
    transform.SetTranslation(physics.GetOldPosition());
    body.RefreshWorldShape();
    return true;
}
