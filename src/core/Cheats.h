#pragma once

#include <string_view>

// Which developer cheats were completed this frame. The cheat system answers once it is
// wired in; until then, and in tests that wire nothing, no cheat is ever triggered. Any
// layer may ask, so lights, cameras and behaviours react without knowing the matcher.
namespace Cheats
{
using Query = bool (*)(std::string_view name);

// Null restores "never triggered".
void SetQuery(Query query);
// True for exactly the one frame after the cheat's sequence completed.
bool IsTriggered(std::string_view name);
} // namespace Cheats
