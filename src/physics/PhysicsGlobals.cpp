#include "physics/PhysicsGlobals.h"

#include "physics/CollisionPass.h"

void ResetPhysicsGlobals()
{
    CollisionPass::ResetShared();
}
