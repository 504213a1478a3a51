// Fixed-layout peripheral blocks: the shared mdlInitializeSizes picked by the
// block's family in the member table, the sample time from parameter 0, an
// empty update and nothing else. Blocks of one family differ only in name.
#pragma once

#include "engine/fixed_ports.h"
#include "glue/block.h"

template <engine::FixedFamily F>
void fixedLayoutInitializeSizes(SimStruct* S) {
    engine::fixedLayoutSizes(S, engine::fixedMember(F));
}

#define ZEVK_FIXED_LAYOUT_BLOCK(NAME, FAMILY)                                                    \
    ZEVK_BLOCK(NAME, engine::kFixedSampleTimeParam,                                              \
               {.initializeSizes = fixedLayoutInitializeSizes<engine::FixedFamily::FAMILY>,      \
                .update = true})
