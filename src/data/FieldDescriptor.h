#pragma once

#include "data/Timer.h"

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>
#include <nlohmann/json.hpp>

#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

using json = nlohmann::json;

// Removes every underscore and lower-cases the rest: "_halfSize" -> "halfsize".
std::string NormaliseKey(std::string_view name);

// Conversions between member values and their JSON form. Wrong JSON types raise the
// JSON library's type error (callers catch it at the object they are reading).
namespace FieldIo
{
// Raises the library's type error (with the value's JSON path) unless j is an object.
void RequireObject(const json& j);

void ReadValue(float& out, const json& j);
void ReadValue(int& out, const json& j);
void ReadValue(unsigned& out, const json& j);
void ReadValue(bool& out, const json& j);
void ReadValue(glm::vec2& out, const json& j); // keys "x" and "y", each optional
void ReadValue(glm::vec3& out, const json& j); // keys "x", "y" and "z", each optional
void ReadValue(glm::vec4& out, const json& j); // a colour: keys "r", "g", "b", "a", each optional
void ReadValue(std::string& out, const json& j);
void ReadValue(Timer& out, const json& j); // keys "timer" and "duration", each optional

double FloatForJson(float v);
json WriteValue(float v);
json WriteValue(int v);
json WriteValue(unsigned v);
json WriteValue(bool v);
json WriteValue(const glm::vec2& v);
json WriteValue(const glm::vec3& v);
json WriteValue(const glm::vec4& v);
json WriteValue(const std::string& v);
json WriteValue(const Timer& v);
} // namespace FieldIo

// The JSON face of a class: an ordered list of (member, key). Reading takes the keys
// that are present and leaves the other members as they were; writing stores all.
template <typename T> class FieldDescriptor
{
public:
    using Member = std::variant<float T::*, int T::*, unsigned T::*, bool T::*, glm::vec2 T::*, glm::vec3 T::*,
                                glm::vec4 T::*, std::string T::*, Timer T::*>;

    struct Field
    {
        Member _member;
        std::string _key;
    };

    struct Entry
    {
        Member member;
        std::string_view memberName;
    };

    FieldDescriptor(std::string_view className, std::initializer_list<Entry> entries)
        : _className(NormaliseKey(className))
    {
        _fields.reserve(entries.size());
        for (const Entry& e : entries)
            _fields.push_back({e.member, NormaliseKey(e.memberName)});
    }

    void Read(T& object, const json& j) const
    {
        if (!j.is_object())
            return;
        for (const Field& f : _fields)
        {
            auto it = j.find(f._key);
            if (it == j.end())
                continue;
            std::visit([&](auto member) { FieldIo::ReadValue(object.*member, *it); }, f._member);
        }
    }

    void Write(const T& object, json& j) const
    {
        for (const Field& f : _fields)
            std::visit([&](auto member) { j[f._key] = FieldIo::WriteValue(object.*member); }, f._member);
    }

    const std::string& ClassName() const { return _className; }
    const std::vector<Field>& Fields() const { return _fields; }

private:
    std::string _className;
    std::vector<Field> _fields;
};

// FIELD(Transform, _translation) -> {&Transform::_translation, "_translation"}
#define GLOAMER_FIELD(Class, member)                                                                                   \
    {                                                                                                                  \
        &Class::member, #member                                                                                        \
    }
