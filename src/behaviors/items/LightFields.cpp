#include "behaviors/items/LightFields.h"

#include "data/Entity.h"
#include "data/FieldDescriptor.h"

#include <nlohmann/json.hpp>

namespace LightFields
{
Component* Find(const Entity* entity)
{
    return entity ? entity->GetComponent(ctype::Lighting) : nullptr;
}

void SetFactor(const Entity* entity, float factor)
{
    if (Component* light = Find(entity))
        light->Read(json{{"factor", FieldIo::WriteValue(factor)}});
}

float GetFactor(const Entity* entity, float fallback)
{
    Component* light = Find(entity);
    if (!light)
        return fallback;
    json fields = json::object();
    light->Write(fields);
    auto it = fields.find("factor");
    return it != fields.end() && it->is_number() ? it->get<float>() : fallback;
}

void SetColourAndOffset(const Entity* entity, const glm::vec4& colour, const glm::vec2& offset)
{
    if (Component* light = Find(entity))
        light->Read(json{{"color", FieldIo::WriteValue(colour)}, {"offset", FieldIo::WriteValue(offset)}});
}
} // namespace LightFields
