#include "TestSupport.h"

#include "behaviors/items/BehaviorParticleMouse.h"
#include "data/Entity.h"
#include "input/InputSystem.h"
#include "render/ParticleEmitter.h"

#include <nlohmann/json.hpp>

namespace
{
constexpr float kFrame = 1.0f / 60.0f;

class ParticleMouseTest : public test::ScratchTest
{
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        CopyContent();
        _cursor.GetTransform().SetTranslation({500.0f, 500.0f});
        _emitter = static_cast<ParticleEmitter*>(_cursor.AddComponent(std::make_unique<ParticleEmitter>()));
        _emitter->SetMaxParticles(200);
    }

    Entity _cursor{"cursor"};
    ParticleEmitter* _emitter = nullptr;
};
} // namespace

TEST_F(ParticleMouseTest, TheTrailFollowsThePointerAtItsSpawnRate)
{
    auto* trail = static_cast<BehaviorParticleMouse*>(_cursor.AddComponent(std::make_unique<BehaviorParticleMouse>()));
    trail->_spawnRate = 0.0f;
    _cursor.Init();
    for (int i = 0; i < 5; ++i)
        trail->Update(kFrame);
    EXPECT_EQ(_emitter->AliveCount(), 5u) << "a rate of 0 emits every update";
    EXPECT_EQ(_cursor.GetTransform().GetTranslation(), InputSystem::Instance().GetMouseWorldPosition());

    Entity slow("slow");
    auto* emitter = static_cast<ParticleEmitter*>(slow.AddComponent(std::make_unique<ParticleEmitter>()));
    emitter->SetMaxParticles(200);
    auto* paced = static_cast<BehaviorParticleMouse*>(slow.AddComponent(std::make_unique<BehaviorParticleMouse>()));
    paced->_spawnRate = 0.1f;
    slow.Init();
    for (int i = 0; i < 15; ++i)
        paced->Update(kFrame);
    EXPECT_EQ(emitter->AliveCount(), 2u) << "one every tenth of a second";
}

TEST_F(ParticleMouseTest, AClickBurstsOnlyWhileTheButtonIsHeld)
{
    InputSystem::Instance().LoadBindings(nlohmann::json::parse(R"({"keys": {"click button": [0]}})"), "test");
    auto* click =
        static_cast<BehaviorParticleMouseClick*>(_cursor.AddComponent(std::make_unique<BehaviorParticleMouseClick>()));
    _cursor.Init();
    click->Update(kFrame);
    EXPECT_EQ(_emitter->AliveCount(), 0u);
    InputSystem::Instance().HandleButton(0, InputSystem::kPress);
    click->Update(kFrame);
    click->Update(kFrame);
    EXPECT_EQ(_emitter->AliveCount(), 2u * BehaviorParticleMouseClick::kBurst);
}
