#include "ui/Anchor.h"

#include "core/Screen.h"
#include "data/Entity.h"
#include "data/TypeRegistry.h"

GLOAMER_REGISTER_COMPONENT(Anchor, ctype::Anchor)

const FieldDescriptor<Anchor>& Anchor::Descriptor()
{
    static const FieldDescriptor<Anchor> descriptor("Anchor", {
                                                                  GLOAMER_FIELD(Anchor, _percentX),
                                                                  GLOAMER_FIELD(Anchor, _percentY),
                                                                  GLOAMER_FIELD(Anchor, _enabled),
                                                              });
    return descriptor;
}

void Anchor::Read(const json& j)
{
    Descriptor().Read(*this, j);
}

void Anchor::Write(json& j) const
{
    Descriptor().Write(*this, j);
}

void Anchor::Init()
{
    _transform = GetOwner() ? &GetOwner()->GetTransform() : nullptr;
}

glm::vec2 Anchor::Placement(float percentX, float percentY, int width, int height, int monitorWidth)
{
    // Screen pixels to the 1920-wide design space of the screen camera.
    const float k = monitorWidth > 0 ? 1920.0f / static_cast<float>(monitorWidth) : 1.0f;
    return {static_cast<float>(width) * 0.5f * percentX * k, static_cast<float>(height) * 0.5f * percentY * k};
}

void Anchor::Update(float /*dt*/)
{
    if (!_enabled || !_transform)
        return;
    const Screen::Size window = Screen::GetWindowSize();
    _transform->SetTranslation(
        Placement(_percentX, _percentY, window.width, window.height, Screen::GetMonitorSize().width));
}
