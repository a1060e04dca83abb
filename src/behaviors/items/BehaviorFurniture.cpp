#include "behaviors/items/BehaviorFurniture.h"

#include "behaviors/items/ArchetypeOrReport.h"
#include "core/Cheats.h"
#include "core/StdRandom.h"
#include "data/Entity.h"
#include "data/TypeRegistry.h"
#include "physics/Physics.h"
#include "physics/Status.h"
#include "scene/Scene.h"

#include <glm/trigonometric.hpp>

#include <cmath>
#include <numbers>

GLOAMER_REGISTER_COMPONENT(BehaviorFurniture, ctype::Behavior)

const FieldDescriptor<BehaviorFurniture>& BehaviorFurniture::Descriptor()
{
    static const FieldDescriptor<BehaviorFurniture> descriptor("BehaviorFurniture",
                                                               {
                                                                   GLOAMER_FIELD(BehaviorFurniture, _destroyMaterial),
                                                                   GLOAMER_FIELD(BehaviorFurniture, _leftoverAmount),
                                                                   GLOAMER_FIELD(BehaviorFurniture, _initialized),
                                                               });
    return descriptor;
}

void BehaviorFurniture::Read(const json& j)
{
    Behavior::Read(j);
    Descriptor().Read(*this, j);
}

void BehaviorFurniture::Write(json& j) const
{
    Behavior::Write(j);
    Descriptor().Write(*this, j);
}

void BehaviorFurniture::Init()
{
    _breaksound.Set("wood_break", 0.8f, false, true);
}

void BehaviorFurniture::Update(float dt)
{
    Behavior::Update(dt);
    if (GetOwner() && Cheats::IsTriggered("Destroy Furniture"))
        GetOwner()->Destroy();
}

void BehaviorFurniture::OnStatusGained(unsigned flag)
{
    if (flag == static_cast<unsigned>(StatusFlag::Slice) || flag == static_cast<unsigned>(StatusFlag::Smash))
        Break();
}

void BehaviorFurniture::Break()
{
    Entity* owner = GetOwner();
    // Two flags in one contact would otherwise break it twice.
    if (!owner || owner->IsDestroyed())
        return;
    owner->Destroy();
    _breaksound.Play();
    if (_leftoverAmount != 0 && _destroyMaterial != 0)
        ScatterChips();
}

void BehaviorFurniture::ScatterChips() const
{
    Scene* scene = GetOwner()->GetScene();
    const int n = _leftoverAmount + (StdRandom::Unit() < 0.5f ? 0 : 1);
    if (!scene || n <= 0)
        return;
    std::unique_ptr<Entity> chip = ArchetypeOrReport(kChipArchetype, "the furniture breaks without chips");
    if (!chip)
        return;
    if (!chip->Get<Physics>(ctype::Physics))
        chip->AddComponent(std::make_unique<Physics>());
    const glm::vec2 centre = GetOwner()->GetTransform().GetTranslation();
    for (int i = 0; i < n; ++i)
    {
        const float angle = static_cast<float>(i) * 2.0f * std::numbers::pi_v<float> / static_cast<float>(n) +
                            StdRandom::Unit() * 2.0f * kChipScatter - kChipScatter;
        const glm::vec2 direction(std::cos(angle), std::sin(angle));
        std::unique_ptr<Entity> copy = chip->Clone();
        const glm::vec2 at = centre + kChipDistance * direction;
        copy->GetTransform().SetTranslation(at);
        copy->GetTransform().SetRotation(StdRandom::Unit() * 360.0f);
        Physics* physics = copy->Get<Physics>(ctype::Physics);
        physics->SetOldPosition(at);
        physics->SetVelocity(kChipSpeed * direction);
        scene->AddEntity(std::move(copy));
    }
}
