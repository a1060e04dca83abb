#include "data/Archetypes.h"

#include "data/EntityList.h"
#include "data/Stream.h"

#include <unordered_map>

namespace
{
struct Store
{
    std::unique_ptr<EntityList> _list;
    // Keyed by the name asked for (the file name), which the prototype's own "name"
    // need not match.
    std::unordered_map<std::string, Entity*> _byFile;
};

Store& TheStore()
{
    static Store store;
    return store;
}
} // namespace

EntityList& ArchetypeList()
{
    Store& store = TheStore();
    if (!store._list)
        store._list = std::make_unique<EntityList>(false);
    return *store._list;
}

void ClearArchetypes()
{
    Store& store = TheStore();
    store._byFile.clear();
    store._list.reset();
}

std::unique_ptr<Entity> CreateFromArchetype(const std::string& name, bool keep)
{
    EntityList& list = ArchetypeList();
    auto& byFile = TheStore()._byFile;
    if (auto kept = byFile.find(name); kept != byFile.end())
        return kept->second->Clone();
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
        byFile[name] = list.AddUninitialised(std::move(prototype));
    return copy;
}
