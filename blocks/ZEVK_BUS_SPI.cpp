// ZEVK_BUS_SPI: ports from the dialog's typed lists; parameter 7 is counted, never read.
#include "engine/generic_block.h"

ZEVK_GENERIC_BLOCK(ZEVK_BUS_SPI, FixedCode, 8, NoRules, NoUpdate);
