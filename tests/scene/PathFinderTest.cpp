#include "scene/TilemapTestSupport.h"

#include "behaviors/bt/BehaviorTree.h"
#include "behaviors/bt/LeafFunctions.h"
#include "behaviors/bt/Sightline.h"
#include "data/Entity.h"
#include "physics/Physics.h"
#include "scene/PathFinder.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"
#include "scene/Tilemap.h"

#include <glm/geometric.hpp>

using json = nlohmann::json;

namespace
{
class PathFinderTest : public test::ScratchTest
{
protected:
    void TearDown() override
    {
        _scene.reset();
        SceneSystem::Instance().Reset();
        ScratchTest::TearDown();
    }

    // A level of the given rows at 10 units per tile with one path-finding entity.
    PathFinder& Load(const std::vector<std::string>& rows, bool withMap = true)
    {
        test::WriteTileMap("maze", rows);
        const json hunter = json::array({{{"name", "hunter"}, {"components", {{"pathfinder", json::object()}}}}});
        if (withMap)
            test::WriteTileLevel("maze", {{"map", "maze"}}, hunter);
        else
            test::WriteFile("Data/Level/maze.json", json({{"entities", hunter}}).dump());
        _scene = std::make_unique<Scene>("maze");
        _scene->Init();
        _hunter = _scene->FindEntity("hunter");
        return *_hunter->Get<PathFinder>(ctype::PathFinder);
    }

    glm::vec2 Cell(int x, int y) const { return pathmap::CellCentre(_scene->GetTilemap()->GetPathMap(), x, y); }
    void MoveTo(const glm::vec2& p) { _hunter->GetTransform().SetTranslation(p); }

    std::unique_ptr<Scene> _scene;
    Entity* _hunter = nullptr;
};

// A serpentine of corridors, `turns` of them, each `length` cells long: the search has
// to walk every corridor.
std::vector<std::string> Serpentine(int turns, int length)
{
    std::vector<std::string> rows;
    for (int t = 0; t < turns; ++t)
    {
        rows.push_back(std::string(static_cast<std::size_t>(length), '.'));
        std::string wall(static_cast<std::size_t>(length), '#');
        wall[t % 2 == 0 ? static_cast<std::size_t>(length - 1) : 0] = '.';
        rows.push_back(wall);
    }
    rows.push_back(std::string(static_cast<std::size_t>(length), '.'));
    return rows;
}
} // namespace

TEST_F(PathFinderTest, ARequestedPathIsFollowedToItsEnd)
{
    PathFinder& finder = Load({"..........", "..........", "...####...", "..........", ".........."});
    EXPECT_EQ(finder.GetState(), PathFinder::Idle);
    MoveTo(Cell(0, 2));
    finder.RequestPath(Cell(9, 2));
    EXPECT_EQ(finder.GetState(), PathFinder::SearchRequested);
    _scene->Update(0.016f);
    ASSERT_EQ(finder.GetState(), PathFinder::PathAvailable);
    ASSERT_GE(finder.GetWaypoints().size(), 2u);
    EXPECT_EQ(finder.GetWaypoints().front()._position, Cell(9, 2));
    EXPECT_EQ(finder.GetTarget(), Cell(9, 2));

    // Walk the path: each update drops the waypoints within reach.
    int steps = 0;
    while (finder.GetState() == PathFinder::PathAvailable && steps < 100)
    {
        const std::size_t before = finder.GetWaypoints().size();
        const glm::vec2 next = finder.GetWaypoints().back()._position;
        EXPECT_GE(glm::distance(_hunter->GetTransform().GetTranslation(), next), PathFinder::kReachDistance);
        MoveTo(next);
        _scene->Update(0.016f);
        EXPECT_LT(finder.GetWaypoints().size(), before);
        ++steps;
    }
    EXPECT_EQ(finder.GetState(), PathFinder::Idle);
    EXPECT_LT(glm::distance(_hunter->GetTransform().GetTranslation(), Cell(9, 2)), 2.0f * PathFinder::kReachDistance);
}

TEST_F(PathFinderTest, ATargetInAWallKeepsTheOldPathAndTheSameCellGivesNone)
{
    PathFinder& finder = Load({"..........", "..........", "...####...", "..........", ".........."});
    MoveTo(Cell(0, 0));
    finder.RequestPath(Cell(9, 4));
    _scene->Update(0.016f);
    ASSERT_EQ(finder.GetState(), PathFinder::PathAvailable);
    const std::vector<Waypoint> path = finder.GetWaypoints();
    ASSERT_FALSE(path.empty());

    finder.RequestPath(Cell(4, 2));
    _scene->Update(0.016f);
    EXPECT_EQ(finder.GetState(), PathFinder::PathAvailable);
    ASSERT_EQ(finder.GetWaypoints().size(), path.size());
    EXPECT_EQ(finder.GetWaypoints().front()._position, path.front()._position);

    finder.RequestPath(Cell(0, 0) + glm::vec2(1.0f, -2.0f));
    _scene->Update(0.016f);
    EXPECT_TRUE(finder.GetWaypoints().empty());
    EXPECT_EQ(finder.GetState(), PathFinder::Idle);
}

TEST_F(PathFinderTest, AnUnreachableTargetIsApproachedAsCloseAsTheWallsAllow)
{
    PathFinder& finder = Load({".....#....", ".....#....", ".....#...."});
    MoveTo(Cell(0, 1));
    finder.RequestPath(Cell(8, 1));
    _scene->Update(0.016f);
    ASSERT_EQ(finder.GetState(), PathFinder::PathAvailable);
    EXPECT_EQ(finder.GetWaypoints().front()._position, Cell(8, 1)) << "the path still names the target";
    const PathMap& map = _scene->GetTilemap()->GetPathMap();
    const PathNode& last = map._nodes[static_cast<std::size_t>(finder.GetCellPath().back())];
    EXPECT_EQ(glm::ivec2(last._x, last._y), glm::ivec2(4, 1));
}

TEST_F(PathFinderTest, ALongSearchIsSpreadOverUpdatesAndRestartsWhenTheMapChanges)
{
    PathFinder& finder = Load(Serpentine(20, 120));
    MoveTo(Cell(0, 40));
    finder.RequestPath(Cell(119, 0));
    _scene->Update(0.016f);
    EXPECT_EQ(finder.GetState(), PathFinder::SearchRequested);
    EXPECT_TRUE(finder.IsSearching());
    EXPECT_TRUE(finder.GetWaypoints().empty());
    int updates = 1;
    while (finder.GetState() == PathFinder::SearchRequested && updates < 20)
    {
        _scene->Update(0.016f);
        ++updates;
    }
    ASSERT_EQ(finder.GetState(), PathFinder::PathAvailable);
    EXPECT_GT(updates, 1);
    EXPECT_EQ(finder.GetWaypoints().front()._position, Cell(119, 0));

    // Opening a shortcut makes the finder search again.
    ASSERT_TRUE(_scene->GetTilemap()->SetTile(Tilemap::kWalls, 0, 1, 0));
    _scene->Update(0.016f);
    EXPECT_EQ(finder.GetState(), PathFinder::SearchRequested);
}

TEST_F(PathFinderTest, RandomPositionsAreWalkableAndWithoutAMapThereIsNoPath)
{
    PathFinder& finder = Load({"#####", "#...#", "#####"});
    std::srand(3);
    for (int i = 0; i < 20; ++i)
    {
        const glm::ivec2 cell = pathmap::CellOf(_scene->GetTilemap()->GetPathMap(), finder.RandomWalkablePosition());
        EXPECT_EQ(cell.y, 1);
        EXPECT_TRUE(cell.x >= 1 && cell.x <= 3);
    }

    PathFinder& lost = Load({"..."}, false);
    MoveTo({12.0f, 34.0f});
    EXPECT_EQ(lost.RandomWalkablePosition(), glm::vec2(12.0f, 34.0f));
    lost.RequestPath({100.0f, 0.0f});
    _scene->Update(0.016f);
    EXPECT_EQ(lost.GetState(), PathFinder::Idle);
    EXPECT_TRUE(lost.GetWaypoints().empty());
}

// The monster's path leaf steers toward the next waypoint and asks for a new path only
// when its target moved more than 5 units; its sightline sees the tile map's walls.
TEST_F(PathFinderTest, ThePathLeafRepathsOnlyBeyondFiveUnitsAndSightlinesStopAtTileWalls)
{
    const std::string open(30, '.');
    PathFinder& finder = Load({open, open, "..........##########..........", open, open});
    auto* physics = static_cast<Physics*>(_hunter->AddComponent(std::make_unique<Physics>()));
    MoveTo(Cell(0, 2));
    BehaviorTree tree;
    tree.Bind(nullptr, _hunter);
    Blackboard& board = tree.GetBlackboard();
    board.ResetVec2(0);
    board.GetVec2(0) = Cell(29, 2);
    board.ResetFloat(1);
    board.GetFloat(1) = 100.0f;
    tree.Root(0).SetLeaf(leaf::kPathfindTo, 0, 1, "");

    EXPECT_EQ(tree.Tick(0), BTNode::Failure) << "no path until the search has run";
    EXPECT_EQ(finder.GetState(), PathFinder::SearchRequested);
    _scene->Update(0.016f);
    ASSERT_FALSE(finder.GetWaypoints().empty());
    EXPECT_EQ(tree.Tick(0), BTNode::Running);
    const glm::vec2 toNext = finder.GetWaypoints().back()._position - _hunter->GetTransform().GetTranslation();
    EXPECT_GT(glm::dot(physics->GetVelocity(), toNext), 0.0f) << "steers toward the next waypoint";

    board.GetVec2(0) = Cell(29, 2) + glm::vec2(5.0f, 0.0f);
    tree.Tick(0);
    EXPECT_EQ(finder.GetState(), PathFinder::PathAvailable) << "exactly 5 units keeps the path";
    EXPECT_EQ(finder.GetTarget(), Cell(29, 2));
    board.GetVec2(0) = Cell(29, 2) + glm::vec2(0.0f, 5.5f);
    tree.Tick(0);
    EXPECT_EQ(finder.GetState(), PathFinder::SearchRequested);
    EXPECT_EQ(finder.GetTarget(), Cell(29, 2) + glm::vec2(0.0f, 5.5f));

    EXPECT_FALSE(sightline::IsClear(*_scene, Cell(15, 0), Cell(15, 4)));
    EXPECT_TRUE(sightline::IsClear(*_scene, Cell(0, 0), Cell(29, 0)));
}
