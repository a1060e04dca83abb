#pragma once

#include "data/Component.h"
#include "data/FieldDescriptor.h"

// Flips the owner's sprite through the frames of its sprite source at a fixed rate.
// Nothing here starts it: whoever wants it playing sets it running.
class Animation : public ComponentBase<Animation>
{
public:
    Animation() : ComponentBase<Animation>(ctype::Animation) {}

    // A copy keeps the frame count, duration and looping, and starts stopped at frame 0.
    std::unique_ptr<Component> Clone() const override;
    void Read(const json& j) override;
    void Write(json& j) const override;
    // Advances at most one frame per call, so a long frame never skips pictures.
    void Update(float dt) override;

    void SetRunning(bool running) { _isRunning = running; }
    bool IsRunning() const { return _isRunning; }
    // True only for the update in which the last frame was passed.
    bool IsDone() const { return _done; }
    unsigned GetFrame() const { return _frameIndex; }
    void SetFrame(unsigned index) { _frameIndex = index; }
    float GetFrameTimer() const { return _frameTimer; }
    void SetFrameTimer(float seconds) { _frameTimer = seconds; }
    unsigned GetFrameCount() const { return _frameCount; }
    void SetFrameCount(unsigned count) { _frameCount = count; }
    float GetFrameDuration() const { return _frameDuration; }
    void SetFrameDuration(float seconds) { _frameDuration = seconds; }
    bool IsLooping() const { return _isLooping != 0; }
    void SetLooping(bool looping) { _isLooping = looping ? 1u : 0u; }

    static const FieldDescriptor<Animation>& Descriptor();

private:
    unsigned _frameIndex = 0;
    unsigned _frameCount = 0;
    float _frameDuration = 0.0f;
    float _frameTimer = 0.0f;
    bool _isRunning = false;
    unsigned _isLooping = 0;
    bool _done = false;
};
