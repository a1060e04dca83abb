#pragma once

#include "data/Component.h"

// Tells the rest of the game where the listener stands: every update it posts
// "sound_listener" with the owner's position.
class SoundListener : public ComponentBase<SoundListener>
{
public:
    SoundListener() : ComponentBase<SoundListener>(ctype::SoundListener) {}

    void Read(const json& j) override;
    void Write(json& j) const override;
    void Update(float dt) override;
};
