#pragma once

#include "behaviors/Behavior.h"

#include <string>

// Leaves an end screen for the next scene on a key or mouse press made after a delay.
// A key still held from the level must be let go first, so a player running when the
// game ended does not skip the screen unread.
class BehaviorAnyKey : public ComponentBase<BehaviorAnyKey, Behavior>
{
public:
    // A missing or empty "nextscene" is reported; the screen then stays.
    void Read(const json& j) override;
    void Write(json& j) const override;
    void Update(float dt) override;
    std::string_view GetName() const override { return "behavioranykey"; }

    bool IsArmed() const { return _armed; }
    bool HasLeft() const { return _left; }

    static const FieldDescriptor<BehaviorAnyKey>& Descriptor();

private:
    float _delay = 1.0f;
    std::string _nextScene;
    bool _sceneTransition = true;
    float _elapsed = 0.0f;
    bool _armed = false;
    bool _left = false;
};
