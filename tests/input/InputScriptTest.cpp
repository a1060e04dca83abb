#include "TestSupport.h"

#include "input/InputScript.h"
#include "input/InputSystem.h"

#include <gmock/gmock.h>

using ::testing::HasSubstr;

using InputScriptTest = test::ScratchTest;

TEST_F(InputScriptTest, StepsPlayAtTheirFrameAndBadStepsOrFilesAreReported)
{
    test::WriteFile("script.json", R"([
        {"frame": 2, "press": [69, 0], "cursor": {"x": 300, "y": 200}},
        {"frame": 2, "scroll": -1.5},
        {"frame": 4, "release": [69]},
        {"frame": 5, "press": [87], "release": [87]}])");
    InputScript script;
    ASSERT_TRUE(script.Load("script.json"));
    InputSystem& input = InputSystem::Instance();
    input.LoadBindings(nlohmann::json::parse(R"({"keys": {"interact": [69], "click": [0], "up": [87]}})"), "x");

    script.Play(1);
    EXPECT_FALSE(input.IsDown("interact"));
    script.Play(2);
    EXPECT_TRUE(input.IsTriggered("interact"));
    EXPECT_TRUE(input.IsDown("click"));
    EXPECT_EQ(input.GetMousePosition(), glm::vec2(300.0f, 200.0f));
    EXPECT_DOUBLE_EQ(input.GetScroll(), -1.5);
    input.Update(0.0f);
    script.Play(4);
    EXPECT_TRUE(input.IsReleased("interact"));
    input.Update(0.0f);
    script.Play(5);
    EXPECT_FALSE(input.IsDown("up")) << "pressed and released in one frame";
    EXPECT_EQ(input.GetLastKey(), 87);

    test::WriteFile("script.json", R"([{"press": [1]}, {"frame": "x"}, {"frame": 1, "press": "E"},
                                       {"frame": 3, "press": [69]}, {"frame": 4, "release": [65, 1e12]},
                                       {"frame": 1e30}])");
    InputScript bad;
    ASSERT_TRUE(bad.Load("script.json"));
    EXPECT_EQ(bad.Steps().size(), 1u);
    EXPECT_EQ(bad.Steps().begin()->first, 3);
    for (const char* line : {"script.json: /0: key 'frame' not found", "script.json: /2/press: type must be array",
                             "script.json: /4/release/1: number 1000000000000.0 is out of range for int",
                             "script.json: /5/frame: number 1e+30 is out of range for int"})
        EXPECT_THAT(test::ReadTrace(), HasSubstr(line));

    InputScript files;
    EXPECT_FALSE(files.Load("absent.json"));
    test::WriteFile("object.json", R"({"frame": 1})");
    EXPECT_FALSE(files.Load("object.json"));
    test::WriteFile("cut.json", R"([{"frame": 1)");
    EXPECT_FALSE(files.Load("cut.json"));
    EXPECT_TRUE(files.Empty());
    for (const char* line : {"absent.json: cannot open the input script",
                             "object.json: an input script must be an array of steps", "cut.json: parse error"})
        EXPECT_THAT(test::ReadTrace(), HasSubstr(line));
}
