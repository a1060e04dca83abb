#pragma once

#include "behaviors/Behavior.h"

// A puddle of glue, water or the like: what it does to whatever steps in it is all in
// its Status data.
class BehaviorPuddle : public ComponentBase<BehaviorPuddle, Behavior>
{
public:
    std::string_view GetName() const override { return "behaviorpuddle"; }
    std::uint32_t GetFlags() const override { return 1u << ctype::Status; }
};
