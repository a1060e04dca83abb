#include "TestSupport.h"

#include "debug/HeatmapImage.h"

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>
#include <stb_image.h>

#include <sstream>

using ::testing::HasSubstr;

namespace
{
HeatmapSamples Walked()
{
    HeatmapSamples s;
    for (int i = 0; i < 20; ++i)
        s._positions.emplace_back(100.0f + static_cast<float>(i % 3), 100.0f);
    s._positions.emplace_back(-200.0f, 250.0f); // once only
    s._monster = {{-300.0f, -150.0f}};
    s._deaths = {{300.0f, -100.0f}};
    return s;
}

const std::string kLevel = R"({"entities": [
    {"name": "room", "transform": {"translation": {"x": 0, "y": 0}, "scale": {"x": 800, "y": 600}}},
    {"name": "noplace"}]})";

int Brightness(const glm::ivec4& p)
{
    return p.r + p.g + p.b;
}
} // namespace

TEST(HeatmapImage, PositionsGlowHottestWhereTheyGatherOverTheLevel)
{
    const LevelTopView level = TopViewFromLevel(nlohmann::json::parse(kLevel));
    ASSERT_EQ(level._boxes.size(), 1u) << "an entry without a transform has no box";
    const HeatmapImage image = RenderHeatmap(Walked(), level, 640);
    ASSERT_EQ(image._width, 640);
    ASSERT_EQ(image._rgba.size(), static_cast<std::size_t>(image._width * image._height * 4));

    const auto at = [&](glm::vec2 world)
    {
        const glm::ivec2 p = image.PixelOf(world);
        EXPECT_TRUE(p.x >= 0 && p.y >= 0 && p.x < image._width && p.y < image._height) << world.x << ", " << world.y;
        return image.At(p.x, p.y);
    };
    const glm::ivec4 hot = at({101, 100});
    const glm::ivec4 once = at({-200, 250});
    const glm::ivec4 floor = at({-100, -250});
    const glm::ivec4 outside = at({-430, 330});
    EXPECT_GT(Brightness(hot), Brightness(once)) << "more visits, warmer colour";
    EXPECT_GT(Brightness(once), Brightness(floor)) << "a single visit still shows";
    EXPECT_GT(Brightness(floor), Brightness(outside)) << "the level's floor stands out from the void";
    EXPECT_GT(hot.r, hot.b);

    const glm::ivec4 monster = at({-300, -150});
    EXPECT_GT(monster.b, monster.r) << "the monster in a colour of its own";
    const glm::ivec4 death = at({300, -100});
    EXPECT_EQ(Brightness(death), 3 * 255) << "a death's mark has a white centre";
    const glm::ivec2 centre = image.PixelOf({300, -100});
    const glm::ivec4 arm = image.At(centre.x + 3, centre.y - 3);
    EXPECT_GT(arm.r, 200);
    EXPECT_LT(arm.g, 100);
}

class HeatmapToolTest : public test::ScratchTest
{
protected:
    std::ostringstream _out, _err;

    int Run(const std::vector<std::string>& args) { return RunHeatmapTool(args, _out, _err); }
};

TEST_F(HeatmapToolTest, WritesAPngOfTheHeatmapOverItsNamedLevel)
{
    test::WriteFile("game/Data/Level/cellar.json", kLevel);
    test::WriteFile("walk.json", HeatmapToJson(Walked(), "cellar").dump(4));
    ASSERT_EQ(Run({"--data", "game", "--width", "400", "walk.json", "walk.png"}), 0) << _err.str();
    EXPECT_EQ(_err.str(), "");

    int w = 0, h = 0, n = 0;
    unsigned char* png = stbi_load("walk.png", &w, &h, &n, 4);
    ASSERT_NE(png, nullptr);
    const HeatmapImage expected = RenderHeatmap(Walked(), TopViewFromLevel(nlohmann::json::parse(kLevel)), 400);
    EXPECT_EQ(w, expected._width);
    EXPECT_EQ(h, expected._height);
    EXPECT_EQ(std::vector<unsigned char>(png, png + w * h * 4), expected._rgba) << "the picture the game would draw";
    stbi_image_free(png);
}

TEST_F(HeatmapToolTest, BadFilesAndCommandLinesAreSaidPlainly)
{
    EXPECT_EQ(Run({"walk.json"}), 2);
    EXPECT_EQ(Run({"--width", "wide", "walk.json", "out.png"}), 2);
    EXPECT_EQ(Run({"missing.json", "out.png"}), 1);
    EXPECT_THAT(_err.str(), HasSubstr("missing.json: cannot open the heatmap"));

    test::WriteFile("bad.json", R"({"Positions": [{"x": 1, "y": "up"}]})");
    EXPECT_EQ(Run({"bad.json", "out.png"}), 1);
    EXPECT_THAT(_err.str(), HasSubstr("bad.json: "));
    EXPECT_THAT(_err.str(), HasSubstr("/Positions/0/y"));
    EXPECT_FALSE(std::filesystem::exists("out.png")) << "no picture of a file that could not be read";

    // A level that cannot be found still gives a picture of the samples.
    test::WriteFile("lost.json", HeatmapToJson(Walked(), "nowhere").dump());
    EXPECT_EQ(Run({"lost.json", "out.png"}), 0);
    EXPECT_THAT(_err.str(), HasSubstr("Data/Level/nowhere.json: cannot open the level"));
    EXPECT_TRUE(std::filesystem::exists("out.png"));
}
