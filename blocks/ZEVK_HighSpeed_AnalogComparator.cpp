// ZEVK_HighSpeed_AnalogComparator: ports from the dialog's typed lists; no input is ever dynamically typed.
#include "engine/generic_block.h"

ZEVK_GENERIC_BLOCK(ZEVK_HighSpeed_AnalogComparator, FixedCode, 7, NoRules, NoUpdate);
