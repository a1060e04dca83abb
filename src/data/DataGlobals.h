#pragma once

// Forgets every loaded archetype.
void ResetDataGlobals();
