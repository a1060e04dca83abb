#pragma once

#include "physics/WallIndex.h"

#include <glm/vec2.hpp>

#include <cstddef>
#include <cstdint>
#include <vector>

class Collider;
class EntityList;
class LineBuffer;

// What the pass needs from the scene it runs in.
struct CollisionWorld
{
    glm::vec2 _lowerLeftBound{0.0f};
    glm::vec2 _upperRightBound{0.0f};
    const LineBuffer* _walls = nullptr; // null: the scene has no walls
};

// The once-per-frame collision pass over a scene's entities; each scene owns one. A uniform grid of square
// regions limits the pairs tested: each collider meets the others in its own region
// and in the regions to its right, above, and above-right. Every rigid body is then
// swept against the walls. The grid's storage is kept between passes.
class CollisionPass
{
public:
    // Bodies outside the bounds count as being in the nearest edge region.
    void Run(EntityList& list, const CollisionWorld& world, float regionSize);

    int Columns() const { return _grid._columns; }
    int Rows() const { return _grid._rows; }
    // Pairs handed to the pair test in the latest pass.
    std::size_t PairTests() const { return _pairTests; }

private:
    // False when no region fits (nothing is tested then).
    bool PlanGrid(const CollisionWorld& world, float regionSize);
    void TestAgainst(Collider& a, std::uint32_t region, std::size_t from);

    RegionGrid _grid;
    std::size_t _pairTests = 0;

    // Colliders by region: _starts[r] .. _starts[r + 1] index _sorted, in list order.
    std::vector<Collider*> _found;
    std::vector<std::uint32_t> _foundRegion;
    std::vector<std::uint32_t> _starts;
    std::vector<std::uint32_t> _cursor;
    std::vector<Collider*> _sorted;
    WallIndex _wallIndex;

    bool _reportedRegionSize = false;
    bool _reportedGridCap = false;
    glm::vec2 _reportedSmallScene[2]{glm::vec2(0.0f), glm::vec2(0.0f)};
    bool _reportedSmall = false;
};
