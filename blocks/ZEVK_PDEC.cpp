// ZEVK_PDEC: ports from the dialog's typed lists; -1 and -7 inputs settle by propagation.
#include "engine/generic_block.h"

ZEVK_GENERIC_BLOCK(ZEVK_PDEC, DynamicCode, 7, IntegerRules, WithUpdate);
