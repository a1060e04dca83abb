#pragma once

#include "data/Component.h"

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

class Entity;

// Behaviours change an entity's light through its saved fields, so they work with any
// light component that keeps "factor", "color" and "offset" under those keys. Every
// call does nothing when the entity has no light.
namespace LightFields
{
Component* Find(const Entity* entity);
void SetFactor(const Entity* entity, float factor);
// The light's factor, or `fallback` without a light.
float GetFactor(const Entity* entity, float fallback = 0.0f);
void SetColourAndOffset(const Entity* entity, const glm::vec4& colour, const glm::vec2& offset);
} // namespace LightFields
