#pragma once

#include "data/Component.h"
#include "data/FieldDescriptor.h"

#include <glm/vec2.hpp>

// Moves its entity: velocity into position, rotational velocity into rotation,
// acceleration into velocity, then ground friction. Remembers where the entity stood
// before the step so colliders can sweep the movement against walls.
class Physics : public ComponentBase<Physics>
{
public:
    // Standard gravity in world units (centimetres) per second squared.
    static constexpr float kGravity = 980.665f;

    Physics() : ComponentBase<Physics>(ctype::Physics) {}

    void Read(const json& j) override;
    void Write(json& j) const override;
    void Update(float dt) override;

    // Heads for the target at the given speed (stopping within one unit of it) and
    // turns that fraction of the way toward the heading.
    void MoveToward(const glm::vec2& target, float speed, float turnFraction);

    // The angle (degrees) a fraction t of the way from a to b, through the smaller
    // angle; the result lies in [-180, 180].
    static float TurnToward(float a, float b, float t);

    const glm::vec2& GetVelocity() const { return _velocity; }
    void SetVelocity(const glm::vec2& velocity) { _velocity = velocity; }
    const glm::vec2& GetAcceleration() const { return _acceleration; }
    void SetAcceleration(const glm::vec2& acceleration) { _acceleration = acceleration; }
    float GetRotationalVelocity() const { return _rotationalVelocity; }
    void SetRotationalVelocity(float degreesPerSecond) { _rotationalVelocity = degreesPerSecond; }
    float GetMass() const { return _mass; }
    void SetMass(float mass) { _mass = mass; }
    float GetFriction() const { return _friction; }
    void SetFriction(float friction) { _friction = friction; }
    const glm::vec2& GetOldPosition() const { return _oldPosition; }
    void SetOldPosition(const glm::vec2& position) { _oldPosition = position; }

    static const FieldDescriptor<Physics>& Descriptor();

private:
    glm::vec2 _acceleration{0.0f};
    glm::vec2 _velocity{0.0f};
    float _rotationalVelocity = 0.0f;
    float _mass = 100.0f;
    float _friction = 0.5f;
    glm::vec2 _oldPosition{0.0f};
};
