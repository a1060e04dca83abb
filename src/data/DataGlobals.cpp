#include "data/DataGlobals.h"

#include "data/Archetypes.h"

void ResetDataGlobals()
{
    ClearArchetypes();
}
