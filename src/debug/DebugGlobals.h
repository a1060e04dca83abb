#pragma once

// No cheats, no debug lines drawn, no heatmap being gathered, the inspector hidden.
void ResetDebugGlobals();
