#pragma once

// Empties the mesh, image and shader tables and puts the render state and cameras back to
// their start-up values. Call while a GL context is live if one was, so GL objects go with it.
void ResetRenderGlobals();
