#pragma once

#include "data/Component.h"

#include <array>
#include <cstdint>
#include <string_view>

// Effects passed between touching entities, by bit index.
enum class StatusFlag : unsigned
{
    Activate = 0,
    Ignite = 1,
    Shock = 2,
    Slice = 3,
    Soggy = 4,
    Sticky = 5,
    Shade = 6,
    Smash = 7,
    Impact = 8,
};

inline constexpr unsigned kStatusFlagCount = 9;
inline constexpr std::array<std::string_view, kStatusFlagCount> kStatusFlagNames = {
    "Activate", "Ignite", "Shock", "Slice", "Soggy", "Sticky", "Shade", "Smash", "Impact"};
// How each held flag scales the holder's movement speed.
inline constexpr std::array<float, kStatusFlagCount> kStatusSpeedMultipliers = {1.0f, 0.8f, 1.2f, 0.0001f, 0.8f,
                                                                                0.5f, 1.0f, 1.0f, 1.0f};

constexpr std::uint16_t StatusBit(StatusFlag flag)
{
    return static_cast<std::uint16_t>(1u << static_cast<unsigned>(flag));
}

// The status flags an entity holds for this frame (_temporary) or until code clears
// them (_permanent), and the masks of flags it accepts from what it touches.
class Status : public ComponentBase<Status>
{
public:
    Status() : ComponentBase<Status>(ctype::Status) {}

    // Each key is optional; a value that is not a number is reported and skipped.
    void Read(const json& j) override;
    void Write(json& j) const override;
    // Temporary flags last only as long as the contact that set them.
    void Update(float dt) override;

    // Takes the giver's flags through this entity's masks; returns the bits that became set.
    std::uint16_t Receive(const Status& giver);

    // Product of the multipliers of every accepted flag held; 1 with none.
    float SpeedMultiplier() const;

    std::uint16_t _tempMask = 0;
    std::uint16_t _permMask = 0;
    std::uint16_t _temporary = 0;
    std::uint16_t _permanent = 0;
};
