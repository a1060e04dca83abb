#include "data/DataGlobals.h"

#include "data/Archetypes.h"
#include "data/BeneathDraw.h"
#include "data/GroupSystem.h"

void ResetDataGlobals()
{
    ClearArchetypes();
    GroupSystem::Instance().Reset();
    BeneathDraw::Set(nullptr);
}
