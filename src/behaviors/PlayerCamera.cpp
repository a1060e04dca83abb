#include "behaviors/PlayerCamera.h"

#include "actions/FadeAction.h"
#include "actions/WaitAction.h"
#include "behaviors/items/ObjectiveSystem.h"
#include "core/MessageSystem.h"
#include "core/StdRandom.h"
#include "core/Trace.h"
#include "input/InputSystem.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>
#include <string>

namespace
{
const glm::vec2* Vec2Arg(const Message* message, std::size_t i)
{
    return message ? message->Arg<glm::vec2>(i) : nullptr;
}
} // namespace

std::unique_ptr<SceneCamera> PlayerCamera::Create(std::string_view typeName)
{
    if (typeName == "playercamera")
        return std::make_unique<PlayerCamera>();
    return nullptr;
}

Scene* PlayerCamera::FindGui()
{
    Scene* gui = SceneSystem::Instance().FindScene(kGuiScene);
    if (gui && gui->GetEntities().PendingCount() > 0)
        gui->GetEntities().InitAll();
    Entity* fade = gui ? gui->FindEntity(kFade) : nullptr;
    if (fade)
    {
        _fade = fade;
        return gui;
    }
    if (!_reportedNoGui)
    {
        _reportedNoGui = true;
        Trace::Error(gui ? std::string("PlayerCamera: scene \"") + kGuiScene + "\" has no \"" + kFade +
                               "\" entity; no level tour, the camera just follows"
                         : std::string("PlayerCamera: no scene \"") + kGuiScene +
                               "\"; no level tour, the camera just follows");
    }
    return nullptr;
}

void PlayerCamera::Init()
{
    _stopsLeft = 0;
    _tourTimer = 0.0f;
    _tourPoints.clear();
    Scene* gui = FindGui();
    // One stop per registered object; each announced its place as "fragment<id>".
    const int stops = static_cast<int>(ObjectiveSystem::Instance().GetRegister().size());
    // Without stops the overlay would go opaque and never lift again.
    if (!gui || stops == 0)
        return;

    _stopsLeft = stops;
    ActionList& actions = gui->GetActionList();
    const Lanes lane{kTourLane};
    Entity* fade = _fade.Get();
    actions.Add(FadeAction(fade, 1.0f, 0.0f, 0.0f, lane, true));
    for (int i = 1; i <= stops; ++i)
    {
        if (const glm::vec2* at = Vec2Arg(MessageSystem::Instance().Get("fragment" + std::to_string(i)), 0))
            _tourPoints.push_back(*at);
        actions.Add(FadeAction(fade, 0.0f, 0.0f, kStopDuration * 0.25f, lane, true));
        actions.Add(WaitAction(0.0f, kStopDuration * 0.5f, lane, true));
        actions.Add(FadeAction(fade, 1.0f, 0.0f, kStopDuration * 0.25f, lane, true));
    }
    _sound.Set("ominous", 1.0f, false, false);
    _sound.Play();
}

void PlayerCamera::TourStep(float dt)
{
    _tourTimer -= dt;
    if (_tourTimer < 0.0f)
    {
        --_stopsLeft;
        _tourTimer = kStopDuration;
        if (_stopsLeft >= 0 && static_cast<std::size_t>(_stopsLeft) < _tourPoints.size())
        {
            const float rx = 2.0f * StdRandom::Unit() - 1.0f;
            const float ry = 2.0f * StdRandom::Unit() - 1.0f;
            glm::vec2 d(rx, ry);
            // Both draws at the centre give no direction; pass from the left then.
            d = glm::length(d) > 0.0f ? glm::normalize(d) * kTourSpeed : glm::vec2(kTourSpeed, 0.0f);
            SetPosition(_tourPoints[static_cast<std::size_t>(_stopsLeft)] - kStopDuration * 0.75f * d);
            // The view translation is the negated position, so it moves against d.
            SetVelocity(glm::vec3(-d, 0.0f));
        }
    }
    if (_stopsLeft <= 0 || InputSystem::Instance().AnyKeyDown())
        EndTour();
}

void PlayerCamera::EndTour()
{
    _stopsLeft = 0;
    Trace::Message("Clear Action List");
    Scene* gui = SceneSystem::Instance().FindScene(kGuiScene);
    if (gui)
    {
        gui->GetActionList().RemoveLanes(Lanes{kTourLane});
        gui->GetActionList().Add(FadeAction(_fade.Get(), 0.0f, 0.0f, kStopDuration * 0.25f, Lanes{kTourLane}, true));
    }
    SetVelocity(glm::vec3(0.0f));
}

void PlayerCamera::Follow(float dt)
{
    if (_stopsLeft >= 1)
    {
        TourStep(dt);
        return;
    }

    MessageSystem& board = MessageSystem::Instance();
    const Message* player = board.Get("playerdata");
    if (!player)
        return;
    const glm::vec2* position = Vec2Arg(player, 0);
    const glm::vec2* velocity = Vec2Arg(player, 1);
    if (!position || !velocity)
    {
        if (!_reportedBadPlayerData)
        {
            _reportedBadPlayerData = true;
            Trace::Error("PlayerCamera: \"playerdata\" does not start with a position and a velocity (two vec2); "
                         "the camera stays where it is");
        }
        return;
    }
    _playerPosition = *position;
    _playerVelocity = *velocity;
    _focus = _playerPosition + _playerVelocity * kLead;

    // The monster posts its position every update while it is out.
    if (const glm::vec2* monster = Vec2Arg(board.Get("monster_pos"), 0))
        if (glm::length(*monster - _playerPosition) < kLeanRange)
            _focus += (*monster - _focus) * kLeanFactor;

    const float a = std::clamp(1.0f - std::pow(0.15f, dt), 0.0f, 1.0f);
    const float b = std::clamp(1.0f - std::pow(0.255f * a + 0.0225f, dt), 0.0f, 1.0f);
    const glm::vec2 current = GetPosition();
    SetPosition(current + (_focus - current) * b);
}
