#include "scene/SceneTestSupport.h"

#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <glm/geometric.hpp>

class SceneCollisionTest : public test::SceneFixture
{
};

// The collision pass runs over the current scene's entities with that scene's bounds.
TEST_F(SceneCollisionTest, OverlappingBodiesInALevelArePushedApart)
{
    SceneSystem& scenes = SceneSystem::Instance();
    scenes.ChangeScene("touching", false);
    ASSERT_TRUE(scenes.Init());
    Scene* level = scenes.FindScene("touching");
    ASSERT_NE(level, nullptr);
    Entity* left = level->FindEntity("left");
    Entity* right = level->FindEntity("right");
    ASSERT_NE(left, nullptr);
    ASSERT_NE(right, nullptr);

    scenes.Update(1.0f / 60.0f);
    const float apart = glm::distance(left->GetTransform().GetTranslation(), right->GetTransform().GetTranslation());
    EXPECT_GT(apart, 30.0f) << "two radius-20 circles 30 apart overlap and must separate";
    EXPECT_LT(left->GetTransform().GetTranslation().x, 0.0f);
    EXPECT_GT(right->GetTransform().GetTranslation().x, 30.0f);
    scenes.Exit();
}
