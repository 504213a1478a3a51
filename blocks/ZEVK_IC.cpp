// ZEVK_IC: input capture.
#include "blocks/fixed_layout.h"

ZEVK_FIXED_LAYOUT_BLOCK(ZEVK_IC, CaptureCompare);
