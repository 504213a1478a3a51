// ZEVK_Digital_Output_Read: read-back of digital output pins.
#include "blocks/fixed_layout.h"

ZEVK_FIXED_LAYOUT_BLOCK(ZEVK_Digital_Output_Read, DigitalRead);
