#pragma once

// A countdown that re-arms itself: `timer` is what is left, `duration` what it is set
// back to. JSON: {"timer": float, "duration": float}, each key optional on reading.
struct Timer
{
    float timer = 0.0f;
    float duration = 0.0f;

    bool operator==(const Timer&) const = default;
};
