#include "TestSupport.h"

#include "behaviors/items/BehaviorUnlock.h"
#include "behaviors/items/ObjectiveSystem.h"
#include "data/Entity.h"
#include "render/Sprite.h"

#include <glm/vec4.hpp>

using UnlockTest = test::ScratchTest;

TEST_F(UnlockTest, TheIconDarkensOnlyOnceItsOwnObjectIsCollected)
{
    ObjectiveSystem& objectives = ObjectiveSystem::Instance();
    objectives.Register(1, "urn", "test");
    objectives.Register(2, "bell", "test");

    Entity icon("unlock2");
    auto* sprite = static_cast<Sprite*>(icon.AddComponent(std::make_unique<Sprite>()));
    auto* unlock = static_cast<BehaviorUnlock*>(icon.AddComponent(std::make_unique<BehaviorUnlock>()));
    unlock->Read(json::parse(R"({"id": 2.7})")); // compared as 2
    sprite->SetTint(0.5f, 0.5f, 0.5f, 0.5f);

    unlock->Update(0.0f);
    EXPECT_EQ(sprite->GetTint(), glm::vec4(1.0f));
    objectives.Collect(1);
    unlock->Update(0.0f);
    EXPECT_EQ(sprite->GetTint(), glm::vec4(1.0f)) << "another object";
    objectives.Collect(2);
    unlock->Update(0.0f);
    EXPECT_EQ(sprite->GetTint(), glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
}
