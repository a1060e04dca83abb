#pragma once

#include "scene/Scene.h"

#include <initializer_list>

// Developer test scenes, reached only by name (never from the game's menus). Each
// reads its own level file like any scene and spawns the archetypes it names when
// their files exist.
class SandboxScene : public Scene
{
public:
    using Scene::Scene;

protected:
    void Spawn(std::initializer_list<const char*> archetypes, bool keep);
};

class GameScene : public SandboxScene
{
public:
    GameScene() : SandboxScene("Game Scene") {}
    void Init() override;
};

class AlderScene : public SandboxScene
{
public:
    AlderScene() : SandboxScene("Alder Scene") {}
    void Init() override;
};

// Redirects to "gameGeneric" on its first update.
class CedarScene : public SandboxScene
{
public:
    CedarScene() : SandboxScene("Cedar Scene") {}
    void Init() override;
    void Update(float dt) override;
};

class LarchScene : public SandboxScene
{
public:
    LarchScene() : SandboxScene("Larch Scene") {}
    void Init() override;
    void Exit() override {}
};

class MapleScene : public SandboxScene
{
public:
    MapleScene() : SandboxScene("Maple Scene") {}
    void Init() override;
};

class SpruceScene : public SandboxScene
{
public:
    SpruceScene() : SandboxScene("Spruce Scene") {}
    void Init() override;
};

class BirchScene : public SandboxScene
{
public:
    BirchScene() : SandboxScene("Birch Scene") {}
    void Init() override;
};
