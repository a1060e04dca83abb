#include "data/Component.h"

#include <array>

std::string_view TypeName(CType type)
{
    static constexpr std::array<std::string_view, ctype::Count> kNames = {
        "sprite",      "animation",   "behavior", "pathfinder",   "transform",      "physics",
        "collider",    "anchor",      "lighting", "status",       "flashlight",     "particleemitter",
        "particlerig", "progressbar", "tooltip",  "pausemanager", "creditsmanager", "soundlistener",
    };
    return type < kNames.size() ? kNames[type] : std::string_view();
}
