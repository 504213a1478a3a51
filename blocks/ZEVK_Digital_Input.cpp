// ZEVK_Digital_Input: digital input pins.
#include "blocks/fixed_layout.h"

ZEVK_FIXED_LAYOUT_BLOCK(ZEVK_Digital_Input, DigitalRead);
