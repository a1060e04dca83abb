#include "physics/Physics.h"

#include "data/Entity.h"
#include "data/TypeRegistry.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>

GLOAMER_REGISTER_COMPONENT(Physics, ctype::Physics)

namespace
{
constexpr float kDegreesPerRadian = 57.29578f;
}

const FieldDescriptor<Physics>& Physics::Descriptor()
{
    static const FieldDescriptor<Physics> descriptor("Physics", {
                                                                    GLOAMER_FIELD(Physics, _acceleration),
                                                                    GLOAMER_FIELD(Physics, _velocity),
                                                                    GLOAMER_FIELD(Physics, _rotationalVelocity),
                                                                    GLOAMER_FIELD(Physics, _mass),
                                                                    GLOAMER_FIELD(Physics, _friction),
                                                                });
    return descriptor;
}

void Physics::Read(const json& j)
{
    Descriptor().Read(*this, j);
}

void Physics::Write(json& j) const
{
    Descriptor().Write(*this, j);
}

void Physics::Update(float dt)
{
    if (!GetOwner())
        return;
    Transform& transform = GetOwner()->GetTransform();
    _oldPosition = transform.GetTranslation();
    transform.SetTranslation(_oldPosition + _velocity * dt);
    transform.SetRotation(transform.GetRotation() + _rotationalVelocity * dt);

    _velocity += _acceleration * dt;
    const float speed = glm::length(_velocity);
    if (speed == 0.0f)
        return;
    // Mass cancels out of the friction force, so a mass of 0 needs no special case.
    const float slowed = std::clamp(speed - _friction * kGravity * dt, 0.0f, speed);
    _velocity = _velocity / speed * slowed;
}

void Physics::MoveToward(const glm::vec2& target, float speed, float turnFraction)
{
    if (!GetOwner())
        return;
    Transform& transform = GetOwner()->GetTransform();
    const glm::vec2 toTarget = target - transform.GetTranslation();
    const float distance = glm::length(toTarget);
    _velocity = distance < 1.0f ? glm::vec2(0.0f) : toTarget / distance * speed;
    const float heading = std::atan2(_velocity.y, _velocity.x) * kDegreesPerRadian;
    transform.SetRotation(TurnToward(transform.GetRotation(), heading, turnFraction));
}

float Physics::TurnToward(float a, float b, float t)
{
    const float ar = a / kDegreesPerRadian;
    const float br = b / kDegreesPerRadian;
    const glm::vec2 from(std::cos(ar), std::sin(ar));
    glm::vec2 u = from + (glm::vec2(std::cos(br), std::sin(br)) - from) * t;
    const float length = glm::length(u);
    // Exactly opposite headings met halfway have no direction; turn a quarter
    // counter-clockwise so the next call can finish the turn.
    u = length > 1e-6f ? u / length : glm::vec2(-from.y, from.x);
    const float angle = std::acos(std::clamp(u.x, -1.0f, 1.0f)) * kDegreesPerRadian;
    return u.y < 0.0f ? -angle : angle;
}
