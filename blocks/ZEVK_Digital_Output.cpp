// ZEVK_Digital_Output: digital output pins; with outputs listed, the inputs have no direct feedthrough.
#include "blocks/fixed_layout.h"

ZEVK_FIXED_LAYOUT_BLOCK(ZEVK_Digital_Output, DigitalOutput);
