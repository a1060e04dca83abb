#include "data/GroupSystem.h"

#include "core/Assert.h"
#include "data/Entity.h"

void Group::Prune()
{
    std::erase_if(_members, [](const EntityRef& member) { return !member; });
    std::erase_if(_records, [](const Member& member) { return !member._entity; });
}

GroupSystem& GroupSystem::Instance()
{
    static GroupSystem instance;
    return instance;
}

Group* GroupSystem::Find(const std::string& name, const Scene* scene) const
{
    for (const auto& group : _groups)
        if (group->_scene == scene && group->_name == name)
        {
            group->Prune();
            return group.get();
        }
    return nullptr;
}

Group* GroupSystem::Create(const std::string& name, const Scene* scene)
{
    GLOAMER_ASSERT(_groups.size() < kMaxGroups, "controller container overflow: controller count cannot exceed 100");
    auto group = std::make_unique<Group>();
    group->_name = name;
    group->_scene = scene;
    _groups.push_back(std::move(group));
    return _groups.back().get();
}

void GroupSystem::Add(Group& group, Entity& entity)
{
    group._members.emplace_back(&entity);
    entity.SetGroupName(group._name);
    group._records.push_back({EntityRef(&entity), entity.GetTransform().GetTranslation()});
}

std::vector<Group*> GroupSystem::GetAll() const
{
    std::vector<Group*> all;
    all.reserve(_groups.size());
    for (const auto& group : _groups)
    {
        group->Prune();
        all.push_back(group.get());
    }
    return all;
}

void GroupSystem::Clear(Group& group)
{
    group._members.clear();
    group._records.clear();
    group._name.clear();
}

void GroupSystem::Remove(const Scene* scene)
{
    std::erase_if(_groups, [scene](const std::unique_ptr<Group>& group) { return group->_scene == scene; });
}

void GroupSystem::Reset()
{
    _groups.clear();
}
