#pragma once

// Puts the window's listeners and options, the message board, groups, the run flag, clock,
// screen queries, debug lines and the trace log back to their start-up state. Runs last:
// the other folders' resets may still write to the log.
void ResetCoreGlobals();
