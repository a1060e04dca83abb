#include "data/EntityRef.h"

#include "data/Entity.h"

EntityRef::EntityRef(Entity* entity)
{
    if (!entity)
        return;
    _entity = entity;
    _token = entity->LifeToken();
}
