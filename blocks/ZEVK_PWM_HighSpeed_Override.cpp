// ZEVK_PWM_HighSpeed_Override: every listed input is dynamically typed and settles to uint8 or uint16.
#include "engine/generic_block.h"

ZEVK_GENERIC_BLOCK(ZEVK_PWM_HighSpeed_Override, AllDynamic, 7, AllDynamicRules, NoUpdate);
