#pragma once

// Stops every sound and forgets the sound table.
void ResetAudioGlobals();
