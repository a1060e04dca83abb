#include "data/FieldDescriptor.h"

#include <cctype>
#include <charconv>
#include <cstdlib>

std::string NormaliseKey(std::string_view name)
{
    std::string key;
    key.reserve(name.size());
    for (char c : name)
    {
        if (c == '_')
            continue;
        key.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    }
    return key;
}

namespace FieldIo
{
void RequireObject(const json& j)
{
    if (!j.is_object())
        throw json::type_error::create(302, std::string("type must be object, but is ") + j.type_name(), &j);
}

void ReadValue(float& out, const json& j)
{
    out = j.get<float>();
}

void ReadValue(int& out, const json& j)
{
    out = j.get<int>();
}

void ReadValue(unsigned& out, const json& j)
{
    out = j.get<unsigned>();
}

void ReadValue(bool& out, const json& j)
{
    out = j.get<bool>();
}

void ReadValue(glm::vec2& out, const json& j)
{
    RequireObject(j);
    if (auto x = j.find("x"); x != j.end())
        out.x = x->get<float>();
    if (auto y = j.find("y"); y != j.end())
        out.y = y->get<float>();
}

void ReadValue(Timer& out, const json& j)
{
    RequireObject(j);
    if (auto timer = j.find("timer"); timer != j.end())
        out.timer = timer->get<float>();
    if (auto duration = j.find("duration"); duration != j.end())
        out.duration = duration->get<float>();
}

void ReadValue(glm::vec3& out, const json& j)
{
    RequireObject(j);
    static constexpr const char* kKeys[] = {"x", "y", "z"};
    for (int i = 0; i < 3; ++i)
        if (auto it = j.find(kKeys[i]); it != j.end())
            out[i] = it->get<float>();
}

void ReadValue(glm::vec4& out, const json& j)
{
    RequireObject(j);
    static constexpr const char* kKeys[] = {"r", "g", "b", "a"};
    for (int i = 0; i < 4; ++i)
        if (auto it = j.find(kKeys[i]); it != j.end())
            out[i] = it->get<float>();
}

void ReadValue(std::string& out, const json& j)
{
    out = j.get<std::string>();
}

// A float widened to double prints as 0.10000000149011612; going through its
// shortest decimal form keeps written files as readable as the ones we ship.
double FloatForJson(float v)
{
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof(buffer) - 1, v);
    *result.ptr = '\0';
    return std::strtod(buffer, nullptr);
}

json WriteValue(float v)
{
    return FloatForJson(v);
}

json WriteValue(int v)
{
    return v;
}

json WriteValue(unsigned v)
{
    return v;
}

json WriteValue(bool v)
{
    return v;
}

json WriteValue(const glm::vec2& v)
{
    json j = json::object();
    j["x"] = FloatForJson(v.x);
    j["y"] = FloatForJson(v.y);
    return j;
}

json WriteValue(const Timer& v)
{
    json j = json::object();
    j["timer"] = FloatForJson(v.timer);
    j["duration"] = FloatForJson(v.duration);
    return j;
}

json WriteValue(const glm::vec3& v)
{
    json j = json::object();
    j["x"] = FloatForJson(v.x);
    j["y"] = FloatForJson(v.y);
    j["z"] = FloatForJson(v.z);
    return j;
}

json WriteValue(const glm::vec4& v)
{
    json j = json::object();
    j["r"] = FloatForJson(v.r);
    j["g"] = FloatForJson(v.g);
    j["b"] = FloatForJson(v.b);
    j["a"] = FloatForJson(v.a);
    return j;
}

json WriteValue(const std::string& v)
{
    return v;
}
} // namespace FieldIo
