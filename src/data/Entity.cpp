#include "data/Entity.h"

#include "data/BeneathDraw.h"
#include "data/DataFileScope.h"
#include "data/FieldDescriptor.h"
#include "data/JsonError.h"
#include "data/TypeRegistry.h"

#include <algorithm>

Entity::Entity(std::string name) : _name(std::move(name))
{
    _transform.SetOwner(this);
}

Entity::~Entity() = default;

void Entity::Init()
{
    if (_initialised)
        return;
    _initialised = true;
    for (std::size_t i = 0; i < _components.size(); ++i)
        _components[i]->Init();
}

void Entity::Exit()
{
    if (!_initialised || _exited)
        return;
    _exited = true;
    for (std::size_t i = 0; i < _components.size(); ++i)
        _components[i]->Exit();
}

std::unique_ptr<Entity> Entity::Clone() const
{
    auto copy = std::make_unique<Entity>(_name);
    copy->_transform.CopyValues(_transform);
    copy->_components.reserve(_components.size());
    for (const auto& component : _components)
    {
        auto clone = component->Clone();
        clone->SetOwner(copy.get());
        copy->_components.push_back(std::move(clone));
    }
    return copy;
}

Component* Entity::GetComponent(CType type) const
{
    for (const auto& component : _components)
        if (component->GetType() == type)
            return component.get();
    return nullptr;
}

Component* Entity::AddComponent(std::unique_ptr<Component> component)
{
    component->SetOwner(this);
    const CType type = component->GetType();
    auto it = std::lower_bound(_components.begin(), _components.end(), type,
                               [](const std::unique_ptr<Component>& c, CType t) { return c->GetType() < t; });
    if (it != _components.end() && (*it)->GetType() == type)
        *it = std::move(component);
    else
        it = _components.insert(it, std::move(component));
    return it->get();
}

void Entity::Read(const json& j, std::string_view file)
{
    FieldIo::RequireObject(j);
    const DataFileScope scope(file);

    if (auto name = j.find("name"); name != j.end())
        _name = name->get<std::string>();
    if (auto transform = j.find("transform"); transform != j.end())
        _transform.Read(*transform);

    auto components = j.find("components");
    if (components == j.end())
        return;
    FieldIo::RequireObject(*components);

    for (auto it = components->begin(); it != components->end(); ++it)
    {
        const auto* node = ComponentRegistry::Find(it.key());
        if (!node)
        {
            ReportDataError(file.empty() ? std::string_view("(entity)") : file, JsonPathOf(it.value()),
                            "unknown component \"" + it.key() + "\", skipped");
            continue;
        }
        if (!it.value().is_object())
        {
            ReportDataError(file.empty() ? std::string_view("(entity)") : file, JsonPathOf(it.value()),
                            "component \"" + it.key() + "\" must be a JSON object, but is " + it.value().type_name() +
                                "; skipped");
            continue;
        }
        if (node->_type == ctype::Transform)
        {
            _transform.Read(it.value());
            continue;
        }
        if (Component* existing = GetComponent(node->_type))
        {
            existing->Read(it.value());
            continue;
        }
        auto created = node->Create();
        if (!created)
            continue;
        Component* added = AddComponent(std::move(created));
        added->Read(it.value());
    }
}

std::unique_ptr<Entity> Entity::FromJson(const json& j, std::string_view file)
{
    auto entity = std::make_unique<Entity>();
    try
    {
        entity->Read(j, file);
    }
    catch (const json::exception& e)
    {
        ReportJsonError(file, e);
        return nullptr;
    }
    return entity;
}

void Entity::Write(json& j) const
{
    j["name"] = _name;
    json transform = json::object();
    _transform.Write(transform);
    j["transform"] = std::move(transform);
    json components = json::object();
    for (const auto& component : _components)
    {
        json c = json::object();
        component->Write(c);
        components[std::string(component->GetName())] = std::move(c);
    }
    j["components"] = std::move(components);
}

void Entity::Render()
{
    if (Component* emitter = GetComponent(ctype::ParticleEmitter))
        BeneathDraw::Draw(*emitter);
    for (auto& component : _components)
        component->Render();
}
