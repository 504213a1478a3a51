// ZEVK_PWM_HighSpeed: a high-speed PWM generator. Parameters: 0 sample
// time, 1/2 input/output data type ids, 3/4 input/output widths, 5/6 trigger
// work vector data type ids and widths, 7 option bits (0: boolean input,
// 1: boolean output). Ids and widths are passed to the host as they stand.
#include <stdio.h>

#include "glue/block.h"
#include "glue/params.h"
#include "glue/ssops.h"

namespace {

constexpr int32_t kNumParams = 8;
constexpr int32_t kOptimOpts = 2;
constexpr int32_t kTriggerUsage = 1;
constexpr uint32_t kOptions = 2;
// A width the dialog did not list reads as open.
constexpr double kMissingWidth = -1.0;
// Room for "ZEVK_undefined" and any 32-bit number.
constexpr size_t kNameSlot = 32;

void releaseNames(SimStruct* S) {
    glueFreeBlockData(S, ssGetUserData(S));
    ssSetUserData(S, nullptr);
}

// The host keeps pointers to the names, so they live in block data until
// terminate; one slot per work vector the host actually made.
void declareTriggerWork(SimStruct* S) {
    const ParamView types = viewParam(S, 5);
    const ParamView widths = viewParam(S, 6);
    const int32_t listed = clampCount(types.count);
    ssSetNumDWork(S, listed);
    const int32_t made = ssGetNumDWork(S);
    const int32_t count = made < listed ? (made > 0 ? made : 0) : listed;

    releaseNames(S);
    char* names = nullptr;
    if (count > 0) {
        names = static_cast<char*>(glueAllocBlockData(S, static_cast<size_t>(count) * kNameSlot));
        ssSetUserData(S, names);
    }
    for (int32_t i = 0; i < count; ++i) {
        const double width = widths.at(static_cast<size_t>(i), kMissingWidth);
        ssSetDWorkUsageType(S, i, kTriggerUsage);
        ssSetDWorkDataType(S, i, truncToInt32(types.at(static_cast<size_t>(i))));
        ssSetDWorkWidth(S, i, truncToInt32(width));
        if (!names) continue;
        char* slot = names + static_cast<size_t>(i) * kNameSlot;
        const unsigned number = static_cast<unsigned>(i) + 1u;
        if (width == 1.0) {
            snprintf(slot, kNameSlot, "Trig%uIdx", number);
        } else if (width > 1.0) {
            snprintf(slot, kNameSlot, "Trig%uList", number);
        } else {
            snprintf(slot, kNameSlot, "ZEVK_undefined%u", number);
        }
        ssSetDWorkName(S, i, slot);
    }
}

void mdlInitializeSizes(SimStruct* S) {
    ssSetNumSFcnParams(S, kNumParams);
    if (ssGetSFcnParamsCount(S) != kNumParams) return;
    for (int32_t i = 0; i < kNumParams; ++i) ssSetSFcnParamNotTunable(S, i);

    declareTriggerWork(S);

    const int32_t options = truncToInt32(viewParam(S, 7).first(0.0));
    const int32_t extraInput = options & 1;
    const int32_t extraOutput = (options >> 1) & 1;

    const ParamView inTypes = viewParam(S, 1);
    const ParamView inWidths = viewParam(S, 3);
    const int32_t numIn = clampCount(inTypes.count);
    if (!ssSetNumInputPorts(S, numIn + extraInput)) return;
    for (int32_t i = 0; i < numIn; ++i) {
        const size_t k = static_cast<size_t>(i);
        ssSetInputPortWidth(S, i, truncToInt32(inWidths.at(k, kMissingWidth)));
        ssSetInputPortDirectFeedThrough(S, i, 1);
        ssSetInputPortDataType(S, i, truncToInt32(inTypes.at(k)));
        ssSetInputPortOptimOpts(S, i, kOptimOpts);
        ssSetInputPortOverWritable(S, i, 1);
    }
    if (extraInput) {
        ssSetInputPortWidth(S, numIn, 1);
        ssSetInputPortDataType(S, numIn, SS_BOOLEAN);
        ssSetInputPortDirectFeedThrough(S, numIn, 1);
    }

    const ParamView outTypes = viewParam(S, 2);
    const ParamView outWidths = viewParam(S, 4);
    const int32_t numOut = clampCount(outTypes.count);
    if (!ssSetNumOutputPorts(S, numOut + extraOutput)) return;
    for (int32_t j = 0; j < numOut; ++j) {
        const size_t k = static_cast<size_t>(j);
        ssSetOutputPortWidth(S, j, truncToInt32(outWidths.at(k, kMissingWidth)));
        ssSetOutputPortDataType(S, j, truncToInt32(outTypes.at(k)));
        ssSetOutputPortOptimOpts(S, j, kOptimOpts);
    }
    if (extraOutput) {
        ssSetOutputPortWidth(S, numOut, 1);
        ssSetOutputPortDataType(S, numOut, SS_BOOLEAN);
    }

    ssSetNumSampleTimes(S, 1);
    ssSetOptions(S, kOptions);
}

void mdlTerminate(SimStruct* S) { releaseNames(S); }

}  // namespace

ZEVK_BLOCK(ZEVK_PWM_HighSpeed, 0,
           {.initializeSizes = mdlInitializeSizes, .terminate = mdlTerminate, .update = true});
