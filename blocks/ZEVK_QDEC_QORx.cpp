// ZEVK_QDEC_QORx: quadrature decoder; also built for the 32-bit host.
#include "blocks/fixed_layout.h"

ZEVK_FIXED_LAYOUT_BLOCK(ZEVK_QDEC_QORx, CaptureCompare);
