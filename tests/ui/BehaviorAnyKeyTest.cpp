#include "TestSupport.h"

#include "data/Entity.h"
#include "ui/BehaviorAnyKey.h"

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

using ::testing::HasSubstr;
using ::testing::Not;

using BehaviorAnyKeyTest = test::ScratchTest;

// An end screen without somewhere to go would swallow every key and never leave.
TEST_F(BehaviorAnyKeyTest, AScreenWithoutANextSceneIsReportedWithItsFileAndPath)
{
    const auto entity = Entity::FromJson(nlohmann::json::parse(R"({"name": "exit", "components": {
        "behavioranykey": {"delay": 2}}})"),
                                         "Data/Level/end.json");
    ASSERT_NE(entity, nullptr);
    EXPECT_NE(entity->Get<BehaviorAnyKey>(ctype::Behavior), nullptr) << "the screen still loads";
    EXPECT_NE(
        Entity::FromJson(nlohmann::json::parse(R"({"components": {"behavioranykey": {"nextscene": "main_menu"}}})"),
                         "Data/Level/fine.json"),
        nullptr);

    const std::string trace = test::ReadTrace();
    EXPECT_THAT(trace, HasSubstr("Data/Level/end.json: /components/behavioranykey: no \"nextscene\""));
    EXPECT_THAT(trace, Not(HasSubstr("fine.json")));
}
