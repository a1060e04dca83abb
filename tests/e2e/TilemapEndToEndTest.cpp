#include "TestSupport.h"
#include "e2e/GameRun.h"

#include <glm/vec3.hpp>
#include <gmock/gmock.h>
#include <nlohmann/json.hpp>
#include <stb_image.h>

#include <memory>

using e2e::RunGame;
using json = nlohmann::json;
using ::testing::HasSubstr;
using ::testing::Not;

namespace
{
class TilemapEndToEndTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        CopyContent();
        _data = "--data " + _scratch.string();
    }

    std::string Output() const { return test::ReadFile(_scratch / "output.txt"); }

    std::string _data;
};

const json* FindEntity(const json& dump, const std::string& name)
{
    for (const json& scene : dump.at("scenes"))
        for (const json& entity : scene.at("entities"))
            if (entity.value("name", "") == name)
                return &entity;
    return nullptr;
}
} // namespace

TEST_F(TilemapEndToEndTest, ABodyDrivenIntoATileMapWallStopsAtIt)
{
    // A 10 x 5 map of 64-unit tiles centred on the origin; column 7 is a wall whose left
    // face stands at x = 128.
    json walls = json::array(), floor = json::array();
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 10; ++x)
        {
            floor.push_back(2);
            walls.push_back(x == 7 ? 4 : 0);
        }
    test::WriteFile("Data/Tilemap/walled.json",
                    json({{"width", 10}, {"height", 5}, {"layers", {{{"data", floor}}, {{"data", walls}}}}}).dump());
    const json crate = {
        {"name", "crate"},
        {"transform", {{"translation", {{"x", -100}, {"y", 0}}}}},
        {"components",
         {{"physics", {{"velocity", {{"x", 400}, {"y", 0}}}, {"friction", 0}}},
          {"collider", {{"type", 2}, {"rigid", true}, {"restitution", 0}, {"shape", {{"radius", 16}}}}}}}};
    test::WriteFile("Data/Level/walled.json",
                    json({{"tilemap", {{"map", "walled"}, {"nodescale", 64}}}, {"entities", {crate}}}).dump());

    ASSERT_EQ(RunGame(_data + " --headless --fixed-dt 0.016 --seed 3 --frames 61 --scene walled --dump 60:dump.json"),
              0)
        << Output();
    const json dump = json::parse(test::ReadFile("dump.json"));
    const json* body = FindEntity(dump, "crate");
    ASSERT_NE(body, nullptr) << dump.dump(2);
    const float x = body->at("transform").at("translation").at("x").get<float>();
    const float y = body->at("transform").at("translation").at("y").get<float>();
    // Unhindered it would be at x = 284 by now.
    EXPECT_LE(x, 128.0f - 16.0f + 0.01f);
    EXPECT_GT(x, 100.0f) << "it reached the wall";
    EXPECT_NEAR(y, 0.0f, 0.01f);
    EXPECT_NEAR(body->at("components").at("physics").at("velocity").at("x").get<float>(), 0.0f, 0.01f)
        << "it stays stopped against the wall";
    EXPECT_EQ(dump["scenes"][0]["tilemap"]["map"], "walled");
    EXPECT_THAT(test::ReadFile("Trace.log"), Not(HasSubstr("Data/")));
}

TEST_F(TilemapEndToEndTest, Level1DrawsItsFloorUnderItsWalls)
{
    // The tile map alone, unlit and seen whole: the level's own camera follows the player
    // through the dark, which says nothing about how the layers stack.
    json level = json::parse(test::ReadFile("Data/Level/level1.json"));
    level["entities"] = json::array();
    level.erase("subscenes");
    level["camera"] = {{"name", "defaultcam"}, {"scale", {{"x", -2.4}, {"y", -2.4}, {"z", 0}}}};
    level["tilemap"]["sprite"]["shader"]["name"] = "instanced";
    test::WriteFile("Data/Level/level1.json", level.dump());
    ASSERT_EQ(
        RunGame(_data + " --windowed --fixed-dt 0.016 --seed 3 --frames 12 --scene level1 --screenshot 10:shot.png"), 0)
        << Output();
    EXPECT_THAT(test::ReadFile("Trace.log"), Not(HasSubstr("Data/")));

    int width = 0, height = 0, channels = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> shot(
        stbi_load((_scratch / "shot.png").c_str(), &width, &height, &channels, 4), &stbi_image_free);
    ASSERT_NE(shot, nullptr);
    // Mean colour of a small box around a point given as a fraction of the image.
    const auto mean = [&](float fx, float fy)
    {
        const int cx = static_cast<int>(fx * static_cast<float>(width));
        const int cy = static_cast<int>(fy * static_cast<float>(height));
        glm::vec3 sum(0.0f);
        for (int y = cy - 4; y <= cy + 4; ++y)
            for (int x = cx - 4; x <= cx + 4; ++x)
            {
                const unsigned char* p = shot.get() + (y * width + x) * 4;
                sum += glm::vec3(p[0], p[1], p[2]);
            }
        return sum / 81.0f;
    };
    // The middle of the hall (floorboards, warm), a pillar inside it and the solid
    // block between the rooms (dark wall tops), the margin outside the map (background).
    const glm::vec3 hall = mean(0.5f, 0.42f);
    const glm::vec3 pillar = mean(0.4622f, 0.4552f);
    const glm::vec3 block = mean(0.33f, 0.6f);
    const glm::vec3 outside = mean(0.05f, 0.5f);
    EXPECT_GT(hall.r, hall.b + 10.0f) << "boards are brown";
    EXPECT_GT(hall.r, pillar.r + 15.0f) << "walls draw over the floor";
    EXPECT_GT(block.r + block.g + block.b, outside.r + outside.g + outside.b + 10.0f) << "the map covers its area";
}
