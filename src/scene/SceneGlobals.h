#pragma once

// Deletes every scene without the exit trace and asks for the first scene again.
void ResetSceneGlobals();
