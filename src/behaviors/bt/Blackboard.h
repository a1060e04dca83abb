#pragma once

#include <glm/vec2.hpp>

#include <cstdint>
#include <typeinfo>
#include <unordered_map>
#include <variant>

class Behavior;
class BehaviorTree;
class Entity;
class Transform;

// Asking a blackboard for a key it lacks, or for a key of another type, is a
// programming error: the tree was built with the wrong keys.
class BlackboardCastError : public std::bad_cast
{
public:
    BlackboardCastError(unsigned key, const char* wanted, bool missing);
    const char* what() const noexcept override { return _text; }

private:
    char _text[96];
};

// The values a tree's leaves read and write, by unsigned key. Each entry holds exactly
// one of float, vec2 or int; the typed getters return a reference to it.
class Blackboard
{
public:
    using Value = std::variant<float, glm::vec2, std::int32_t>;

    float& GetFloat(unsigned key);
    glm::vec2& GetVec2(unsigned key);
    std::int32_t& GetInt(unsigned key);

    // Create-or-reset: the key holds a zero of that type afterwards.
    void ResetFloat(unsigned key) { _values[key] = 0.0f; }
    void ResetVec2(unsigned key) { _values[key] = glm::vec2(0.0f); }
    void SetInt(unsigned key, std::int32_t value) { _values[key] = value; }

    bool Has(unsigned key) const { return _values.contains(key); }
    const std::unordered_map<unsigned, Value>& Values() const { return _values; }

    // Sets the owner behaviour and its entity (whose transform gives the own position).
    void Bind(Behavior* owner, Entity* entity);
    // The position of the owner entity's transform; the origin without one.
    glm::vec2 OwnPosition() const;

    float _dt = 0.0f;
    BehaviorTree* _tree = nullptr;
    Behavior* _owner = nullptr;
    Transform* _transform = nullptr;
    Entity* _entity = nullptr;

private:
    friend class BehaviorTree;

    template <typename T> T& Get(unsigned key, const char* wanted);

    std::unordered_map<unsigned, Value> _values;
};
