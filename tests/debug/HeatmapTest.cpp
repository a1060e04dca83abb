#include "TestSupport.h"

#include "core/Cheats.h"
#include "core/DebugLines.h"
#include "core/MessageSystem.h"
#include "debug/DebugSystem.h"
#include "debug/Heatmap.h"

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <set>

using ::testing::HasSubstr;
namespace fs = std::filesystem;

namespace
{
bool s_gather = false;

bool GatherQuery(std::string_view name)
{
    return s_gather && name == "Gather Heatmap";
}

std::vector<glm::vec2> Points(const nlohmann::json& list)
{
    std::vector<glm::vec2> points;
    for (const auto& p : list)
        points.emplace_back(p.at("x").get<float>(), p.at("y").get<float>());
    return points;
}

std::set<std::string> HeatmapFiles()
{
    std::set<std::string> names;
    if (fs::is_directory(DebugSystem::kHeatmapFolder))
        for (const auto& entry : fs::directory_iterator(DebugSystem::kHeatmapFolder))
            names.insert(entry.path().filename().string());
    return names;
}
} // namespace

class HeatmapTest : public test::ScratchTest
{
protected:
    DebugSystem& _debug = DebugSystem::Instance();
    MessageSystem& _board = MessageSystem::Instance();

    void SetUp() override
    {
        ScratchTest::SetUp();
        Cheats::SetQuery(&GatherQuery);
        s_gather = false;
    }

    // One frame: the debug system updates, then the board takes consumed messages down.
    void Frame(float dt = 0.25f, bool toggle = false)
    {
        s_gather = toggle;
        _debug.Update(dt);
        s_gather = false;
        _board.Update(dt);
    }
    void Toggle() { Frame(0.25f, true); }

    // Deaths and the monster's position are posted to be taken down by their reader.
    void Post(const std::string& name, glm::vec2 at) { _board.Send(Message(name, {at}, 0.0f, name != "playerdata")); }
};

TEST_F(HeatmapTest, PositionsAreSampledOncePerSecondAndDeathsWheneverTheyHappen)
{
    Post("playerdata", {9, 9});
    Frame();
    EXPECT_FALSE(_debug.IsGathering());
    EXPECT_TRUE(_debug.Samples().Empty()) << "nothing is gathered while off";

    // Switching on samples at once, then every second.
    Post("playerdata", {0, 0});
    Post("monster_pos", {0, 5});
    Toggle();
    ASSERT_TRUE(_debug.IsGathering());
    for (int frame = 1; frame < 4; ++frame)
    {
        Post("playerdata", {static_cast<float>(frame), 0.0f});
        Post("monster_pos", {-static_cast<float>(frame), 5.0f});
        if (frame == 2)
            Post("player_dead", {40, 50});
        Frame();
    }
    EXPECT_EQ(_debug.Samples()._positions, (std::vector<glm::vec2>{{0, 0}}));
    EXPECT_EQ(_debug.Samples()._monster, (std::vector<glm::vec2>{{0, 5}}));
    EXPECT_EQ(_debug.Samples()._deaths, (std::vector<glm::vec2>{{40, 50}})) << "recorded between samples";
    EXPECT_EQ(_board.Get("player_dead"), nullptr) << "a death is consumed";

    Frame(); // the second's last quarter
    Frame();
    EXPECT_EQ(_debug.Samples()._positions, (std::vector<glm::vec2>{{0, 0}, {3, 0}}));
    EXPECT_EQ(_debug.Samples()._monster, (std::vector<glm::vec2>{{0, 5}, {-3, 5}}));
    EXPECT_NE(_board.Get("playerdata"), nullptr) << "the player's data stays for its other readers";
    EXPECT_EQ(_board.Get("monster_pos"), nullptr) << "the monster's position is consumed";

    Toggle();
    EXPECT_FALSE(_debug.IsGathering());
    const nlohmann::json file = nlohmann::json::parse(test::ReadFile(_debug.LastHeatmapFile()));
    EXPECT_EQ(Points(file.at("Positions")), _debug.Samples()._positions);
    EXPECT_EQ(Points(file.at("Deaths")), (std::vector<glm::vec2>{{40, 50}}));
    EXPECT_EQ(Points(file.at("Monster")), _debug.Samples()._monster);
}

TEST_F(HeatmapTest, TwoHeatmapsWrittenWithinOneSecondAreBothKept)
{
    // Toggled on and off at once: at most one sample of each.
    for (int round = 0; round < 3; ++round)
    {
        Post("playerdata", {static_cast<float>(round), 1.0f});
        Toggle();
        Toggle();
    }
    const std::set<std::string> files = HeatmapFiles();
    ASSERT_EQ(files.size(), 3u);
    for (const std::string& name : files)
    {
        EXPECT_TRUE(name.starts_with("Heatmap_")) << name;
        const auto j = nlohmann::json::parse(test::ReadFile(fs::path(DebugSystem::kHeatmapFolder) / name));
        EXPECT_LE(j.at("Positions").size(), 1u) << name;
    }

    // The same stamp again gets the next free number.
    const fs::path folder = "stamps";
    fs::create_directories(folder);
    EXPECT_EQ(FreeHeatmapPath(folder, "S"), folder / "Heatmap_S.json");
    test::WriteFile(folder / "Heatmap_S.json", "{}");
    EXPECT_EQ(FreeHeatmapPath(folder, "S"), folder / "Heatmap_S_2.json");
    test::WriteFile(folder / "Heatmap_S_2.json", "{}");
    EXPECT_EQ(FreeHeatmapPath(folder, "S"), folder / "Heatmap_S_3.json");
    EXPECT_EQ(HeatmapTimeStamp(0).size(), std::string("1970-01-01_00-00-00").size());
}

TEST_F(HeatmapTest, AnUnwritableFolderIsReportedAndGatheringGoesOn)
{
    // A file where the folder should be: nothing can be written under it, even by root.
    test::WriteFile(DebugSystem::kHeatmapFolder, "in the way");
    Post("playerdata", {3, 4});
    Toggle();
    Toggle();
    EXPECT_TRUE(_debug.IsGathering());
    EXPECT_EQ(_debug.Samples()._positions, (std::vector<glm::vec2>{{3, 4}}));
    EXPECT_THAT(test::ReadTrace(), HasSubstr(": cannot write the heatmap"));

    fs::remove(DebugSystem::kHeatmapFolder);
    Post("playerdata", {5, 6});
    Frame(1.0f);
    Frame(1.0f);
    Toggle();
    EXPECT_FALSE(_debug.IsGathering());
    const auto j = nlohmann::json::parse(test::ReadFile(_debug.LastHeatmapFile()));
    EXPECT_EQ(Points(j.at("Positions")).front(), glm::vec2(3, 4)) << "nothing gathered before the failure is lost";
    EXPECT_EQ(Points(j.at("Positions")).back(), glm::vec2(5, 6));
}

TEST_F(HeatmapTest, QuittingWhileGatheringWritesWhatWasGathered)
{
    Post("monster_pos", {7, 8});
    Toggle();
    _debug.Exit();
    ASSERT_EQ(HeatmapFiles().size(), 1u);
    const auto j = nlohmann::json::parse(test::ReadFile(_debug.LastHeatmapFile()));
    EXPECT_EQ(Points(j.at("Monster")), (std::vector<glm::vec2>{{7, 8}}));
    EXPECT_EQ(HeatmapFromJson(j)._monster, (std::vector<glm::vec2>{{7, 8}})) << "the tool reads what the game writes";
}

TEST_F(HeatmapTest, DebugLinesAreEmptiedEachFrameEvenWithoutAWindow)
{
    DebugLines::Instance().DrawCircle({0, 0}, 10.0f, {1, 0, 0, 1});
    DebugLines::Instance().DrawRectangle(-1, 1, 1, -1, {0, 1, 0, 1});
    EXPECT_EQ(DebugLines::Instance().Segments().size(), 36u);
    _debug.Render();
    EXPECT_TRUE(DebugLines::Instance().Segments().empty());
    EXPECT_TRUE(DebugLines::Instance().Colours().empty());
    EXPECT_EQ(_debug.LastLineCount(), 0u);
}
