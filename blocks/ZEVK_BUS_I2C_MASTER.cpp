// ZEVK_BUS_I2C_MASTER: ports from the dialog's typed lists; parameter 7 is counted, never read.
#include "engine/generic_block.h"

ZEVK_GENERIC_BLOCK(ZEVK_BUS_I2C_MASTER, FixedCode, 8, NoRules, NoUpdate);
