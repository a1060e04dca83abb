#include "TestSupport.h"
#include "e2e/GameRun.h"

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

using e2e::RunGame;
using ::testing::HasSubstr;

using ObjectiveEndToEndTest = test::ScratchTest;

TEST_F(ObjectiveEndToEndTest, TheObjectiveLabLoadsItsObjectsTrapsAndKeeperCleanly)
{
    CopyContent();
    ASSERT_EQ(RunGame("--data " + _scratch.string() +
                      " --headless --scene objectivelab --fixed-dt 0.016 --seed 3 --frames 40 --dump 30:dump.json"),
              0)
        << test::ReadFile("output.txt");

    const std::string trace = test::ReadFile("Trace.log");
    EXPECT_THAT(trace, HasSubstr("CheatSystem, ObjectiveSystem, InputSystem, MessageSystem"));
    EXPECT_EQ(test::ReadFile("output.txt"), "") << "nothing in the level is reported";

    const nlohmann::json dump = nlohmann::json::parse(test::ReadFile("dump.json"));
    std::vector<int> ids;
    int traps = 0;
    for (const auto& e : dump.at("scenes").at(0).at("entities"))
    {
        const auto& components = e.at("components");
        if (components.contains("behaviorcollectable"))
            ids.push_back(components["behaviorcollectable"].at("id").get<int>());
        for (const char* trap : {"behaviortrapglue", "behaviortrapfirejug", "behaviortraplightningjug"})
            traps += components.contains(trap) ? 1 : 0;
        if (components.contains("behaviorscorekeeper"))
        {
            EXPECT_EQ(components["behaviorscorekeeper"].at("currcollectables"), 0);
        }
    }
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(traps, 3);
}
