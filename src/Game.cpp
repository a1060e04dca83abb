#include "Game.h"

#include "audio/SoundSystem.h"
#include "behaviors/PlayerCamera.h"
#include "behaviors/UiLinks.h"
#include "behaviors/items/ObjectiveSystem.h"
#include "behaviors/monster/BehaviorMonster.h"
#include "core/AtomicFile.h"
#include "core/Cheats.h"
#include "core/MessageSystem.h"
#include "core/WindowSystem.h"
#include "data/BeneathDraw.h"
#include "data/Stream.h"
#include "debug/CheatSystem.h"
#include "debug/DebugSystem.h"
#include "debug/DebugWindow.h"
#include "input/InputSystem.h"
#include "render/GlState.h"
#include "render/ParticleEmitter.h"
#include "render/RenderState.h"
#include "render/ScreenCamera.h"
#include "render/ShaderSystem.h"
#include "scene/Scene.h"
#include "scene/SceneEndHook.h"
#include "scene/SceneSystem.h"
#include "ui/BehaviorHudController.h"
#include "ui/OptionSystem.h"

namespace
{
bool s_followFocus = true;

void OnContextChanged(bool live)
{
    if (live)
    {
        GlState::SetLive(true);
        RenderState::SetClearColour(RenderState::kDefaultClearColour);
        InputSystem::AttachTo(WindowSystem::Instance().GetWindow());
    }
    else
    {
        // Objects made for the context go while it is still current.
        GlState::Release();
        GlState::SetLive(false);
    }
}

// The debug window's tree panel: every root of a monster's behaviour tree.
std::string MonsterTreeText(const Entity& entity)
{
    const auto* monster = entity.Get<BehaviorMonster>(ctype::Behavior);
    if (!monster)
        return DebugWindow::kNoTree;
    const BehaviorTree& tree = monster->GetTree();
    std::string text;
    for (std::size_t i = 0; i < tree.Roots().size(); ++i)
        text += "Root " + std::to_string(i) + "\n" + tree.DebugText(i);
    return text;
}

void ToggleFullscreenOnRequest(long long)
{
    if (InputSystem::Instance().IsTriggered("fullscreen"))
        WindowSystem::Instance().ToggleFullscreen();
}

void SaveVsync()
{
    const int vsync = WindowSystem::Instance().GetVsync();
    WriteFileAtomic(Stream::GetPath("vsync", DataFile), WindowSystem::VsyncFileText(vsync));
}
} // namespace

namespace Game
{
void Wire(bool followFocus)
{
    WindowListeners& listeners = WindowSystem::Instance().Listeners();
    listeners = {};
    s_followFocus = followFocus;
    listeners.focusChanged.emplace_back(&OnFocusChanged);
    listeners.framebufferResized.emplace_back(
        [](int width, int height)
        {
            ScreenCamera::Instance().Resize(width, height);
            SceneSystem::Instance().FitPanels(width, height);
        });
    // The script's events land before anything reads this frame's input.
    listeners.afterPoll.emplace_back([](long long frame) { InputSystem::Instance().PlayScript(frame); });
    listeners.afterPoll.emplace_back(&ToggleFullscreenOnRequest);
    // The inspector's GL objects go first, whichever way the window ends.
    listeners.contextChanged.emplace_back(
        [](bool live)
        {
            if (!live)
                DebugSystem::Instance().GetDebugWindow().Shutdown();
        });
    listeners.contextChanged.emplace_back(&OnContextChanged);
    listeners.closing.emplace_back(&SaveVsync);
    listeners.clearColour = [] { return RenderState::GetClearColour(); };
    SceneCamera::SetFactory(&PlayerCamera::Create);
    // Each level registers its own objects afresh.
    SceneEndHook::Set(
        []
        {
            if (ObjectiveSystem* objectives = ObjectiveSystem::Live())
                objectives->Reset();
        });
    BeneathDraw::Set([](Component& emitter) { static_cast<ParticleEmitter&>(emitter).RenderBeneath(); });
    DebugWindow::SetTreeText(&MonsterTreeText);
    Cheats::SetQuery([](std::string_view name) { return CheatSystem::Instance().IsTriggered(name); });
    Hud::Install(&BehaviorHudController::Operations());
    GameplayOptionLinks::SetFlashingDisabledQuery([] { return OptionSystem::Gameplay().disableFlashing; });
}

std::vector<System*> Systems()
{
    return {
        &WindowSystem::Instance(), &ShaderSystem::Instance(),  &SoundSystem::Instance(), &SceneSystem::Instance(),
        &OptionSystem::Instance(), &DebugSystem::Instance(),   &CheatSystem::Instance(), &ObjectiveSystem::Instance(),
        &InputSystem::Instance(),  &MessageSystem::Instance(),
    };
}

void OnFocusChanged(bool focused)
{
    // A scripted or fixed-step run is played by its flags, not by whichever window the
    // desktop focuses, so the same flags give the same run wherever they are started.
    if (!s_followFocus || InputSystem::Instance().IsScripted())
        return;
    for (const auto& scene : SceneSystem::Instance().GetScenes())
        scene->SetPaused(!focused);
    SoundSystem::Instance().SetFocusMuted(!focused);
}
} // namespace Game
