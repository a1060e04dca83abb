#pragma once

#include "data/Component.h"
#include "data/FieldDescriptor.h"
#include "physics/ContactListener.h"

#include <string_view>

class Entity;

// Base of every gameplay script. A state change is written to _stateNext and takes
// effect at the start of the next update, so each state runs for at least one whole
// update. Start runs on the first update, once the scene is complete.
class Behavior : public Component, public ContactListener
{
public:
    // The message that makes every behaviour run Start again (a developer binding).
    static constexpr const char* kToggleInspecting = "Toggle Inspecting";

    Behavior() : Component(ctype::Behavior) {}

    void Read(const json& j) override;
    void Write(json& j) const override;
    // Subclasses call this first, then act on _state.
    void Update(float dt) override;
    // The class name in lower case, e.g. "behaviormonster".
    std::string_view GetName() const override = 0;

    virtual void Start() {}

    int GetState() const { return _state; }
    int GetStateNext() const { return _stateNext; }
    void SetStateNext(int state) { _stateNext = state; }

    // Posts the message for one frame: every behaviour that sees it runs Start again
    // on its following update. For the input system's inspection toggle.
    static void ToggleInspecting();

    static const FieldDescriptor<Behavior>& Descriptor();

protected:
    // A copy belongs to a new entity, so it has not started yet.
    Behavior(const Behavior& other)
        : Component(other), ContactListener(other), _state(other._state), _stateNext(other._stateNext)
    {
    }
    Behavior& operator=(const Behavior&) = delete;

    int _state = 0;
    int _stateNext = 0;

private:
    bool _updated = false;
};
