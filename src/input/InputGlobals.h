#pragma once

// Back to no keys held, no bindings and no input script.
void ResetInputGlobals();
