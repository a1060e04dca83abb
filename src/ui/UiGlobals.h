#pragma once

// Back to default options, no window-mode function and no confirmation dialog.
void ResetUiGlobals();
