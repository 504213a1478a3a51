// What the interrupt and idle-task blocks share: a single function-call
// output that drives an asynchronous task, and a sample time inherited from
// whatever triggers it.
#pragma once

#include "glue/ssops.h"

namespace async_task {

// Host flag bits of the sizes method (19..22 := 0b0010) and of the
// sample-time method (11..12 := 0b01).
inline constexpr int kSizesFlagsFirstBit = 19;
inline constexpr int kSizesFlagsWidth = 4;
inline constexpr uint32_t kSizesFlagsValue = 0x2u;
inline constexpr int kSampleFlagsFirstBit = 11;
inline constexpr int kSampleFlagsWidth = 2;
inline constexpr uint32_t kSampleFlagsValue = 0x1u;

inline constexpr uint32_t kTaskOptions = 0x10000022u;

// Parameter count, no inputs, the function-call output and the sizes flag
// bits. False when the host refused something and the block must stop.
inline bool declareTaskPorts(SimStruct* S, int32_t numParams) {
    ssSetNumSFcnParams(S, numParams);
    if (ssGetSFcnParamsCount(S) != numParams) return false;
    for (int32_t i = 0; i < numParams; ++i) ssSetSFcnParamNotTunable(S, i);
    if (!ssSetNumInputPorts(S, 0)) return false;
    if (!ssSetNumOutputPorts(S, 1)) return false;
    ssSetOutputPortWidth(S, 0, 1);
    ssSetOutputPortDataType(S, 0, SS_FCN_CALL);
    ssSetSizesFlagsField(S, kSizesFlagsFirstBit, kSizesFlagsWidth, kSizesFlagsValue);
    return true;
}

inline void setTaskPriority(SimStruct* S, int32_t priority) {
    const int32_t priorities[1] = {priority};  // the host copies it
    ssSetAsyncTaskPriorities(S, 1, priorities);
}

inline void mdlInitializeSampleTimes(SimStruct* S) {
    ssSetSampleTime(S, 0, -1.0);
    ssSetOffsetTime(S, 0, 1.0);
    ssSetCallSystemOutput(S, 0);
    ssSetSizesFlagsField(S, kSampleFlagsFirstBit, kSampleFlagsWidth, kSampleFlagsValue);
}

}  // namespace async_task
