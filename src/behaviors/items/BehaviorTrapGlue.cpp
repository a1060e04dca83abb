#include "behaviors/items/BehaviorTrapGlue.h"

#include "data/TypeRegistry.h"

GLOAMER_REGISTER_COMPONENT(BehaviorTrapGlue, ctype::Behavior)
