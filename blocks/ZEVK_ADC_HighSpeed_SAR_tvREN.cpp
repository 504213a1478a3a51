// ZEVK_ADC_HighSpeed_SAR_tvREN: ports from the dialog's typed lists; no input is ever dynamically typed.
#include "engine/generic_block.h"

ZEVK_GENERIC_BLOCK(ZEVK_ADC_HighSpeed_SAR_tvREN, FixedCode, 7, NoRules, NoUpdate);
