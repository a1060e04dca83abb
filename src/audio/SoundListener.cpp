#include "audio/SoundListener.h"

#include "core/MessageSystem.h"
#include "data/Entity.h"
#include "data/FieldDescriptor.h"
#include "data/TypeRegistry.h"

GLOAMER_REGISTER_COMPONENT(SoundListener, ctype::SoundListener)

void SoundListener::Read(const json& j)
{
    FieldIo::RequireObject(j);
}

void SoundListener::Write(json& /*j*/) const {}

void SoundListener::Update(float /*dt*/)
{
    if (!_owner)
        return;
    MessageSystem::Instance().Send(Message("sound_listener", {_owner->GetTransform().GetTranslation()}, 0.0f, true));
}
