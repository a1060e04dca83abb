#include "render/Animation.h"

#include "data/Entity.h"
#include "data/TypeRegistry.h"
#include "render/Sprite.h"

GLOAMER_REGISTER_COMPONENT(Animation, ctype::Animation)

const FieldDescriptor<Animation>& Animation::Descriptor()
{
    static const FieldDescriptor<Animation> descriptor("Animation", {
                                                                        GLOAMER_FIELD(Animation, _frameCount),
                                                                        GLOAMER_FIELD(Animation, _frameDuration),
                                                                        GLOAMER_FIELD(Animation, _isLooping),
                                                                    });
    return descriptor;
}

std::unique_ptr<Component> Animation::Clone() const
{
    auto copy = std::make_unique<Animation>();
    copy->_frameCount = _frameCount;
    copy->_frameDuration = _frameDuration;
    copy->_isLooping = _isLooping;
    return copy;
}

void Animation::Read(const json& j)
{
    Descriptor().Read(*this, j);
}

void Animation::Write(json& j) const
{
    Descriptor().Write(*this, j);
}

void Animation::Update(float dt)
{
    _done = false;
    if (!_isRunning)
        return;
    _frameTimer -= dt;
    if (_frameTimer > 0.0f)
        return;

    ++_frameIndex;
    if (_frameIndex >= _frameCount)
    {
        _done = true;
        if (!_isLooping)
        {
            // The sprite already shows the last frame.
            _frameIndex = _frameCount > 0 ? _frameCount - 1 : 0;
            _isRunning = false;
            _frameTimer = 0.0f;
            return;
        }
        _frameIndex = 0;
    }
    if (Entity* owner = GetOwner())
        if (auto* sprite = owner->Get<Sprite>(ctype::Sprite))
            sprite->SetFrame(_frameIndex);
    // The overshoot carries over, so the average rate stays exact.
    _frameTimer += _frameDuration;
}
