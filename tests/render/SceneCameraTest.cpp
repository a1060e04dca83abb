#include "TestSupport.h"

#include "render/SceneCamera.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

namespace
{
PointerState g_pointer;

PointerState ScriptedPointer()
{
    return g_pointer;
}

glm::vec4 Apply(const glm::mat4& m, float x, float y)
{
    return m * glm::vec4(x, y, 0.0f, 1.0f);
}
} // namespace

class SceneCameraTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        g_pointer = {};
        SceneCamera::SetPointerSource(&ScriptedPointer);
    }
};

TEST_F(SceneCameraTest, AFreshCameraZoomsByOneAndAHalfAndAZeroScaleDoesNot)
{
    SceneCamera camera;
    EXPECT_EQ(camera.GetMatrix(), glm::scale(glm::mat4(1.0f), glm::vec3(1.5f)));
    camera.SetScale(glm::vec3(0.0f));
    EXPECT_EQ(camera.GetMatrix(), glm::mat4(1.0f));
    camera.SetScale(glm::vec3(2.0f));
    EXPECT_FLOAT_EQ(camera.GetMatrix()[0][0], 2.25f);
}

TEST_F(SceneCameraTest, ViewTranslatesRotatesScalesMovesAndShakes)
{
    SceneCamera camera;
    camera.SetScale(glm::vec3(1.0f));
    camera.SetRotation(glm::radians(90.0f));
    camera.SetTranslation({10.0f, 0.0f, 0.0f});
    const glm::vec4 origin = Apply(camera.GetMatrix(), 0.0f, 0.0f);
    EXPECT_NEAR(origin.x, 0.0f, 1e-4f);
    EXPECT_NEAR(origin.y, 15.0f, 1e-4f) << "(10, 0) turned a quarter and zoomed by 1.5";

    camera.SetVelocity({10.0f, -4.0f, 0.0f});
    camera.Update(0.5f);
    camera.Update(0.5f);
    EXPECT_EQ(camera.GetTranslation(), glm::vec3(20.0f, -4.0f, 0.0f)) << "velocity moves it each update";

    SceneCamera shaken;
    shaken.StartShake(10.0f, 5.0f);
    for (int i = 0; i < 15; ++i)
        shaken.Update(0.125f);
    EXPECT_TRUE(shaken.IsShaking());
    EXPECT_NE(shaken.GetShake(), glm::vec3(0.0f));
    EXPECT_NE(shaken.GetMatrix(), glm::scale(glm::mat4(1.0f), glm::vec3(1.5f))) << "the shake offsets the view";

    // Each offset stays inside its box, whatever the C library's RAND_MAX.
    for (int i = 0; i < 200; ++i)
    {
        const glm::vec2 offset = SceneCamera::RandomShakeOffset(10.0f, 4.0f);
        ASSERT_LE(std::abs(offset.x), 5.0f);
        ASSERT_LE(std::abs(offset.y), 2.0f);
    }

    shaken.Update(0.125f);
    EXPECT_FALSE(shaken.IsShaking());
    EXPECT_EQ(shaken.GetShake(), glm::vec3(0.0f));
    EXPECT_EQ(shaken.GetTranslation(), glm::vec3(0.0f)) << "shaking never moves the camera itself";
    EXPECT_EQ(shaken.GetMatrix(), glm::scale(glm::mat4(1.0f), glm::vec3(1.5f)));
}

TEST_F(SceneCameraTest, FreeCameraDragsAndZoomsThenLeavingRestoresTheView)
{
    SceneCamera camera;
    camera.SetPosition({50.0f, 20.0f});
    FreeCameraSwitch() = true;

    g_pointer._cursor = {100.0f, 100.0f};
    camera.Update(0.1f);
    EXPECT_TRUE(camera.InFreeCamera());

    g_pointer._dragHeld = true;
    g_pointer._cursor = {130.0f, 115.0f};
    camera.Update(0.1f);
    EXPECT_EQ(camera.GetTranslation(), glm::vec3(-30.0f, -10.0f, 0.0f)) << "the world follows the cursor over zoom";

    g_pointer._dragHeld = false;
    g_pointer._scroll = 2.0f;
    camera.Update(0.1f);
    EXPECT_EQ(camera.GetScale(), glm::vec3(2.0f));

    FreeCameraSwitch() = false;
    camera.Update(0.1f);
    EXPECT_FALSE(camera.InFreeCamera());
    EXPECT_EQ(camera.GetPosition(), glm::vec2(50.0f, 20.0f));
    EXPECT_EQ(camera.GetScale(), glm::vec3(1.0f));
}

TEST_F(SceneCameraTest, ReadsAndWritesItsKeysWithTheTypeName)
{
    auto camera = SceneCamera::Create("anything else");
    ASSERT_NE(camera, nullptr);
    camera->Read(json::parse(R"({"name": "x", "translation": {"x": 5, "y": -2}, "scale": {"z": 0},
                                 "rotation": 0.5, "isshaking": true, "mag": 3, "decay": 1.5})"));
    EXPECT_EQ(camera->GetTranslation(), glm::vec3(5.0f, -2.0f, 0.0f));
    EXPECT_EQ(camera->GetScale(), glm::vec3(1.0f, 1.0f, 0.0f));
    EXPECT_TRUE(camera->IsShaking());
    EXPECT_FLOAT_EQ(camera->GetShakeMagnitude(), 3.0f);

    json j;
    camera->Write(j);
    EXPECT_EQ(j["name"], "defaultcam");
    auto back = SceneCamera::Create("defaultcam");
    back->Read(j);
    EXPECT_EQ(back->GetTranslation(), camera->GetTranslation());
    EXPECT_EQ(back->GetScale(), camera->GetScale());
    EXPECT_FLOAT_EQ(back->GetShakeMagnitude(), 3.0f);
}
