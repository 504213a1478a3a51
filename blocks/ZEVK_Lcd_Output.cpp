// ZEVK_Lcd_Output: N-dimensional port lists; options word 0x2001006.
#include "engine/ndim_ports.h"
#include "glue/block.h"

ZEVK_BLOCK(ZEVK_Lcd_Output, engine::kNdimSampleTimeParam,
           {.initializeSizes = engine::ndimInitializeSizes<0x2001006u, 0x2001006u>,
            .terminate = engine::ndimTerminate,
            .update = true,
            .setInputPortDimensionInfo = engine::ndimSetInputPortDimensionInfo,
            .setOutputPortDimensionInfo = engine::ndimSetOutputPortDimensionInfo,
            .setDefaultPortDimensionInfo = engine::ndimSetDefaultPortDimensionInfo});
