#include "data/Archetypes.h"

#include "data/EntityList.h"
#include "data/Stream.h"

namespace
{
std::unique_ptr<EntityList>& Store()
{
    static std::unique_ptr<EntityList> store;
    return store;
}
} // namespace

EntityList& ArchetypeList()
{
    auto& store = Store();
    if (!store)
        store = std::make_unique<EntityList>(false);
    return *store;
}

void ClearArchetypes()
{
    Store().reset();
}

std::unique_ptr<Entity> CreateFromArchetype(const std::string& name, bool keep)
{
    EntityList& list = ArchetypeList();
    if (Entity* prototype = list.FindByName(name))
        return prototype->Clone();

    Stream stream(name, EntityFile);
    if (!stream.IsOpen())
        return nullptr;
    const json& j = stream.GetJson();
    if (!stream.HasJson())
        return nullptr;

    std::unique_ptr<Entity> prototype = Entity::FromJson(j, stream.Path());
    if (!prototype)
        return nullptr;

    auto copy = prototype->Clone();
    if (keep)
        list.AddUninitialised(std::move(prototype));
    return copy;
}
