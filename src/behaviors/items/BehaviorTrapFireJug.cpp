#include "behaviors/items/BehaviorTrapFireJug.h"

#include "data/TypeRegistry.h"
#include "physics/Status.h"

GLOAMER_REGISTER_COMPONENT(BehaviorTrapFireJug, ctype::Behavior)

void BehaviorTrapFireJug::OnStatusGained(unsigned flag)
{
    if (flag != static_cast<unsigned>(StatusFlag::Ignite) && flag != static_cast<unsigned>(StatusFlag::Slice))
        return;
    _stateNext = Breaking;
    if (Status* status = OwnStatus())
    {
        status->_permanent |= StatusBit(StatusFlag::Ignite);
        // Broken glass cannot be cut again.
        status->_tempMask &= static_cast<std::uint16_t>(~StatusBit(StatusFlag::Slice));
    }
}

void BehaviorTrapFireJug::Update(float dt)
{
    Behavior::Update(dt);
    if (_state == Breaking)
        _stateNext = Broken;
}
