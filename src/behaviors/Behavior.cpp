#include "behaviors/Behavior.h"

#include "core/MessageSystem.h"
#include "core/Trace.h"

#include <string>

const FieldDescriptor<Behavior>& Behavior::Descriptor()
{
    static const FieldDescriptor<Behavior> descriptor("Behavior", {
                                                                      GLOAMER_FIELD(Behavior, _state),
                                                                      GLOAMER_FIELD(Behavior, _stateNext),
                                                                  });
    return descriptor;
}

void Behavior::Read(const json& j)
{
    Descriptor().Read(*this, j);
}

void Behavior::Write(json& j) const
{
    Descriptor().Write(*this, j);
}

void Behavior::Update(float)
{
    const bool started = !_updated;
    if (started)
    {
        _updated = true;
        Start();
    }
    _state = _stateNext;
    if (started)
        return;
    // Kept as a string so the look-up every update makes none.
    static const std::string name(kToggleInspecting);
    if (MessageSystem::Instance().Get(name, true))
    {
        _updated = false;
        Trace::Message("Reset Updated Tracker");
    }
}

void Behavior::ToggleInspecting()
{
    MessageSystem::Instance().Send(Message(kToggleInspecting, {}, 0.0f, true));
}
