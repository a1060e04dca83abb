#pragma once

#include "data/Component.h"
#include "data/FieldDescriptor.h"

#include <glm/vec2.hpp>

class Transform;

// Pins an entity to a fraction of the screen so HUD and menu elements keep their
// place at the edges whatever the window size.
class Anchor : public ComponentBase<Anchor>
{
public:
    Anchor() : ComponentBase<Anchor>(ctype::Anchor) {}

    void Read(const json& j) override;
    void Write(json& j) const override;
    void Init() override;
    void Update(float dt) override;

    bool IsEnabled() const { return _enabled; }
    void SetEnabled(bool enabled) { _enabled = enabled; }
    float GetPercentX() const { return _percentX; }
    float GetPercentY() const { return _percentY; }

    // The design-space position for a window of width x height pixels on a monitor
    // monitorWidth pixels wide.
    static glm::vec2 Placement(float percentX, float percentY, int width, int height, int monitorWidth);

    static const FieldDescriptor<Anchor>& Descriptor();

private:
    float _percentX = 0.0f;
    float _percentY = 0.0f;
    bool _enabled = true;
    Transform* _transform = nullptr;
};
