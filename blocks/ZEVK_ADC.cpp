// ZEVK_ADC: ADC channels; parameter 4 gives each output's width.
#include "blocks/fixed_layout.h"

ZEVK_FIXED_LAYOUT_BLOCK(ZEVK_ADC, Adc);
