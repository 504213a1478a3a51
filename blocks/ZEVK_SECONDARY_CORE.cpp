// ZEVK_SECONDARY_CORE: ports from the dialog's typed lists; -1 and -7 inputs settle by propagation.
#include "engine/generic_block.h"

ZEVK_GENERIC_BLOCK(ZEVK_SECONDARY_CORE, DynamicCode, 7, UnsignedRules, WithUpdate);
