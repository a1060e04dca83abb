#include "physics/CollisionPass.h"

#include "core/Trace.h"
#include "data/EntityList.h"
#include "physics/Collider.h"

#include <algorithm>
#include <cmath>

namespace
{
// A tiny region size would otherwise ask for billions of regions.
constexpr double kMaxRegions = 1 << 20;

CollisionPass::WorldProvider s_provider = nullptr;

const bool s_hookInstalled = []
{
    EntityList::SetCollisionPass(&CollisionPass::RunForList);
    return true;
}();

int Clamped(float cell, int count)
{
    // Comparisons first: a position far away (or not a number) must not reach the cast.
    if (cell >= static_cast<float>(count - 1))
        return count - 1;
    return cell > 0.0f ? static_cast<int>(cell) : 0;
}
} // namespace

CollisionPass& CollisionPass::Shared()
{
    static CollisionPass pass;
    return pass;
}

void CollisionPass::SetWorldProvider(WorldProvider provider)
{
    s_provider = provider;
}

void CollisionPass::ResetShared()
{
    s_provider = nullptr;
    Shared() = CollisionPass();
}

void CollisionPass::RunForList(EntityList& list)
{
    CollisionWorld world;
    if (!s_provider || !s_provider(list, world))
        return;
    Shared().Run(list, world, Collider::RegionSize());
}

bool CollisionPass::PlanGrid(const CollisionWorld& world, float regionSize)
{
    _origin = world._lowerLeftBound;
    const glm::vec2 size = world._upperRightBound - world._lowerLeftBound;
    if (!(regionSize > 0.0f))
    {
        if (!_reportedRegionSize)
        {
            _reportedRegionSize = true;
            Trace::Stream()
                << "Collision region size " << regionSize
                << " is not positive (Data/Static/collider.json \"regionsize\"); the whole scene is one region"
                << Trace::endm;
        }
        _columns = 1;
        _rows = 1;
        _cell = size;
        return true;
    }

    double columns = std::trunc(static_cast<double>(size.x) / regionSize);
    double rows = std::trunc(static_cast<double>(size.y) / regionSize);
    if (!(columns >= 1.0 && rows >= 1.0))
    {
        _columns = 0;
        _rows = 0;
        if (!_reportedSmall || _reportedSmallScene[0] != world._lowerLeftBound ||
            _reportedSmallScene[1] != world._upperRightBound)
        {
            _reportedSmall = true;
            _reportedSmallScene[0] = world._lowerLeftBound;
            _reportedSmallScene[1] = world._upperRightBound;
            Trace::Stream() << "Scene of " << size.x << " x " << size.y << " is smaller than one collision region of "
                            << regionSize << "; no collisions are tested" << Trace::endm;
        }
        return false;
    }

    float cellSize = regionSize;
    if (columns * rows > kMaxRegions)
    {
        cellSize = static_cast<float>(regionSize * std::sqrt(columns * rows / kMaxRegions));
        columns = std::max(1.0, std::trunc(static_cast<double>(size.x) / cellSize));
        rows = std::max(1.0, std::trunc(static_cast<double>(size.y) / cellSize));
        if (!_reportedGridCap)
        {
            _reportedGridCap = true;
            Trace::Stream() << "Collision region size " << regionSize << " makes too many regions; using " << cellSize
                            << Trace::endm;
        }
    }
    _columns = static_cast<int>(columns);
    _rows = static_cast<int>(rows);
    _cell = glm::vec2(cellSize);
    return true;
}

std::uint32_t CollisionPass::RegionOf(const glm::vec2& position) const
{
    const glm::vec2 cell = (position - _origin) / _cell;
    const int column = Clamped(cell.x, _columns);
    const int row = Clamped(cell.y, _rows);
    return static_cast<std::uint32_t>(column * _rows + row);
}

void CollisionPass::Run(EntityList& list, const CollisionWorld& world, float regionSize)
{
    _pairTests = 0;
    if (!PlanGrid(world, regionSize))
        return;

    _found.clear();
    _foundRegion.clear();
    const std::size_t regions = static_cast<std::size_t>(_columns) * static_cast<std::size_t>(_rows);
    _starts.assign(regions + 1, 0);
    for (const auto& entity : list.Entities())
    {
        if (entity->IsDestroyed())
            continue;
        auto* collider = entity->Get<Collider>(ctype::Collider);
        if (!collider || !collider->IsPlaced())
            continue;
        const std::uint32_t region = RegionOf(entity->GetTransform().GetTranslation());
        _found.push_back(collider);
        _foundRegion.push_back(region);
        ++_starts[region + 1];
    }
    for (std::size_t r = 0; r < regions; ++r)
        _starts[r + 1] += _starts[r];
    _cursor.assign(_starts.begin(), _starts.end() - 1);
    _sorted.resize(_found.size());
    for (std::size_t i = 0; i < _found.size(); ++i)
        _sorted[_cursor[_foundRegion[i]]++] = _found[i];

    if (world._walls)
        _wallIndex.Build(*world._walls, _origin, _cell, _columns, _rows);

    for (int c = 0; c < _columns; ++c)
    {
        for (int r = 0; r < _rows; ++r)
        {
            const std::uint32_t here = static_cast<std::uint32_t>(c * _rows + r);
            const bool right = c + 1 < _columns;
            const bool up = r + 1 < _rows;
            for (std::uint32_t i = _starts[here]; i < _starts[here + 1]; ++i)
            {
                Collider& a = *_sorted[i];
                TestAgainst(a, here, i + 1);
                if (right)
                    TestAgainst(a, here + static_cast<std::uint32_t>(_rows), _starts[here + _rows]);
                if (up)
                    TestAgainst(a, here + 1, _starts[here + 1]);
                if (right && up)
                    TestAgainst(a, here + static_cast<std::uint32_t>(_rows) + 1, _starts[here + _rows + 1]);
                if (world._walls)
                    Collider::CollideWalls(a, *world._walls, &_wallIndex);
            }
        }
    }
}

void CollisionPass::TestAgainst(Collider& a, std::uint32_t region, std::size_t from)
{
    const std::size_t end = _starts[region + 1];
    for (std::size_t j = from; j < end; ++j)
    {
        ++_pairTests;
        Collider::Collide(a, *_sorted[j]);
    }
}
