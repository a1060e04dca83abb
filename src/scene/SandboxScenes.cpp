#include "scene/SandboxScenes.h"

#include "core/Trace.h"
#include "data/Archetypes.h"
#include "render/RenderState.h"
#include "scene/SceneSystem.h"

void SandboxScene::Spawn(std::initializer_list<const char*> archetypes, bool keep)
{
    for (const char* name : archetypes)
    {
        if (auto entity = CreateFromArchetype(name, keep))
            AddEntity(std::move(entity));
        else
            Trace::Message(GetName() + ": no archetype \"" + name + "\" to spawn");
    }
}

void GameScene::Init()
{
    Scene::Init();
    Trace::Message("Game Init");
    RenderState::SetClearColour({0.5f, 0.5f, 0.0f, 0.5f});
}

void AlderScene::Init()
{
    Scene::Init();
    Spawn({"player"}, true);
}

void CedarScene::Init()
{
    Scene::Init();
    Trace::Message("Cedar Init");
    RenderState::SetClearColour({1.0f, 0.0f, 1.0f, 1.0f});
    Spawn({"cedarMonkey"}, true);
}

void CedarScene::Update(float dt)
{
    Scene::Update(dt);
    SceneSystem::Instance().ChangeScene("gameGeneric", false);
}

void LarchScene::Init()
{
    Scene::Init();
    RenderState::SetClearColour({0.0f, 1.0f, 1.0f, 1.0f});
    Spawn({"player", "monster"}, false);
}

void MapleScene::Init()
{
    Scene::Init();
    Spawn({"trap_placing", "trap_place"}, false);
}

void SpruceScene::Init()
{
    Scene::Init();
    Spawn({"sprucescenebackground", "spruceball"}, false);
}

void BirchScene::Init()
{
    Scene::Init();
    Spawn({"bearTrap", "collectable", "loseText", "winText"}, false);
}
