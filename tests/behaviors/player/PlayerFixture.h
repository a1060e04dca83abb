#pragma once

#include "TestSupport.h"

#include "behaviors/player/BehaviorPlayer.h"
#include "core/MessageSystem.h"
#include "data/Entity.h"
#include "input/InputSystem.h"
#include "scene/Scene.h"

#include <glm/vec2.hpp>

#include <memory>
#include <string>

namespace test
{
// Key codes of the shipped bindings.
inline constexpr int kKeyW = 87, kKeyA = 65, kKeyS = 83, kKeyD = 68, kKeyQ = 81, kKeyR = 82, kKey1 = 49;
inline constexpr int kShift = 340, kLeftButton = 0;

// A level of the game's own content with one player at the origin, driven a frame at a
// time with scripted keys and cursor.
class PlayerFixture : public ScratchTest
{
protected:
    static constexpr float kDt = 1.0f / 60.0f;

    void SetUp() override
    {
        ScratchTest::SetUp();
        CopyContent();
        InputSystem::Instance().Init();
        BehaviorPlayer::Tuning& tuning = BehaviorPlayer::Settings();
        tuning = BehaviorPlayer::Tuning{};
        tuning.trapRangeLower = 70.0f;
        tuning.trapRangeUpper = 220.0f;
        tuning.trapPreviewBad = {1.0f, 0.0f, 0.0f, 0.5f};
        tuning.trapPreviewGood = {0.0f, 1.0f, 0.0f, 0.5f};
        tuning.trapPreviewPlace = {1.0f, 1.0f, 0.0f, 0.5f};
    }

    // `components` replaces the player's own (a JSON object body); `extra` adds entities.
    void Load(const std::string& components = kFullPlayer, const std::string& extra = "")
    {
        WriteFile("Data/Level/lab.json",
                  R"({"entities": [{"name": "player", "transform": {"scale": {"x": 80, "y": 80}}, "components": {)" +
                      components + "}}" + extra + "]}");
        _scene = std::make_unique<Scene>("lab");
        _scene->Init();
        _player = _scene->FindEntity("player");
        ASSERT_NE(_player, nullptr);
    }

    BehaviorPlayer& Player() const { return *_player->Get<BehaviorPlayer>(ctype::Behavior); }

    void Frame(float dt = kDt)
    {
        _scene->Update(dt);
        InputSystem::Instance().Update(dt);
        MessageSystem::Instance().Update(dt);
    }
    void Frames(int n, float dt = kDt)
    {
        for (int i = 0; i < n; ++i)
            Frame(dt);
    }

    static void Press(int code) { InputSystem::Instance().HandleButton(code, InputSystem::kPress); }
    static void Release(int code) { InputSystem::Instance().HandleButton(code, InputSystem::kRelease); }
    // A key tapped between two frames: down for one, released before the next.
    void Tap(int code)
    {
        Press(code);
        Frame();
        Release(code);
        Frame();
    }

    // Puts the cursor over a world point (the lab has no camera of its own).
    static void Aim(const glm::vec2& world) { InputSystem::Instance().SetCursor(960.0f + world.x, 540.0f - world.y); }

    int CountEntities(const std::string& name) const
    {
        int n = 0;
        for (const auto& entity : _scene->GetEntities().Entities())
            n += entity->GetName() == name && !entity->IsDestroyed() ? 1 : 0;
        return n;
    }

    static constexpr const char* kFullPlayer =
        R"("physics": {"friction": 0}, "collider": {"type": 2, "rigid": true, "restitution": 0,
           "shape": {"radius": 0.3}}, "status": {"tempmask": 118}, "behaviorplayer": {},
           "progressbar": {"scale": {"x": 80, "y": 8}}, "tooltip": {"type": 2, "displaytime": 2})";

    std::unique_ptr<Scene> _scene;
    Entity* _player = nullptr;
};
} // namespace test
