#pragma once

#include "core/Cheats.h"

#include <set>
#include <string>

namespace test
{
// Makes exactly these cheats count as completed until the next call; the fixture's reset
// puts the real query back.
inline void TriggerCheats(std::set<std::string> names)
{
    static std::set<std::string> s_names;
    s_names = std::move(names);
    Cheats::SetQuery([](std::string_view name) { return s_names.count(std::string(name)) > 0; });
}
} // namespace test
