#pragma once

#include "actions/ActionList.h"
#include "data/EntityList.h"
#include "data/FieldDescriptor.h"
#include "physics/CollisionPass.h"
#include "render/SceneLights.h"

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>

#include <memory>
#include <string>
#include <vector>

class LineBuffer;
class SceneCamera;
class Sprite;
class Tilemap;

// One loaded level: bounds, camera, background colour, entities and groups, action
// list and sub-scenes, built from Data/Level/<name>.json when constructed.
class Scene
{
public:
    // A sprite drawn with a given world matrix after the scene's entities.
    struct DrawItem
    {
        Sprite* _sprite = nullptr;
        glm::mat4 _matrix{1.0f};
    };

    // Sets the defaults, then loads the level file (and, through it, the sub-scenes,
    // which go to the end of the scene system's list ahead of this scene).
    explicit Scene(std::string name);
    virtual ~Scene();

    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    virtual void Init();
    // Applies a level object. Every key is optional; a key of the wrong JSON type is
    // reported (file and JSON path) and skipped, the rest still applies.
    virtual void Read(const json& j);
    virtual void Load();
    virtual void Write(json& j) const;
    // Writes the level file (Write plus "subscenes"), atomically. True on success.
    virtual bool Save() const;
    virtual void Update(float dt);
    virtual void Render();
    // Ends every entity and dissolves the scene's groups. Deleting the scene afterwards
    // calls into no other system.
    virtual void Exit();

    // Adds an entity spawned during play: initialised at once, updated from the next
    // update on.
    Entity* AddEntity(std::unique_ptr<Entity> entity);
    Entity* FindEntity(const std::string& name) const;

    const std::string& GetName() const { return _name; }
    // The level file was found and parsed.
    bool IsLoaded() const { return _loaded; }

    EntityList& GetEntities() { return _entities; }
    const EntityList& GetEntities() const { return _entities; }
    SceneCamera* GetCamera() const { return _camera.get(); }
    ActionList& GetActionList() { return _actions; }
    const std::vector<std::string>& GetSubSceneNames() const { return _subSceneNames; }

    const glm::vec2& GetUpperRightBound() const { return _upperRightBound; }
    const glm::vec2& GetLowerLeftBound() const { return _lowerLeftBound; }
    bool GetShowBounds() const { return _showbounds; }

    bool IsPaused() const { return _paused; }
    void SetPaused(bool paused) { _paused = paused; }
    // The scene system ends and deletes the scene after this frame's updates.
    void MarkForRemoval() { _remove = true; }
    bool IsMarkedForRemoval() const { return _remove; }

    void AddDrawItem(Sprite* sprite, const glm::mat4& matrix);
    const std::vector<DrawItem>& GetDrawItems() const { return _drawItems; }

    // The level's "tilemap" object as read, kept even when no tile map could be built
    // from it so that saving the level loses nothing.
    const json& GetTilemapData() const { return _tilemapData; }
    // Null when the level has no usable tile map.
    Tilemap* GetTilemap() const { return _tilemap.get(); }
    // The level's merged wall outline, or null when the scene has no tile map.
    const LineBuffer* GetTilemapWalls() const;

    // Empties the light arrays and appends each entity's first light and flashlight, in
    // entity order. Render does this once before the scene's sprites draw.
    void GatherLights();
    const SceneLights& GetLights() const { return _lights; }

    static const FieldDescriptor<Scene>& Descriptor();

private:
    void ReadCamera(const json& j);
    void ReadBackground(const json& j);
    void ReadEntities(const json& j);
    void ReadGroups(const json& wrapper);
    void ReadTilemap(const json& j);
    void LoadSubScenes(const json& list);
    void RunCollisions(EntityList& list);

    std::string LevelPath() const;

    glm::vec2 _upperRightBound{5000.0f, 5000.0f};
    glm::vec2 _lowerLeftBound{-5000.0f, -5000.0f};
    bool _showbounds = true;
    std::string _name;
    EntityList _entities{true};
    std::vector<std::string> _subSceneNames;
    bool _paused = false;
    bool _loaded = false;
    std::unique_ptr<SceneCamera> _camera;
    json _tilemapData;
    std::unique_ptr<Tilemap> _tilemap;
    bool _remove = false;
    ActionList _actions{1.0f};
    std::vector<DrawItem> _drawItems;
    CollisionPass _collisions;
    SceneLights _lights;
};
