#include "ui/ProgressBar.h"

#include "core/Trace.h"
#include "data/Archetypes.h"
#include "data/Entity.h"
#include "data/Stream.h"
#include "data/TypeRegistry.h"
#include "render/Sprite.h"

#include <glm/ext/matrix_transform.hpp>

#include <algorithm>

GLOAMER_REGISTER_COMPONENT(ProgressBar, ctype::ProgressBar)

namespace
{
std::unique_ptr<Sprite> CopySprite(const Sprite* sprite)
{
    if (!sprite)
        return nullptr;
    return std::unique_ptr<Sprite>(static_cast<Sprite*>(sprite->Clone().release()));
}

std::unique_ptr<Sprite> ReadSprite(const json& j)
{
    auto sprite = std::make_unique<Sprite>();
    sprite->Read(j);
    return sprite;
}

glm::mat4 TranslateScale(const glm::vec2& position, const glm::vec2& scale)
{
    return glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(position, 0.0f)), glm::vec3(scale, 1.0f));
}
} // namespace

std::unique_ptr<Sprite> DefaultSprite()
{
    const std::unique_ptr<Entity> prototype = CreateFromArchetype("default_sprite", true);
    std::unique_ptr<Sprite> sprite = prototype ? CopySprite(prototype->Get<Sprite>(ctype::Sprite)) : nullptr;
    if (!sprite)
        Trace::Error(Stream::GetPath("default_sprite", EntityFile) +
                     ": no default sprite; a bar or tip without sprites of its own is not drawn");
    return sprite;
}

void FillMissingSprites(std::unique_ptr<Sprite>& fill, std::unique_ptr<Sprite>& background)
{
    if (fill && background)
        return;
    std::unique_ptr<Sprite> sprite = DefaultSprite();
    if (!sprite)
        return;
    if (!fill)
        fill = CopySprite(sprite.get());
    if (!background)
        background = std::move(sprite);
}

const FieldDescriptor<ProgressBar>& ProgressBar::Descriptor()
{
    static const FieldDescriptor<ProgressBar> descriptor("ProgressBar", {
                                                                            GLOAMER_FIELD(ProgressBar, _translation),
                                                                            GLOAMER_FIELD(ProgressBar, _scale),
                                                                            GLOAMER_FIELD(ProgressBar, _depth),
                                                                            GLOAMER_FIELD(ProgressBar, _borderWidth),
                                                                            GLOAMER_FIELD(ProgressBar, _forceRun),
                                                                            GLOAMER_FIELD(ProgressBar, _vertical),
                                                                        });
    return descriptor;
}

ProgressBar::ProgressBar(const ProgressBar& other)
    : ComponentBase<ProgressBar>(other), _translation(other._translation), _scale(other._scale), _depth(other._depth),
      _borderWidth(other._borderWidth), _forceRun(other._forceRun), _vertical(other._vertical), _value(other._value),
      _visible(other._visible), _fill(CopySprite(other._fill.get())), _background(CopySprite(other._background.get())),
      _fillMatrix(other._fillMatrix), _backgroundMatrix(other._backgroundMatrix)
{
}

ProgressBar::~ProgressBar() = default;

void ProgressBar::Read(const json& j)
{
    Descriptor().Read(*this, j);
    if (auto it = j.find("fillsprite"); it != j.end())
        _fill = ReadSprite(*it);
    if (auto it = j.find("backgroundsprite"); it != j.end())
        _background = ReadSprite(*it);
}

void ProgressBar::Write(json& j) const
{
    Descriptor().Write(*this, j);
    if (_background)
        _background->Write(j["backgroundsprite"]);
    if (_fill)
        _fill->Write(j["fillsprite"]);
}

void ProgressBar::Init()
{
    FillMissingSprites(_fill, _background);
}

void ProgressBar::Update(float)
{
    _value = std::min(_value, 1.0f);
    _visible = _value != 0.0f || _forceRun;
    const glm::vec2 origin = GetOwner() ? GetOwner()->GetTransform().GetTranslation() : glm::vec2(0.0f);
    const glm::vec2 p = origin + _translation;
    _backgroundMatrix = TranslateScale(p, _scale);

    // The fill keeps its starting edge (inset by the border) and grows from there.
    const int axis = _vertical ? 1 : 0;
    const float length = _scale[axis] * _value;
    glm::vec2 centre = p;
    centre[axis] = p[axis] - _scale[axis] / 2.0f + (length - _borderWidth) / 2.0f + _borderWidth;
    glm::vec2 size = _scale;
    size[axis] = length;
    _fillMatrix = TranslateScale(centre, size);
}

void ProgressBar::Render()
{
    if (!_visible || !_fill || !_background)
        return;
    _background->RenderWithMatrix(_backgroundMatrix);
    _fill->RenderWithMatrix(_fillMatrix);
}
