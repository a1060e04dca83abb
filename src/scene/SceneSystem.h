#pragma once

#include "actions/ActionList.h"
#include "core/System.h"

#include <glm/vec2.hpp>

#include <memory>
#include <string>
#include <vector>

class Entity;
class Scene;

// Owns the running scenes (a level and its sub-scenes), switches levels on request,
// at once or behind a panel that slides over the screen, and keeps the current scene.
class SceneSystem : public System
{
public:
    static constexpr const char* kFirstScene = "splash_screen";
    // The one level that also slides the loading panel in while it is built.
    static constexpr const char* kLoadingScene = "level2";
    static constexpr float kPanelSlideSeconds = 0.5f;
    static constexpr float kCoveredSeconds = 0.05f;
    static constexpr int kTransitionLane = 1;

    SceneSystem();
    ~SceneSystem() override;

    static SceneSystem& Instance();

    // Builds and initialises the requested first scene and its sub-scenes. Fails when
    // that scene's level file is missing or unreadable.
    bool Init() override;
    void Update(float dt) override;
    void Render() override;
    void Exit() override;

    // Without transition the switch happens at the start of the next Update; with
    // it the panels cover the screen first and slide away over the new level.
    void ChangeScene(const std::string& name, bool transition);

    Scene* FindScene(const std::string& name) const;
    Scene* GetCurrentScene() const { return _current; }
    const std::string& GetRequestedScene() const { return _requested; }

    // Appends to the scene list (sub-scenes while their parent loads).
    void AddScene(std::unique_ptr<Scene> scene);
    const std::vector<std::unique_ptr<Scene>>& GetScenes() const { return _scenes; }

    ActionList& GetActionList() { return _actions; }
    Entity* GetTransitionPanel() const { return _transitionPanel.get(); }
    Entity* GetLoadingPanel() const { return _loadingPanel.get(); }
    const glm::vec2& GetParkingPosition() const { return _parking; }
    // Sizes the panels to a framebuffer of width x height and parks the ones at rest
    // just below it (start-up and every size change).
    void FitPanels(int width, int height);

    // Deletes everything without the exit trace and requests the first scene again
    // (between tests and runs).
    void Reset();

private:
    void BuildRequested();
    bool CanLoadLevel(const std::string& name) const;
    void InitScenes();
    void ExitScenes(bool onlyMarked);
    void EndScenes();
    void RemoveFinishedScenes();
    void MakePanels();
    void SetCurrent(Scene* scene);

    ActionList _actions{1.0f};
    std::vector<std::unique_ptr<Scene>> _scenes;
    Scene* _current = nullptr;
    std::string _requested = kFirstScene;
    std::unique_ptr<Entity> _transitionPanel;
    std::unique_ptr<Entity> _loadingPanel;
    glm::vec2 _parking{0.0f};
};
