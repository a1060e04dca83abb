#pragma once

#include "RecordingBehavior.h"

#include "data/Entity.h"
#include "physics/Circle.h"
#include "physics/Collider.h"
#include "physics/LineBuffer.h"
#include "physics/Physics.h"
#include "physics/Polygon.h"
#include "physics/Status.h"

#include <memory>
#include <string>

namespace test
{
struct BodyOptions
{
    bool rigid = true;
    bool physics = true;
    bool behavior = true;
    float mass = 100.0f;
    glm::vec2 velocity{0.0f};
};

// An entity at a position with a collider of the given shape, and by default a
// Physics (friction 0) and a recording behaviour. The collider is initialised.
inline std::unique_ptr<Entity> Body(const std::string& name, const glm::vec2& position, std::unique_ptr<Shape> shape,
                                    const BodyOptions& options = {})
{
    auto e = std::make_unique<Entity>(name);
    e->GetTransform().SetTranslation(position);
    if (options.physics)
    {
        auto* physics = static_cast<Physics*>(e->AddComponent(std::make_unique<Physics>()));
        physics->SetMass(options.mass);
        physics->SetFriction(0.0f);
        physics->SetVelocity(options.velocity);
        physics->SetOldPosition(position);
    }
    if (options.behavior)
        e->AddComponent(std::make_unique<RecordingBehavior>());
    auto* collider = static_cast<Collider*>(e->AddComponent(std::make_unique<Collider>()));
    collider->SetRigid(options.rigid);
    collider->SetShape(std::move(shape));
    collider->Init();
    return e;
}

inline std::unique_ptr<Entity> Ball(const std::string& name, const glm::vec2& position, float radius = 10.0f,
                                    const BodyOptions& options = BodyOptions())
{
    return Body(name, position, std::make_unique<Circle>(glm::vec2(0.0f), radius), options);
}

// A static, non-rigid line collider, as the walls that block sight and sound.
inline std::unique_ptr<Entity> Wall(const glm::vec2& from, const glm::vec2& to)
{
    auto e = std::make_unique<Entity>("wall");
    auto lines = std::make_unique<LineBuffer>();
    lines->_lines = {{from, to}};
    auto* collider = static_cast<Collider*>(e->AddComponent(std::make_unique<Collider>()));
    collider->SetStatic(true);
    collider->SetShape(std::move(lines));
    return e;
}

inline Collider& ColliderOf(Entity& e)
{
    return *e.Get<Collider>(ctype::Collider);
}

inline Physics& PhysicsOf(Entity& e)
{
    return *e.Get<Physics>(ctype::Physics);
}

inline Status& AddStatus(Entity& e, std::uint16_t tempMask, std::uint16_t permMask, std::uint16_t permanent)
{
    auto* status = static_cast<Status*>(e.AddComponent(std::make_unique<Status>()));
    status->_tempMask = tempMask;
    status->_permMask = permMask;
    status->_permanent = permanent;
    return *status;
}
} // namespace test
