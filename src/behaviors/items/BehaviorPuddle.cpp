#include "behaviors/items/BehaviorPuddle.h"

#include "data/TypeRegistry.h"

GLOAMER_REGISTER_COMPONENT(BehaviorPuddle, ctype::Behavior)
