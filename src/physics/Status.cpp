#include "physics/Status.h"

#include "data/DataFileScope.h"
#include "data/JsonError.h"
#include "data/TypeRegistry.h"

#include <cmath>

GLOAMER_REGISTER_COMPONENT(Status, ctype::Status)

namespace
{
struct MaskKey
{
    const char* key;
    std::uint16_t Status::*member;
};

constexpr MaskKey kKeys[] = {
    {"tempmask", &Status::_tempMask},
    {"permmask", &Status::_permMask},
    {"temporary", &Status::_temporary},
    {"permanent", &Status::_permanent},
};

// Any JSON number, wrapped to 16 bits the way an integer conversion would; a
// floating-point value is truncated first.
std::uint16_t ToBits(const json& value)
{
    if (value.is_number_unsigned())
        return static_cast<std::uint16_t>(value.get<std::uint64_t>());
    if (value.is_number_integer())
        return static_cast<std::uint16_t>(value.get<std::int64_t>());
    double wrapped = std::fmod(std::trunc(value.get<double>()), 65536.0);
    if (wrapped < 0.0)
        wrapped += 65536.0;
    return static_cast<std::uint16_t>(wrapped);
}
} // namespace

void Status::Read(const json& j)
{
    FieldIo::RequireObject(j);
    for (const MaskKey& k : kKeys)
    {
        auto it = j.find(k.key);
        if (it == j.end())
            continue;
        if (!it->is_number())
        {
            ReportDataError(DataFileScope::Current(), JsonPathOf(*it),
                            std::string("type must be number, but is ") + it->type_name() + "; key skipped");
            continue;
        }
        this->*k.member = ToBits(*it);
    }
}

void Status::Write(json& j) const
{
    for (const MaskKey& k : kKeys)
        j[k.key] = static_cast<unsigned>(this->*k.member);
}

void Status::Update(float)
{
    _temporary = 0;
}

std::uint16_t Status::Receive(const Status& giver)
{
    const std::uint16_t offered = giver._permanent | giver._temporary;
    const std::uint16_t temporary = _temporary | (_tempMask & offered);
    const std::uint16_t permanent = _permanent | (_permMask & offered);
    const std::uint16_t changed = (temporary ^ _temporary) | (permanent ^ _permanent);
    _temporary = temporary;
    _permanent = permanent;
    return changed;
}

float Status::SpeedMultiplier() const
{
    const unsigned held = (_temporary & _tempMask) | (_permanent & _permMask);
    float multiplier = 1.0f;
    for (unsigned i = 0; i < kStatusFlagCount; ++i)
        if (held & (1u << i))
            multiplier *= kStatusSpeedMultipliers[i];
    return multiplier;
}
