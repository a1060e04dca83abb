#include "behaviors/bt/BTNode.h"

#include <array>

namespace
{
constexpr std::array<const char*, 7> kKindNames{"Leaf",      "Sequence",         "Fallback",        "Parallel",
                                                "Decorator", "Decorator_Invert", "Decorator_Repeat"};
} // namespace

const char* BTNode::KindName(std::int32_t kind)
{
    return kind >= 0 && kind < static_cast<std::int32_t>(kKindNames.size()) ? kKindNames[kind] : "";
}

void BTNode::Indent(std::string& out, int depth)
{
    out.append(static_cast<std::size_t>(depth > 0 ? depth * 2 : 0), ' ');
}
