#include "behaviors/BehaviorSoundEmitter.h"

#include "data/TypeRegistry.h"

GLOAMER_REGISTER_COMPONENT(BehaviorSoundEmitter, ctype::Behavior)
