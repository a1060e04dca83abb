#pragma once

// Back to default options and no window-mode function.
void ResetUiGlobals();
