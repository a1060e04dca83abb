#include "behaviors/items/BehaviorTrapLightningJug.h"

#include "data/Entity.h"
#include "data/TypeRegistry.h"
#include "physics/Status.h"

#include <nlohmann/json.hpp>

GLOAMER_REGISTER_COMPONENT(BehaviorTrapLightningJug, ctype::Behavior)

void BehaviorTrapLightningJug::OnStatusGained(unsigned flag)
{
    if (flag != static_cast<unsigned>(StatusFlag::Slice))
        return;
    _stateNext = 1;
    if (Status* status = OwnStatus())
    {
        status->_permanent |= StatusBit(StatusFlag::Shock);
        status->_tempMask &= static_cast<std::uint16_t>(~StatusBit(StatusFlag::Slice));
    }
    Flare();
}

// The light is changed through its saved fields, so the jug works with any light
// component that keeps radius, factor, falloff and flash rate.
void BehaviorTrapLightningJug::Flare() const
{
    Component* light = GetOwner() ? GetOwner()->GetComponent(ctype::Lighting) : nullptr;
    if (!light)
        return;
    json fields = json::object();
    light->Write(fields);
    json changed = json::object();
    auto scale = [&](const char* key, auto change)
    {
        if (auto it = fields.find(key); it != fields.end() && it->is_number())
            changed[key] = change(it->template get<double>());
    };
    scale("radius", [](double v) { return v * kRadiusFlare; });
    scale("factor", [](double v) { return v * kFactorFlare; });
    scale("falloff", [](double v) { return v * kFalloffFlare; });
    scale("flashrate", [](double v) { return v / kFlashRateDivisor; });
    light->Read(changed);
}
