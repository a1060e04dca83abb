#pragma once

#include "data/EntityRef.h"

#include <glm/vec2.hpp>

#include <string>
#include <utility>
#include <vector>

class Entity;
class SceneSystem;
struct GLFWwindow;

// The developer's window onto the running game, drawn with Dear ImGui over the frame:
// the scene list, the entity under the mouse with each component as it writes itself,
// and that entity's behaviour tree. Hidden until its key binding toggles it, so plain
// runs, headless runs and screenshots never show it.
class DebugWindow
{
public:
    static constexpr const char* kBinding = "Inspector";
    static constexpr const char* kNoTree = "no behaviour tree";

    // The behaviour-tree text of an entity; installed by the game's wiring, null
    // restores kNoTree.
    using TreeTextFn = std::string (*)(const Entity&);
    static void SetTreeText(TreeTextFn fn);
    static std::string TreeText(const Entity& entity);

    // The topmost entity of any live scene whose box (translation +- half its scale,
    // rotation ignored) holds the world point: the highest depth, then the one drawn
    // last. Null when none does.
    static Entity* EntityAt(const SceneSystem& scenes, glm::vec2 world);

    // What the window shows, as text.
    struct View
    {
        std::vector<std::string> _scenes;
        std::string _entity;                                          // empty: nothing picked yet
        std::vector<std::pair<std::string, std::string>> _components; // name, indented JSON
        std::string _tree;
    };
    View Describe(const SceneSystem& scenes) const;

    void Toggle() { _shown = !_shown; }
    bool IsShown() const { return _shown; }

    // Remembers the entity under the mouse; the last one stays picked while the mouse
    // is over empty ground or the window itself.
    void Pick(const SceneSystem& scenes, glm::vec2 mouseWorld);
    Entity* Picked() const { return _picked.Get(); }

    // Draws the window when shown and the game has a window with a live context.
    void Render(GLFWwindow* window);
    // Ends Dear ImGui while the context is still live.
    void Shutdown();

    // Hidden with nothing picked (between tests and runs).
    void Reset();

private:
    bool _shown = false;
    bool _started = false;
    EntityRef _picked;
};
