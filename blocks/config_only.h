// Configuration-only blocks: they sit in a model for the code generator's
// sake and declare nothing to the host. Every method they supply is empty.
#pragma once

#include "glue/block.h"

#define ZEVK_CONFIG_ONLY_BLOCK(NAME)                                                              \
    ZEVK_BLOCK(NAME, kNoSampleTimeParam,                                                          \
               {.initializeSizes = glueNothing,                                                   \
                .initializeSampleTimes = glueNothing,                                             \
                .setInputPortDataType = glueNothingPortType,                                      \
                .setDefaultPortDataTypes = glueNothing})
