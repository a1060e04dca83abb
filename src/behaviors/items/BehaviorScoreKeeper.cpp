#include "behaviors/items/BehaviorScoreKeeper.h"

#include "behaviors/items/ObjectiveSystem.h"
#include "core/MessageSystem.h"
#include "data/TypeRegistry.h"

GLOAMER_REGISTER_COMPONENT(BehaviorScoreKeeper, ctype::Behavior)

void BehaviorScoreKeeper::Read(const json& j)
{
    Behavior::Read(j);
    if (auto it = j.find("maxcollectables"); it != j.end())
        FieldIo::ReadValue(maxcollectables, *it);
    if (auto it = j.find("currcollectables"); it != j.end())
        FieldIo::ReadValue(currcollectables, *it);
    ObjectiveSystem::Instance().SetObjectiveText(kObjectiveText);
}

void BehaviorScoreKeeper::Write(json& j) const
{
    Behavior::Write(j);
    j["currcollectables"] = currcollectables;
    j["maxcollectables"] = maxcollectables;
}

void BehaviorScoreKeeper::Update(float dt)
{
    Behavior::Update(dt);
    ObjectiveSystem& objectives = ObjectiveSystem::Instance();
    // Kept current so a saved or dumped level shows the progress.
    currcollectables = objectives.GetCollectedCount();
    const bool ready =
        objectives.GetRegister().empty() ? objectives.IsAllCollected() : objectives.EveryRecordCollected();
    if (!ready)
        return;
    objectives.SetAllCollected(true);
    // Posted every frame from here on: filled in place so it does not allocate.
    MessageSystem::Instance().Post("apertureReady", true)._arguments.emplace_back(true);
}
