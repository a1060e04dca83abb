#include "TestSupport.h"

#include "behaviors/BehaviorSoundEmitter.h"
#include "data/Entity.h"
#include "data/TypeRegistry.h"

namespace
{
class BehaviorSoundEmitterTest : public test::ScratchTest
{
};
} // namespace

TEST_F(BehaviorSoundEmitterTest, LoadsFromAnEntityFileAndClonesItsStates)
{
    Entity e("speaker");
    e.Read(json::parse(R"({"components": {"behaviorsoundemitter": {"state": 2, "statenext": 3}}})"));
    auto* emitter = e.Get<BehaviorSoundEmitter>(ctype::Behavior);
    ASSERT_NE(emitter, nullptr);
    EXPECT_EQ(emitter->GetName(), "behaviorsoundemitter");
    EXPECT_EQ(emitter->GetState(), 2);

    auto copy = emitter->Clone();
    auto* clone = dynamic_cast<BehaviorSoundEmitter*>(copy.get());
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->GetOwner(), nullptr);
    EXPECT_EQ(clone->GetStateNext(), 3);
    clone->Update(0.016f);
    EXPECT_EQ(clone->GetState(), 3) << "the base update moves to the next state";
    EXPECT_EQ(ComponentRegistry::Find("behaviorsoundemitter")->_type, ctype::Behavior);
}
