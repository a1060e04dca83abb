#include "physics/CollisionPass.h"

#include "core/Trace.h"
#include "data/EntityList.h"
#include "physics/Collider.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace
{
// A tiny region size would otherwise ask for billions of regions.
constexpr double kMaxRegions = 1 << 20;

// Data problems go to standard error as well as the log.
template <typename... Parts> void ReportOnce(bool& reported, const Parts&... parts)
{
    if (reported)
        return;
    reported = true;
    std::ostringstream text;
    (text << ... << parts);
    Trace::Error(text.str());
}
} // namespace

bool CollisionPass::PlanGrid(const CollisionWorld& world, float regionSize)
{
    _grid._origin = world._lowerLeftBound;
    const glm::vec2 size = world._upperRightBound - world._lowerLeftBound;
    if (!(regionSize > 0.0f))
    {
        ReportOnce(_reportedRegionSize, "Data/Static/collider.json: /regionsize: collision region size ", regionSize,
                   " is not positive; the whole scene is one region");
        _grid._columns = 1;
        _grid._rows = 1;
        _grid._cell = size;
        return true;
    }

    double columns = std::trunc(static_cast<double>(size.x) / regionSize);
    double rows = std::trunc(static_cast<double>(size.y) / regionSize);
    if (!(columns >= 1.0 && rows >= 1.0))
    {
        _grid._columns = 0;
        _grid._rows = 0;
        // Once per scene: another level may be too small as well.
        if (_reportedSmallScene[0] != world._lowerLeftBound || _reportedSmallScene[1] != world._upperRightBound)
            _reportedSmall = false;
        _reportedSmallScene[0] = world._lowerLeftBound;
        _reportedSmallScene[1] = world._upperRightBound;
        ReportOnce(_reportedSmall, "Scene of ", size.x, " x ", size.y, " is smaller than one collision region of ",
                   regionSize, "; no collisions are tested");
        return false;
    }

    float cellSize = regionSize;
    if (columns * rows > kMaxRegions)
    {
        cellSize = static_cast<float>(regionSize * std::sqrt(columns * rows / kMaxRegions));
        columns = std::max(1.0, std::trunc(static_cast<double>(size.x) / cellSize));
        rows = std::max(1.0, std::trunc(static_cast<double>(size.y) / cellSize));
        ReportOnce(_reportedGridCap, "Data/Static/collider.json: /regionsize: collision region size ", regionSize,
                   " makes too many regions; using ", cellSize);
    }
    _grid._columns = static_cast<int>(columns);
    _grid._rows = static_cast<int>(rows);
    _grid._cell = glm::vec2(cellSize);
    return true;
}

void CollisionPass::Run(EntityList& list, const CollisionWorld& world, float regionSize)
{
    _pairTests = 0;
    if (!PlanGrid(world, regionSize))
        return;

    _found.clear();
    _foundRegion.clear();
    const std::size_t regions = _grid.Count();
    _starts.assign(regions + 1, 0);
    for (const auto& entity : list.Entities())
    {
        if (entity->IsDestroyed())
            continue;
        auto* collider = entity->Get<Collider>(ctype::Collider);
        if (!collider || !collider->IsPlaced())
            continue;
        const glm::vec2& at = entity->GetTransform().GetTranslation();
        const auto region = static_cast<std::uint32_t>(_grid.Index(_grid.Column(at.x), _grid.Row(at.y)));
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
        _wallIndex.Build(*world._walls, _grid);

    const int columns = _grid._columns;
    const int rows = _grid._rows;
    for (int c = 0; c < columns; ++c)
    {
        for (int r = 0; r < rows; ++r)
        {
            const auto here = static_cast<std::uint32_t>(_grid.Index(c, r));
            const auto right = static_cast<std::uint32_t>(_grid.Index(c + 1, r));
            const bool hasRight = c + 1 < columns;
            const bool hasUp = r + 1 < rows;
            for (std::uint32_t i = _starts[here]; i < _starts[here + 1]; ++i)
            {
                Collider& a = *_sorted[i];
                TestAgainst(a, here, i + 1);
                if (hasRight)
                    TestAgainst(a, right, _starts[right]);
                if (hasUp)
                    TestAgainst(a, here + 1, _starts[here + 1]);
                if (hasRight && hasUp)
                    TestAgainst(a, right + 1, _starts[right + 1]);
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
