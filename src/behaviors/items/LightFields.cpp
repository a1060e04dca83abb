#include "behaviors/items/LightFields.h"

#include "data/Entity.h"
#include "render/Lighting.h"

namespace LightFields
{
Lighting* Find(const Entity* entity)
{
    return entity ? entity->Get<Lighting>(ctype::Lighting) : nullptr;
}

void SetFactor(const Entity* entity, float factor)
{
    if (Lighting* light = Find(entity))
        light->_factor = factor;
}

float GetFactor(const Entity* entity, float fallback)
{
    const Lighting* light = Find(entity);
    return light ? light->_factor : fallback;
}

void SetColourAndOffset(const Entity* entity, const glm::vec4& colour, const glm::vec2& offset)
{
    if (Lighting* light = Find(entity))
    {
        light->_color = colour;
        light->_offset = offset;
    }
}
} // namespace LightFields
