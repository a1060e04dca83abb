#include "behaviors/BehaviorGlobals.h"

#include "behaviors/items/ObjectiveSystem.h"

void ResetBehaviorGlobals()
{
    ObjectiveSystem::Instance().ResetAll();
}
