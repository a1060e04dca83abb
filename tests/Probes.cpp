#include "Probes.h"

#include "data/TypeRegistry.h"

CallLog& Calls()
{
    static CallLog log;
    return log;
}

namespace
{
const bool s_probesRegistered = []
{
    ComponentRegistry::Register<ProbeSprite>(0, "ProbeSprite");
    ComponentRegistry::Register<ProbeBehavior>(2, "ProbeBehavior");
    ComponentRegistry::Register<ProbeOtherBehavior>(2, "ProbeOtherBehavior");
    ComponentRegistry::Register<ProbePhysics>(5, "ProbePhysics");
    return true;
}();
} // namespace
