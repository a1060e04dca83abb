#pragma once

#include "behaviors/Behavior.h"

// An icon for one of the level's objects: lit while the object is still out there,
// dark once it is collected.
class BehaviorUnlock : public ComponentBase<BehaviorUnlock, Behavior>
{
public:
    void Read(const json& j) override;
    void Write(json& j) const override;
    void Update(float dt) override;
    std::string_view GetName() const override { return "behaviorunlock"; }
    std::uint32_t GetFlags() const override { return 1u << ctype::Sprite; }

    static const FieldDescriptor<BehaviorUnlock>& Descriptor();

    float _id = 0.0f; // compared as a whole number
};
