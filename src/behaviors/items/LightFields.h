#pragma once

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

class Entity;
class Lighting;

// Behaviours change an entity's light through these, every frame if they like: they set
// the component's fields directly and allocate nothing. Every call does nothing when the
// entity has no light.
namespace LightFields
{
Lighting* Find(const Entity* entity);
void SetFactor(const Entity* entity, float factor);
// The light's factor, or `fallback` without a light.
float GetFactor(const Entity* entity, float fallback = 0.0f);
void SetColourAndOffset(const Entity* entity, const glm::vec4& colour, const glm::vec2& offset);
} // namespace LightFields
