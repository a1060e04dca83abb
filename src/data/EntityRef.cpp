#include "data/EntityRef.h"

#include "data/Entity.h"

EntityRef::EntityRef(const Entity* entity)
{
    if (!entity)
        return;
    _entity = const_cast<Entity*>(entity);
    _token = entity->LifeToken();
}
