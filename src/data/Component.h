#pragma once

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <memory>
#include <string_view>

using json = nlohmann::json;

class Entity;

// The type number of a component class; every behaviour shares 2.
using CType = std::uint32_t;

namespace ctype
{
inline constexpr CType Sprite = 0;
inline constexpr CType Animation = 1;
inline constexpr CType Behavior = 2;
inline constexpr CType PathFinder = 3;
inline constexpr CType Transform = 4;
inline constexpr CType Physics = 5;
inline constexpr CType Collider = 6;
inline constexpr CType Anchor = 7;
inline constexpr CType Lighting = 8;
inline constexpr CType Status = 9;
inline constexpr CType Flashlight = 10;
inline constexpr CType ParticleEmitter = 11;
inline constexpr CType ParticleRig = 12;
inline constexpr CType ProgressBar = 13;
inline constexpr CType ToolTip = 14;
inline constexpr CType PauseManager = 15;
inline constexpr CType CreditsManager = 16;
inline constexpr CType SoundListener = 17;
inline constexpr CType Count = 18;
} // namespace ctype

// The lower-case class name of a type number ("sprite", ...), or "" past the table.
std::string_view TypeName(CType type);

// Everything an entity holds derives from Component.
class Component
{
public:
    explicit Component(CType type) : _type(type) {}
    virtual ~Component() = default;

    virtual std::unique_ptr<Component> Clone() const = 0;
    virtual void Read(const json& j) = 0;
    virtual void Write(json& j) const = 0;
    virtual void Init() {}
    virtual void Update(float /*dt*/) {}
    virtual void FixedUpdate(float /*step*/) {}
    virtual void Render() {}
    virtual void Exit() {}
    virtual std::string_view GetName() const { return TypeName(_type); }
    virtual std::uint32_t GetFlags() const { return 0; }

    CType GetType() const { return _type; }
    Entity* GetOwner() const { return _owner; }
    void SetOwner(Entity* owner) { _owner = owner; }

protected:
    Component(const Component&) = default;
    Component& operator=(const Component&) = default;

    CType _type;
    Entity* _owner = nullptr;
};

// Clone for a concrete class: a copy with every member, not yet owned.
template <typename T, typename Base = Component> class ComponentBase : public Base
{
public:
    using Base::Base;

    std::unique_ptr<Component> Clone() const override
    {
        auto copy = std::make_unique<T>(static_cast<const T&>(*this));
        copy->SetOwner(nullptr);
        return copy;
    }
};
