#include "behaviors/items/ArchetypeOrReport.h"

#include "core/Trace.h"
#include "data/Archetypes.h"
#include "data/Stream.h"

std::unique_ptr<Entity> ArchetypeOrReport(const std::string& name, std::string_view without)
{
    std::unique_ptr<Entity> entity = CreateFromArchetype(name, false);
    if (!entity)
        Trace::Error(Stream::GetPath(name, EntityFile) + ": no archetype \"" + name + "\" could be made; " +
                     std::string(without));
    return entity;
}
