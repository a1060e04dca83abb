#include "audio/AudioGlobals.h"

#include "audio/SoundSystem.h"

void ResetAudioGlobals()
{
    SoundSystem::Instance().Reset();
}
