// ZEVK_Digital_Output_Write: digital output pins, written.
#include "blocks/fixed_layout.h"

ZEVK_FIXED_LAYOUT_BLOCK(ZEVK_Digital_Output_Write, DigitalWrite);
