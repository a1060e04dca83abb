#include "behaviors/items/BehaviorTrap.h"

#include "data/Entity.h"
#include "physics/Status.h"

const FieldDescriptor<BehaviorTrap>& BehaviorTrap::Descriptor()
{
    static const FieldDescriptor<BehaviorTrap> descriptor("BehaviorTrap", {
                                                                              GLOAMER_FIELD(BehaviorTrap, _deployTime),
                                                                              GLOAMER_FIELD(BehaviorTrap, _numUses),
                                                                          });
    return descriptor;
}

void BehaviorTrap::Read(const json& j)
{
    Behavior::Read(j);
    Descriptor().Read(*this, j);
}

void BehaviorTrap::Write(json& j) const
{
    Behavior::Write(j);
    Descriptor().Write(*this, j);
}

Status* BehaviorTrap::OwnStatus() const
{
    return GetOwner() ? GetOwner()->Get<Status>(ctype::Status) : nullptr;
}
