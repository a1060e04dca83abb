#pragma once

#include "core/System.h"
#include "data/EntityRef.h"

#include <glm/vec2.hpp>

#include <memory>
#include <string>
#include <vector>

class Entity;
class Scene;

// A named set of entities declared by a level file. Members are held by reference:
// a member that is deleted leaves the group the next time the group is looked up.
struct Group
{
    struct Member
    {
        EntityRef _entity;
        glm::vec2 _position{0.0f}; // where the member stood when it joined
    };

    // Drops the members that no longer exist.
    void Prune();

    std::vector<EntityRef> _members;
    std::vector<Member> _records;
    std::string _name;
    const Scene* _scene = nullptr; // only compared, never followed
};

// Owns every group. Not driven by the main loop; levels and behaviours reach it directly.
// Find and GetAll hand out groups without deleted members.
class GroupSystem : public System
{
public:
    static constexpr std::size_t kMaxGroups = 100;

    GroupSystem() : System("GroupSystem") {}

    static GroupSystem& Instance();

    void Update(float) override {}

    Group* Find(const std::string& name, const Scene* scene) const;
    Group* Create(const std::string& name, const Scene* scene);
    void Add(Group& group, Entity& entity);
    std::vector<Group*> GetAll() const;
    void Clear(Group& group);
    // Deletes every group a scene declared, when the scene ends, so switching levels
    // never runs into the group limit.
    void Remove(const Scene* scene);

    // Removes every group (between tests and runs).
    void Reset();

private:
    std::vector<std::unique_ptr<Group>> _groups;
};
