#include "ui/PauseManager.h"

#include "actions/CallbackAction.h"
#include "actions/MoveCameraAction.h"
#include "actions/TemplAction.h"
#include "core/MessageSystem.h"
#include "data/TypeRegistry.h"
#include "input/InputSystem.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <algorithm>

GLOAMER_REGISTER_COMPONENT(PauseManager, ctype::PauseManager)

const FieldDescriptor<PauseManager>& PauseManager::Descriptor()
{
    static const FieldDescriptor<PauseManager> descriptor("PauseManager",
                                                          {
                                                              GLOAMER_FIELD(PauseManager, _paused),
                                                              GLOAMER_FIELD(PauseManager, _onScreenPos),
                                                              GLOAMER_FIELD(PauseManager, _tutorialPos),
                                                              GLOAMER_FIELD(PauseManager, _optionsPos),
                                                              GLOAMER_FIELD(PauseManager, _pauseMoveTime),
                                                              GLOAMER_FIELD(PauseManager, _submenuMoveTime),
                                                              GLOAMER_FIELD(PauseManager, _unpausePercentage),
                                                              GLOAMER_FIELD(PauseManager, _menuLerpIn),
                                                              GLOAMER_FIELD(PauseManager, _menuLerpOut),
                                                          });
    return descriptor;
}

void PauseManager::Read(const json& j)
{
    Descriptor().Read(*this, j);
}

void PauseManager::Write(json& j) const
{
    Descriptor().Write(*this, j);
}

void PauseManager::MoveCamera(Scene& scene, const glm::vec2& to, float seconds, int easing, bool blocking)
{
    scene.GetActionList().Add(
        MoveCameraAction(scene.GetCamera(), to, 0.0f, seconds, Lanes{kCameraLane}, blocking, easing));
}

void PauseManager::StartUnpausing(Scene& scene)
{
    const Lanes lane{kCameraLane};
    ActionList& actions = scene.GetActionList();
    actions.Add(MoveCameraAction(scene.GetCamera(), {0.0f, 0.0f}, 0.0f, _pauseMoveTime, lane, false, _menuLerpOut));
    // The list belongs to this component's scene, which is deleted before its entities.
    actions.Add(TemplAction<bool>(_paused, false, 0.0f, _pauseMoveTime * _unpausePercentage, lane, true));
    actions.Add(CallbackAction(
        [](CallbackAction&)
        {
            for (const auto& running : SceneSystem::Instance().GetScenes())
                running->SetPaused(false);
        },
        0.0f, 0.0f, lane, false));
}

void PauseManager::PauseLevel(const Scene& menu)
{
    for (const auto& running : SceneSystem::Instance().GetScenes())
    {
        const auto& subs = running->GetSubSceneNames();
        if (std::find(subs.begin(), subs.end(), menu.GetName()) != subs.end())
            running->SetPaused(true);
    }
    MessageSystem::Instance().Send(Message("Pause", {}, 0.0f, true));
}

void PauseManager::Update(float)
{
    Scene* scene = GetOwner() ? GetOwner()->GetScene() : nullptr;
    if (!scene || !scene->GetCamera())
        return;
    MessageSystem& messages = MessageSystem::Instance();
    const bool inMainMenu = SceneSystem::Instance().FindScene(kMainMenu) != nullptr;
    const bool pauseKey = InputSystem::Instance().IsTriggered("Pause");

    if (messages.Get("Pause", true))
    {
        _paused = true;
        if (inMainMenu)
        {
            // In the main menu "Pause" only means: back to the main page.
            _paused = false;
            MoveCamera(*scene, {_optionsPos.x, 0.0f}, _submenuMoveTime, _menuLerpIn, true);
            MoveCamera(*scene, {0.0f, 0.0f}, 0.0f, _menuLerpIn, true);
        }
        else
            MoveCamera(*scene, _onScreenPos, _pauseMoveTime, _menuLerpIn, true);
    }
    else if (!_paused && pauseKey && !inMainMenu)
        PauseLevel(*scene);

    if (_paused && (pauseKey || messages.Get("Unpause", true)))
        StartUnpausing(*scene);

    if (messages.Get("Tutorial", true))
        MoveCamera(*scene, _tutorialPos, _submenuMoveTime, _menuLerpIn, true);

    const bool fromMain = messages.Get("Options-Main", true) != nullptr;
    const bool fromPause = messages.Get("Options-Pause", true) != nullptr;
    if (fromMain)
        MoveCamera(*scene, {_optionsPos.x, 0.0f}, 0.0f, _menuLerpIn, true);
    if (fromMain || fromPause)
        MoveCamera(*scene, _optionsPos, _submenuMoveTime, _menuLerpIn, true);
}
