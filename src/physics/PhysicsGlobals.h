#pragma once

// Drops the collision pass's shared state and world provider.
void ResetPhysicsGlobals();
