// ZEVK_C_function_Call: N-dimensional port lists; options word 0x2001006,
// or 0x20 once the dialog lists an output port.
#include "engine/ndim_ports.h"
#include "glue/block.h"

ZEVK_BLOCK(ZEVK_C_function_Call, engine::kNdimSampleTimeParam,
           {.initializeSizes = engine::ndimInitializeSizes<0x2001006u, 0x20u>,
            .terminate = engine::ndimTerminate,
            .update = true,
            .setInputPortDimensionInfo = engine::ndimSetInputPortDimensionInfo,
            .setOutputPortDimensionInfo = engine::ndimSetOutputPortDimensionInfo,
            .setDefaultPortDimensionInfo = engine::ndimSetDefaultPortDimensionInfo});
