#pragma once

#include "data/Entity.h"

#include <memory>
#include <string>

class EntityList;

// A new entity copied from the archetype "name": from the store when a kept prototype
// has that name, otherwise read from Data/Entity/<name>.json. With keep, the
// prototype read from the file stays in the store. Null when the file is missing or
// cannot be read (the reason is reported).
std::unique_ptr<Entity> CreateFromArchetype(const std::string& name, bool keep);

// The store of kept prototypes (never deferred; made on first use). Prototypes are
// never initialised, so they never get Exit either; only their copies play.
EntityList& ArchetypeList();
// Deletes every kept prototype (at scene-system exit, and between tests).
void ClearArchetypes();
