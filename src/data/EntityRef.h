#pragma once

#include <memory>

class Entity;

// A reference to an entity that may be deleted while it is held. Get() checks on
// every use and gives null once the entity is gone, so actions, groups and behaviours
// can keep one across frames without ever reading freed memory:
//   EntityRef ref(entity); ... if (Entity* e = ref.Get()) e->Destroy();
class EntityRef
{
public:
    EntityRef() = default;
    // Implicit, so a ref takes an entity wherever a pointer was passed; null gives an
    // empty reference.
    EntityRef(Entity* entity);

    Entity* Get() const { return _token.expired() ? nullptr : _entity; }
    explicit operator bool() const { return Get() != nullptr; }

private:
    Entity* _entity = nullptr;
    std::weak_ptr<void> _token;
};
