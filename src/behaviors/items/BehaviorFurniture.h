#pragma once

#include "audio/Sound.h"
#include "behaviors/Behavior.h"

// A piece of furniture: cut or smashed, it breaks, leaving wood chips scattered
// around where it stood when it has a material to leave.
class BehaviorFurniture : public ComponentBase<BehaviorFurniture, Behavior>
{
public:
    static constexpr const char* kChipArchetype = "woodchip";
    static constexpr float kChipDistance = 30.0f;
    static constexpr float kChipSpeed = 60.0f;
    // Each chip's direction strays up to this far (radians) from an even spread.
    static constexpr float kChipScatter = 0.15708f;

    void Read(const json& j) override;
    void Write(json& j) const override;
    void Init() override;
    void Update(float dt) override;
    void OnStatusGained(unsigned flag) override;
    std::string_view GetName() const override { return "behaviorfurniture"; }
    std::uint32_t GetFlags() const override { return 0x220; }

    // Destroys the furniture and scatters its chips; a second call does nothing.
    void Break();

    static const FieldDescriptor<BehaviorFurniture>& Descriptor();

    unsigned _destroyMaterial = 0; // zero leaves nothing behind
    int _leftoverAmount = 0;
    bool _initialized = false;

private:
    void ScatterChips() const;

    Sound _breaksound;
};
