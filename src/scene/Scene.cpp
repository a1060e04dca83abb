#include "scene/Scene.h"

#include "core/AtomicFile.h"
#include "core/Trace.h"
#include "data/DataPath.h"
#include "data/GroupSystem.h"
#include "data/JsonError.h"
#include "data/Stream.h"
#include "physics/Collider.h"
#include "render/LightUniforms.h"
#include "render/Lighting.h"
#include "render/RenderState.h"
#include "render/SceneCamera.h"
#include "render/Sprite.h"
#include "render/SpriteBatch.h"
#include "scene/Flashlight.h"
#include "scene/SceneEndHook.h"
#include "scene/SceneSystem.h"
#include "scene/Tilemap.h"

#include <algorithm>

namespace
{
// Names of the levels being loaded, outermost first, so a sub-scene list that leads
// back to one of them is caught instead of recursing forever.
std::vector<std::string>& LoadingLevels()
{
    static std::vector<std::string> levels;
    return levels;
}

struct LoadingGuard
{
    explicit LoadingGuard(const std::string& name) { LoadingLevels().push_back(name); }
    ~LoadingGuard() { LoadingLevels().pop_back(); }
    LoadingGuard(const LoadingGuard&) = delete;
    LoadingGuard& operator=(const LoadingGuard&) = delete;
};

// Runs one step of reading; a JSON type error is reported and only that step is lost.
template <typename F> void Guarded(std::string_view file, F&& step)
{
    try
    {
        step();
    }
    catch (const json::exception& e)
    {
        ReportJsonError(file, e);
    }
}

void RequireArray(const json& j)
{
    if (!j.is_array())
        throw json::type_error::create(302, std::string("type must be array, but is ") + j.type_name(), &j);
}
} // namespace

const FieldDescriptor<Scene>& Scene::Descriptor()
{
    static const FieldDescriptor<Scene> descriptor("Scene", {
                                                                GLOAMER_FIELD(Scene, _upperRightBound),
                                                                GLOAMER_FIELD(Scene, _lowerLeftBound),
                                                                GLOAMER_FIELD(Scene, _showbounds),
                                                            });
    return descriptor;
}

Scene::Scene(std::string name) : _name(std::move(name))
{
    Load();
}

Scene::~Scene()
{
    Trace::Message("Scene '" + _name + "' Unload\n");
    SceneEndHook::Run();
    _drawItems.clear();
    _actions.Clear();
    _tilemap.reset();
    _tilemapData = nullptr;
    _camera.reset();
}

std::string Scene::LevelPath() const
{
    return Stream::GetPath(_name, LevelFile);
}

void Scene::Load()
{
    Stream stream(_name, LevelFile);
    if (!stream.IsOpen())
        Trace::Error("Failed to load scene " + _name + " (" + stream.Path() + " not found)");
    // A file that is not JSON at all has been reported by the stream.
    else if (stream.HasJson())
    {
        const json& j = stream.GetJson();
        if (!j.is_object())
            ReportDataError(stream.Path(), "", std::string("a level must be a JSON object, but is ") + j.type_name());
        else
        {
            _loaded = true;
            LoadingGuard guard(_name);
            Read(j);
            if (auto subscenes = j.find("subscenes"); subscenes != j.end())
                Guarded(stream.Path(), [&] { LoadSubScenes(*subscenes); });
        }
    }
    // Even an empty scene gets a camera, so nothing that asks for one has to check.
    if (!_camera)
        _camera = SceneCamera::Create("defaultcam");
}

void Scene::Read(const json& j)
{
    const std::string file = LevelPath();
    Guarded(file, [&] { FieldIo::RequireObject(j); });
    if (!j.is_object())
        return;

    Guarded(file, [&] { Descriptor().Read(*this, j); });
    if (auto camera = j.find("camera"); camera != j.end())
        Guarded(file, [&] { ReadCamera(*camera); });
    if (auto background = j.find("background"); background != j.end())
        Guarded(file, [&] { ReadBackground(*background); });
    if (auto entities = j.find("entities"); entities != j.end())
        Guarded(file, [&] { ReadEntities(*entities); });
    if (auto tilemap = j.find("tilemap"); tilemap != j.end())
        Guarded(file, [&] { ReadTilemap(*tilemap); });

    if (!_camera)
        _camera = SceneCamera::Create("defaultcam");
}

void Scene::ReadCamera(const json& j)
{
    FieldIo::RequireObject(j);
    if (!_camera)
    {
        std::string kind = "defaultcam";
        if (auto name = j.find("name"); name != j.end())
            kind = name->get<std::string>();
        _camera = SceneCamera::Create(kind);
    }
    _camera->Read(j);
}

void Scene::ReadTilemap(const json& j)
{
    FieldIo::RequireObject(j);
    _tilemapData = j;
    _tilemap = std::make_unique<Tilemap>();
    if (!_tilemap->Read(j, LevelPath()))
        _tilemap.reset();
}

const LineBuffer* Scene::GetTilemapWalls() const
{
    return _tilemap ? &_tilemap->GetWalls() : nullptr;
}

void Scene::ReadBackground(const json& j)
{
    FieldIo::RequireObject(j);
    auto color = j.find("color");
    if (color == j.end())
        return;
    // A channel the level leaves out keeps the colour it had.
    glm::vec4 clear = RenderState::GetClearColour();
    FieldIo::ReadValue(clear, *color);
    RenderState::SetClearColour(clear);
}

void Scene::ReadEntities(const json& j)
{
    RequireArray(j);
    const std::string file = LevelPath();
    for (const json& element : j)
    {
        if (element.is_object() && element.contains("groups"))
        {
            Guarded(file, [&] { ReadGroups(element); });
            continue;
        }
        if (auto entity = Entity::FromJson(element, file))
            _entities.AddUninitialised(std::move(entity), this);
    }
}

void Scene::ReadGroups(const json& wrapper)
{
    const json& groups = wrapper.at("groups");
    RequireArray(groups);
    const std::string file = LevelPath();
    GroupSystem& system = GroupSystem::Instance();
    for (const json& g : groups)
    {
        Guarded(file,
                [&]
                {
                    FieldIo::RequireObject(g);
                    const std::string name = g.at("name").get<std::string>();
                    Group* group = system.Find(name, this);
                    if (!group)
                        group = system.Create(name, this);
                    auto members = g.find("members");
                    if (members == g.end())
                        return;
                    RequireArray(*members);
                    for (const json& member : *members)
                        if (auto entity = Entity::FromJson(member, file))
                            system.Add(*group, *_entities.AddUninitialised(std::move(entity), this));
                });
    }
}

void Scene::LoadSubScenes(const json& list)
{
    RequireArray(list);
    const std::string file = LevelPath();
    for (const json& element : list)
    {
        std::string name;
        Guarded(file, [&] { name = element.get<std::string>(); });
        if (name.empty())
            continue;
        _subSceneNames.push_back(name);
        if (!CheckDataPath(name, file, element))
            continue;

        const auto& loading = LoadingLevels();
        if (const auto it = std::find(loading.begin(), loading.end(), name); it != loading.end())
        {
            std::string chain;
            for (auto link = it; link != loading.end(); ++link)
                chain += *link + " -> ";
            ReportDataError(file, JsonPathOf(element),
                            "sub-scene \"" + name + "\" leads back to itself (" + chain + name + "), skipped");
            continue;
        }
        SceneSystem::Instance().AddScene(std::make_unique<Scene>(name));
    }
}

void Scene::Init()
{
    Trace::Message("Scene " + _name + " Init");
    _entities.InitAll();
    if (_camera)
        _camera->Init();
}

void Scene::Update(float dt)
{
    if (_paused)
        return;
    _drawItems.clear();
    _entities.Update(dt, [this](EntityList& list) { RunCollisions(list); });
    if (_camera)
        _camera->Update(dt);
    if (_tilemap)
        _tilemap->Update(dt);
    _actions.Update(dt);
}

void Scene::GatherLights()
{
    _lights.Clear();
    for (const auto& entity : _entities.Entities())
    {
        if (const auto* light = entity->Get<Lighting>(ctype::Lighting))
            light->AppendTo(_lights);
        if (const auto* flashlight = entity->Get<Flashlight>(ctype::Flashlight))
            flashlight->AppendTo(_lights);
    }
    _lights.CheckLimit(_name);
}

void Scene::Render()
{
    GatherLights();
    LightUniforms::Use(&_lights);
    if (_tilemap)
        _tilemap->RenderLower();
    _entities.RenderAll();
    if (_tilemap)
        _tilemap->RenderUpper();
    for (const DrawItem& item : _drawItems)
        item._sprite->RenderWithMatrix(item._matrix);
    // The last run draws under this scene's lights and camera.
    SpriteBatch::Flush();
    LightUniforms::Use(nullptr);
}

void Scene::Exit()
{
    Trace::Message("Scene '" + _name + "' Exit\n");
    _entities.ExitAll();
    GroupSystem::Instance().Remove(this);
    SceneEndHook::Run();
}

void Scene::RunCollisions(EntityList& list)
{
    CollisionWorld world;
    world._lowerLeftBound = _lowerLeftBound;
    world._upperRightBound = _upperRightBound;
    world._walls = GetTilemapWalls();
    _collisions.Run(list, world, Collider::RegionSize());
}

Entity* Scene::AddEntity(std::unique_ptr<Entity> entity)
{
    return _entities.Add(std::move(entity), this);
}

Entity* Scene::FindEntity(const std::string& name) const
{
    return _entities.FindByName(name);
}

void Scene::AddDrawItem(Sprite* sprite, const glm::mat4& matrix)
{
    if (sprite)
        _drawItems.push_back({sprite, matrix});
}

void Scene::Write(json& j) const
{
    Descriptor().Write(*this, j);
    if (_camera)
    {
        json camera = json::object();
        _camera->Write(camera);
        j["camera"] = std::move(camera);
    }
    j["background"]["color"] = FieldIo::WriteValue(RenderState::GetClearColour());
    if (_tilemap)
    {
        json tilemap = json::object();
        _tilemap->Write(tilemap);
        j["tilemap"] = std::move(tilemap);
    }
    else if (!_tilemapData.is_null())
        j["tilemap"] = _tilemapData;

    // Entities outside groups as they are, then one wrapper per group.
    json entities = json::array();
    for (const auto& entity : _entities.Entities())
    {
        if (!entity->GetGroupName().empty())
            continue;
        json e = json::object();
        entity->Write(e);
        entities.push_back(std::move(e));
    }
    for (const Group* group : GroupSystem::Instance().GetAll())
    {
        if (group->_scene != this || group->_name.empty())
            continue;
        json members = json::array();
        for (const EntityRef& member : group->_members)
        {
            const Entity* entity = member.Get();
            if (!entity)
                continue;
            json e = json::object();
            entity->Write(e);
            members.push_back(std::move(e));
        }
        json g = {{"name", group->_name}, {"members", std::move(members)}};
        entities.push_back({{"groups", json::array({std::move(g)})}});
    }
    j["entities"] = std::move(entities);
}

bool Scene::Save() const
{
    json j = json::object();
    Write(j);
    j["subscenes"] = _subSceneNames;
    return WriteFileAtomic(LevelPath(), j.dump(4) + "\n");
}
