// ZEVK_OC_SW: output compare.
#include "blocks/fixed_layout.h"

ZEVK_FIXED_LAYOUT_BLOCK(ZEVK_OC_SW, CaptureCompare);
