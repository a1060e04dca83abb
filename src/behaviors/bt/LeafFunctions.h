#pragma once

#include "behaviors/bt/BTNode.h"

#include <glm/vec2.hpp>

#include <array>
#include <functional>
#include <string>

class Blackboard;

// What a leaf runs: (blackboard, read key, write key, extra text, usually an entity name).
using LeafFunction = std::function<BTNode::Status(Blackboard&, unsigned, unsigned, const std::string&)>;
using LeafFunctionPointer = BTNode::Status (*)(Blackboard&, unsigned, unsigned, const std::string&);

struct LeafRow
{
    const char* _name; // lower case
    LeafFunctionPointer _function;
};

// The library's leaf functions by row; the float and vec2 tables differ only in row 6,
// the copy, which copies a value of the table's type.
namespace leaf
{
inline constexpr unsigned kCustom = 0;
inline constexpr unsigned kDefaultNothing = 1;
inline constexpr unsigned kPositionOfEntity = 2;
inline constexpr unsigned kThisPos = 3;
inline constexpr unsigned kDistanceTo = 4;
inline constexpr unsigned kDistanceToEntity = 5;
inline constexpr unsigned kCopy = 6;
inline constexpr unsigned kRandomPos = 7;
inline constexpr unsigned kRandomValidPos = 8;
inline constexpr unsigned kGoTo = 9;
inline constexpr unsigned kSetState = 10;
inline constexpr unsigned kPathfindTo = 11;
inline constexpr unsigned kCloseEnoughTo = 12;
inline constexpr unsigned kDirectSightline = 13;
inline constexpr unsigned kIsGreater = 14;
inline constexpr unsigned kIsEqual = 15;
inline constexpr unsigned kRows = 16;

using Table = std::array<LeafRow, kRows>;

const Table& FloatTable();
const Table& Vec2Table();

template <typename T> const Table& TableFor();
template <> inline const Table& TableFor<float>()
{
    return FloatTable();
}
template <> inline const Table& TableFor<glm::vec2>()
{
    return Vec2Table();
}
} // namespace leaf
