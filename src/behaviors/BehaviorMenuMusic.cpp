#include "behaviors/BehaviorMenuMusic.h"

#include "audio/SoundSystem.h"
#include "behaviors/items/ObjectiveSystem.h"
#include "data/TypeRegistry.h"

GLOAMER_REGISTER_COMPONENT(BehaviorMenuMusic, ctype::Behavior)

void BehaviorMenuMusic::Init()
{
    ObjectiveSystem& objectives = ObjectiveSystem::Instance();
    // Another menu scene may have started it already; it carries on across them.
    if (!objectives.Theme().IsPlaying())
        objectives.Theme().Play();
    objectives.Ambient().Pause(true);
}

void BehaviorMenuMusic::Exit()
{
    ObjectiveSystem& objectives = ObjectiveSystem::Instance();
    objectives.Theme().Stop();
    objectives.Theme().LeavePlayingList();
    SoundSystem& sounds = SoundSystem::Instance();
    for (std::size_t i = 0; i < sounds.TableSize(); ++i)
        sounds.GetSound(static_cast<std::uint16_t>(i));
}
