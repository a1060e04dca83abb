#include "behaviors/BehaviorGlobals.h"

#include "behaviors/items/BehaviorInventory.h"
#include "behaviors/items/ObjectiveSystem.h"

void ResetBehaviorGlobals()
{
    ObjectiveSystem::Instance().ResetAll();
    BehaviorInventory::Clear();
}
