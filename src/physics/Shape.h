#pragma once

#include <glm/vec4.hpp>
#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <memory>

using json = nlohmann::json;

// Shape type numbers, as stored in collider files.
namespace shape
{
inline constexpr std::uint32_t LineBuffer = 0;
inline constexpr std::uint32_t Polygon = 1;
inline constexpr std::uint32_t Circle = 2;
inline constexpr std::uint32_t Point = 3;
inline constexpr std::uint32_t BoundingRectangle = 4;
inline constexpr std::uint32_t None = 5;
inline constexpr std::uint32_t Count = 6;
} // namespace shape

// Collision geometry. Reading takes the keys that are present and leaves the rest;
// wrong JSON types raise the library's type error for the caller to report.
class Shape
{
public:
    static constexpr glm::vec4 kDebugColour{0.0f, 1.0f, 0.0f, 1.0f};

    explicit Shape(std::uint32_t type) : _type(type) {}
    virtual ~Shape() = default;

    virtual std::unique_ptr<Shape> Clone() const = 0;
    virtual void Read(const json& j) = 0;
    virtual void Write(json& j) const = 0;
    // Pushes the outline onto the debug line list.
    virtual void DebugDraw() const {}

    std::uint32_t GetType() const { return _type; }

protected:
    Shape(const Shape&) = default;
    Shape& operator=(const Shape&) = default;

private:
    std::uint32_t _type;
};

// An empty shape of the given type number; null for 5 (no shape) and anything unknown.
std::unique_ptr<Shape> CreateShape(std::uint32_t type);
