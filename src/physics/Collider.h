#pragma once

#include "data/Component.h"
#include "data/FieldDescriptor.h"
#include "data/StaticSettings.h"
#include "physics/Intersection.h"
#include "physics/Shape.h"

#include <cstdint>
#include <memory>

class Entity;
class LineBuffer;
class Physics;
class Transform;
class WallIndex;

// Gives an entity a collision shape. The collision pass tests colliders pairwise,
// pushes rigid pairs apart, passes status flags between them and tells their
// behaviours; rigid colliders are also swept against the level's walls.
class Collider : public ComponentBase<Collider>
{
public:
    static constexpr int kWallPasses = 5;

    Collider() : ComponentBase<Collider>(ctype::Collider) {}
    // The same settings and local shape, with fresh placed shapes and no owner.
    Collider(const Collider& other);
    Collider& operator=(const Collider&) = delete;

    void Read(const json& j) override;
    void Write(json& j) const override;
    void Init() override { Update(0.0f); }
    // Finds the owner's transform and Physics and places the shape where the entity is.
    void Update(float dt) override;

    // True when the two shapes touch; rigid pairs are separated, status flags are
    // exchanged and both behaviours are told.
    static bool Collide(Collider& a, Collider& b);
    // Slides and bounces a rigid body off the walls, up to five times; true only when
    // it still touches them after that (it is then put back where it stood). An index
    // of the walls makes it faster, never different.
    static bool CollideWalls(Collider& body, const LineBuffer& walls, const WallIndex* index = nullptr);

    // Gives the collider a shape of the shape's own type (for code that builds bodies).
    void SetShape(std::unique_ptr<Shape> local);
    const Shape* GetLocalShape() const { return _local.get(); }
    // The shape the tests use: placed in the world (line buffers are in world
    // coordinates already).
    const Shape* GetWorldShape() const;
    const Shape* GetPreviousShape() const { return _previous.get(); }
    // False until the first Update has found the owner.
    bool IsPlaced() const { return _transform != nullptr; }

    std::uint32_t GetShapeType() const { return _type; }
    bool IsStatic() const { return _static; }
    void SetStatic(bool isStatic) { _static = isStatic; }
    bool IsRigid() const { return _rigid; }
    void SetRigid(bool rigid) { _rigid = rigid; }
    bool IsEnabled() const { return _enabled; }
    void SetEnabled(bool enabled) { _enabled = enabled; }
    float GetRestitution() const { return _restitution; }
    void SetRestitution(float restitution) { _restitution = restitution; }
    bool CastsShadows() const { return _castshadows; }

    static const FieldDescriptor<Collider>& Descriptor();

    // Side of one square region of the collision grid, from Data/Static/collider.json.
    static StaticSettings& Settings();
    static float& RegionSize();

    // Stands for the walls as the other entity when a behaviour is told of a wall contact.
    static Entity& WallEntity();

private:
    void DropShapes();
    void RefreshWorldShape();
    // Where this body stood before its latest movement, for a line-buffer test.
    PriorMotion Motion() const;
    // The normal of a line-buffer hit turned to face where this body came from.
    glm::vec2 AwayFromLines(const glm::vec2& normal, const PriorMotion& motion) const;
    CollisionResult SweepWalls(const LineBuffer& walls, const WallIndex* index) const;
    static void Respond(Collider& p, Collider& q, const CollisionResult& result);
    static void ExchangeStatus(Entity& a, Entity& b);

    std::uint32_t _type = shape::None;
    bool _static = false;
    bool _rigid = false;
    bool _enabled = true;
    float _restitution = 1.0f;
    bool _castshadows = false;

    Transform* _transform = nullptr;
    Physics* _physics = nullptr;
    std::unique_ptr<Shape> _local;
    std::unique_ptr<Shape> _world;
    std::unique_ptr<Shape> _previous;
    bool _reportedNoPhysics = false;
};
