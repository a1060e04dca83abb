#include "behaviors/bt/Blackboard.h"

#include "data/Entity.h"

#include <cstdio>

BlackboardCastError::BlackboardCastError(unsigned key, const char* wanted, bool missing)
{
    std::snprintf(_text, sizeof(_text),
                  missing ? "blackboard key %u is missing (wanted %s)" : "blackboard key %u does not hold a %s", key,
                  wanted);
}

template <typename T> T& Blackboard::Get(unsigned key, const char* wanted)
{
    const auto it = _values.find(key);
    if (it == _values.end())
        throw BlackboardCastError(key, wanted, true);
    T* value = std::get_if<T>(&it->second);
    if (!value)
        throw BlackboardCastError(key, wanted, false);
    return *value;
}

float& Blackboard::GetFloat(unsigned key)
{
    return Get<float>(key, "float");
}

glm::vec2& Blackboard::GetVec2(unsigned key)
{
    return Get<glm::vec2>(key, "vec2");
}

std::int32_t& Blackboard::GetInt(unsigned key)
{
    return Get<std::int32_t>(key, "int");
}

void Blackboard::Bind(Behavior* owner, Entity* entity)
{
    _owner = owner;
    _entity = entity;
    _transform = entity ? &entity->GetTransform() : nullptr;
}

glm::vec2 Blackboard::OwnPosition() const
{
    return _transform ? _transform->GetTranslation() : glm::vec2(0.0f);
}
