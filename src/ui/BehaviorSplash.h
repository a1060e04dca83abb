#pragma once

#include "behaviors/Behavior.h"

#include <string>

// Fades its sprite in and out; the last splash then moves on to the next scene, at
// once if any key or mouse button is down.
class BehaviorSplash : public ComponentBase<BehaviorSplash, Behavior>
{
public:
    // The splash sequence runs on its own lane of the scene's action list.
    static constexpr int kLane = 2;

    void Read(const json& j) override;
    void Write(json& j) const override;
    void Start() override;
    void Update(float dt) override;
    std::string_view GetName() const override { return "behaviorsplash"; }
    std::uint32_t GetFlags() const override { return 1u << ctype::Sprite; }

    bool IsSkipped() const { return _skipped; }

    static const FieldDescriptor<BehaviorSplash>& Descriptor();

private:
    float _delay = 0.0f;
    float _fadeInTime = 0.0f;
    float _duration = 0.0f;
    float _fadeOutTime = 0.0f;
    int _fadeInLerp = 0;
    int _fadeOutLerp = 0;
    bool _last = false;
    float _sceneDelay = 0.0f;
    bool _sceneTransition = false;
    std::string _nextScene;
    bool _skipped = false;
};
