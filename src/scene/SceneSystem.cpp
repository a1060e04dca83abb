#include "scene/SceneSystem.h"

#include "actions/ChangeSceneAction.h"
#include "actions/MoveAction.h"
#include "actions/WaitAction.h"
#include "core/Screen.h"
#include "core/Trace.h"
#include "data/Archetypes.h"
#include "data/Stream.h"
#include "render/RenderState.h"
#include "render/ScreenCamera.h"
#include "render/SpriteBatch.h"
#include "scene/Scene.h"
#include "scene/SceneTable.h"

SceneSystem& SceneSystem::Instance()
{
    static SceneSystem instance;
    return instance;
}

SceneSystem::SceneSystem() : System("SceneSystem") {}

SceneSystem::~SceneSystem() = default;

void SceneSystem::SetCurrent(Scene* scene)
{
    _current = scene;
    // Sprites and the cursor see the world through the current scene's camera.
    RenderState::SetCamera(scene ? scene->GetCamera() : nullptr);
}

void SceneSystem::AddScene(std::unique_ptr<Scene> scene)
{
    _scenes.push_back(std::move(scene));
}

void SceneSystem::BuildRequested()
{
    // Its sub-scenes append themselves while it loads, so they end up before it.
    std::unique_ptr<Scene> scene = CreateScene(_requested);
    AddScene(std::move(scene));
}

bool SceneSystem::CanLoadLevel(const std::string& name) const
{
    // Leaving a running game for a level that cannot load would strand the player on an
    // empty screen with no way out, so the scenes they are in stay.
    if (IsSandboxScene(name))
        return true;
    Stream stream(name, LevelFile);
    const std::string staying = _scenes.back()->GetName();
    if (!stream.IsOpen())
    {
        Trace::Error("Failed to load scene " + name + " (" + stream.Path() + " not found); staying in " + staying);
        return false;
    }
    if (!stream.HasJson() || !stream.GetJson().is_object())
    {
        Trace::Error(stream.Path() + ": not a level; staying in " + staying);
        return false;
    }
    return true;
}

void SceneSystem::InitScenes()
{
    for (std::size_t i = 0; i < _scenes.size(); ++i)
    {
        SetCurrent(_scenes[i].get());
        _current->Init();
    }
}

void SceneSystem::ExitScenes(bool onlyMarked)
{
    // Every Exit runs before any scene is deleted, so look-ups made from Exit find
    // live scenes; only then are the ended ones deleted.
    for (std::size_t i = 0; i < _scenes.size(); ++i)
    {
        if (onlyMarked && !_scenes[i]->IsMarkedForRemoval())
            continue;
        SetCurrent(_scenes[i].get());
        _scenes[i]->Exit();
    }
    SetCurrent(nullptr);
}

void SceneSystem::EndScenes()
{
    ExitScenes(false);
    std::vector<std::unique_ptr<Scene>> ended = std::move(_scenes);
    _scenes.clear();
    ended.clear();
}

bool SceneSystem::Init()
{
    BuildRequested();
    Scene* first = _scenes.back().get();
    if (!first->IsLoaded())
    {
        Trace::Error("could not start first scene: " + Stream::GetPath(first->GetName(), LevelFile));
        EndScenes();
        return false;
    }
    // Cleared here so the first update does not build the start-up scene again.
    _requested.clear();
    InitScenes();
    MakePanels();
    const Screen::Size window = Screen::GetWindowSize();
    ScreenCamera::Instance().Resize(window.width, window.height);
    SetCurrent(_scenes.front().get());
    return true;
}

void SceneSystem::MakePanels()
{
    _transitionPanel = CreateFromArchetype("transition", false);
    _loadingPanel = CreateFromArchetype("loading", false);
    if (!_transitionPanel)
        Trace::Error(Stream::GetPath("transition", EntityFile) +
                     ": no transition archetype; scene changes run without the transition panel");
    if (!_loadingPanel)
        Trace::Error(Stream::GetPath("loading", EntityFile) +
                     ": no loading archetype; scene changes run without the loading panel");

    const Screen::Size window = Screen::GetWindowSize();
    FitPanels(window.width, window.height);
    if (_transitionPanel)
        _transitionPanel->GetTransform().SetTranslation(_parking);
    if (_loadingPanel)
        _loadingPanel->GetTransform().SetTranslation(_parking);
}

void SceneSystem::FitPanels(int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    // The panels are drawn through the screen camera, which is 1920 units wide whatever
    // the framebuffer; sized in pixels they would peek over the bottom of smaller screens.
    const glm::vec2 size(kDesignWidth, kDesignWidth * static_cast<float>(height) / static_cast<float>(width));
    const glm::vec2 previous = _parking;
    _parking = glm::vec2(0.0f, -1.1f * size.y);
    for (Entity* panel : {_transitionPanel.get(), _loadingPanel.get()})
        if (panel && panel->GetTransform().GetTranslation() == previous)
            panel->GetTransform().SetTranslation(_parking);
    if (_transitionPanel)
        _transitionPanel->GetTransform().SetScale(size);
}

void SceneSystem::Update(float dt)
{
    _actions.Update(dt);

    if (!_requested.empty())
    {
        if (_scenes.empty() || CanLoadLevel(_requested))
        {
            EndScenes();
            BuildRequested();
            InitScenes();
        }
        _requested.clear();
    }

    for (std::size_t i = 0; i < _scenes.size(); ++i)
    {
        SetCurrent(_scenes[i].get());
        _current->Update(dt);
    }

    RemoveFinishedScenes();
    SetCurrent(_scenes.empty() ? nullptr : _scenes.front().get());
}

void SceneSystem::RemoveFinishedScenes()
{
    ExitScenes(true);
    // Taken out of the list before deletion, so the list never holds a dying scene.
    std::vector<std::unique_ptr<Scene>> ended;
    for (auto& scene : _scenes)
        if (scene->IsMarkedForRemoval())
            ended.push_back(std::move(scene));
    std::erase(_scenes, nullptr);
    ended.clear();
}

void SceneSystem::Render()
{
    // Sub-scenes come before their level in the list but are drawn over it: the HUD
    // and the pause menu sit on top of the level they belong to.
    for (auto it = _scenes.rbegin(); it != _scenes.rend(); ++it)
    {
        SetCurrent(it->get());
        (*it)->Render();
    }
    SetCurrent(_scenes.empty() ? nullptr : _scenes.front().get());

    RenderState::SetScreenSpace(true);
    if (_transitionPanel)
        _transitionPanel->Render();
    if (_loadingPanel)
        _loadingPanel->Render();
    SpriteBatch::Flush();
    RenderState::SetScreenSpace(false);
}

void SceneSystem::Exit()
{
    Trace::Message("deleting scenes");
    ExitScenes(false);
    while (!_scenes.empty())
    {
        std::unique_ptr<Scene> scene = std::move(_scenes.front());
        _scenes.erase(_scenes.begin());
        scene.reset();
        Trace::Message("scene deleted");
    }
    _actions.Clear();
    _transitionPanel.reset();
    _loadingPanel.reset();
    ClearArchetypes();
}

void SceneSystem::ChangeScene(const std::string& name, bool transition)
{
    if (!transition)
    {
        _requested = name;
        return;
    }
    const Lanes lane{kTransitionLane};
    Entity* cover = _transitionPanel.get();
    Entity* loading = _loadingPanel.get();
    if (cover)
        _actions.Add(MoveAction(cover, {0.0f, 0.0f}, 0.0f, kPanelSlideSeconds, lane, true));
    if (loading && name == kLoadingScene)
        _actions.Add(MoveAction(loading, {0.0f, 0.0f}, 0.0f, kPanelSlideSeconds, lane, true));
    _actions.Add(ChangeSceneAction(name, false, 0.0f, 0.0f, lane, true));
    _actions.Add(WaitAction(kCoveredSeconds, 0.0f, lane, true));
    if (cover)
        _actions.Add(MoveAction(cover, _parking, 0.0f, kPanelSlideSeconds, lane, false));
    if (loading)
        _actions.Add(MoveAction(loading, _parking, 0.0f, kPanelSlideSeconds, lane, false));
}

Scene* SceneSystem::FindScene(const std::string& name) const
{
    if (name.empty())
        return nullptr;
    for (const auto& scene : _scenes)
        if (scene->GetName() == name)
            return scene.get();
    return nullptr;
}

void SceneSystem::Reset()
{
    _actions.Clear();
    _scenes.clear();
    SetCurrent(nullptr);
    _requested = kFirstScene;
    _transitionPanel.reset();
    _loadingPanel.reset();
    _parking = glm::vec2(0.0f);
}
