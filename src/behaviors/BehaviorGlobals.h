#pragma once

// The objective register, its music and its text back to their start-up state.
void ResetBehaviorGlobals();
