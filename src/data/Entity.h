#pragma once

#include "data/Component.h"
#include "data/Transform.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class Scene;

// A named game object: a transform plus at most one component of each type, kept
// sorted by type number.
class Entity
{
public:
    explicit Entity(std::string name = {});
    ~Entity();

    Entity(const Entity&) = delete;
    Entity& operator=(const Entity&) = delete;

    // Same name, transform values and component clones; flags, scene and group are not copied.
    std::unique_ptr<Entity> Clone() const;

    // Reads "name", "transform" and "components". Components already on the entity are
    // read in place; new ones are created from the registry. An unregistered component
    // key is reported (naming file) and skipped. JSON type errors propagate so the
    // caller can drop the whole object.
    void Read(const json& j, std::string_view file = {});

    // Builds an entity from JSON, or reports the error (file and JSON path) and
    // returns null.
    static std::unique_ptr<Entity> FromJson(const json& j, std::string_view file);

    // "name", "transform" and "components" (each component under its name), the
    // form Read takes.
    void Write(json& j) const;

    Component* GetComponent(CType type) const;
    template <typename T> T* Get(CType type) const { return dynamic_cast<T*>(GetComponent(type)); }

    // Takes ownership; a component of the same type already present is replaced.
    Component* AddComponent(std::unique_ptr<Component> component);
    const std::vector<std::unique_ptr<Component>>& Components() const { return _components; }

    // Initialises every component, once; later calls do nothing.
    void Init();
    // Ends every component, once, and only after Init: prototypes and copies that never
    // joined a list are deleted without Exit. Deleting an entity never calls Exit.
    void Exit();

    void Render();

    // Expires when the entity is deleted; EntityRef watches it.
    const std::shared_ptr<void>& LifeToken() const { return _lifeToken; }

    void Destroy() { _destroy = true; }
    bool IsDestroyed() const { return _destroy; }
    void Detach() { _detach = true; }
    bool IsDetached() const { return _detach; }
    void ClearDetach() { _detach = false; }

    Scene* GetScene() const { return _scene; }
    void SetScene(Scene* scene) { _scene = scene; }

    Transform& GetTransform() { return _transform; }
    const Transform& GetTransform() const { return _transform; }

    const std::string& GetName() const { return _name; }
    void SetName(std::string name) { _name = std::move(name); }
    const std::string& GetGroupName() const { return _groupName; }
    void SetGroupName(std::string name) { _groupName = std::move(name); }

private:
    bool _destroy = false;
    bool _detach = false;
    bool _initialised = false;
    bool _exited = false;
    std::shared_ptr<void> _lifeToken = std::make_shared<char>(0);
    Scene* _scene = nullptr;
    Transform _transform;
    std::string _name;
    std::string _groupName;
    std::vector<std::unique_ptr<Component>> _components;
};
