#include "scene/SceneGlobals.h"

#include "scene/SceneSystem.h"

void ResetSceneGlobals()
{
    SceneSystem::Instance().Reset();
}
