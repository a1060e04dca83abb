#include "data/FieldDescriptor.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

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

namespace
{
[[noreturn]] void OutOfRange(const json& j, const char* type)
{
    throw json::out_of_range::create(406, "number " + j.dump() + " is out of range for " + type, &j);
}

// Converting a number the target cannot hold is undefined behaviour, so the range is
// checked on the JSON value first; fractions are truncated as before.
template <typename T> T ReadInteger(const json& j, const char* type)
{
    using Limits = std::numeric_limits<T>;
    if (j.is_number_unsigned())
    {
        if (j.get<std::uint64_t>() > static_cast<std::uint64_t>(Limits::max()))
            OutOfRange(j, type);
    }
    else if (j.is_number_integer())
    {
        const auto v = j.get<std::int64_t>();
        if (v < static_cast<std::int64_t>(Limits::min()) || v > static_cast<std::int64_t>(Limits::max()))
            OutOfRange(j, type);
    }
    else if (j.is_number_float())
    {
        const double v = std::trunc(j.get<double>());
        if (!(v >= static_cast<double>(Limits::min()) && v <= static_cast<double>(Limits::max())))
            OutOfRange(j, type);
        return static_cast<T>(v);
    }
    return j.get<T>();
}
} // namespace

void ReadValue(float& out, const json& j)
{
    if (j.is_number_float() && std::abs(j.get<double>()) > std::numeric_limits<float>::max())
        OutOfRange(j, "float");
    out = j.get<float>();
}

void ReadValue(int& out, const json& j)
{
    out = ReadInteger<int>(j, "int");
}

void ReadValue(unsigned& out, const json& j)
{
    out = ReadInteger<unsigned>(j, "unsigned");
}

void ReadValue(bool& out, const json& j)
{
    out = j.get<bool>();
}

void ReadValue(glm::vec2& out, const json& j)
{
    RequireObject(j);
    if (auto x = j.find("x"); x != j.end())
        ReadValue(out.x, *x);
    if (auto y = j.find("y"); y != j.end())
        ReadValue(out.y, *y);
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
            ReadValue(out[i], *it);
}

void ReadValue(glm::vec4& out, const json& j)
{
    RequireObject(j);
    static constexpr const char* kKeys[] = {"r", "g", "b", "a"};
    for (int i = 0; i < 4; ++i)
        if (auto it = j.find(kKeys[i]); it != j.end())
            ReadValue(out[i], *it);
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
