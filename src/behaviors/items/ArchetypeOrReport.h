#pragma once

#include "data/Entity.h"

#include <memory>
#include <string>
#include <string_view>

// A fresh entity from the archetype, or null with one line to the trace log naming
// the archetype file and what the caller does without it.
std::unique_ptr<Entity> ArchetypeOrReport(const std::string& name, std::string_view without);
