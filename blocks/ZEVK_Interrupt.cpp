// ZEVK_Interrupt: a function-call output that runs its subsystem as an
// interrupt task. Parameters: 4 timer size (32 or else 16 bits), 5 options
// selector, 6 timing source (1 none, 2 or 3 timer), 7 timer resolution,
// 8 priority; 0 to 3 are for the code generator only.
#include "blocks/async_task.h"
#include "glue/block.h"
#include "glue/params.h"

namespace {

constexpr int32_t kNumParams = 9;
constexpr uint32_t kPlainOptions = 98;

void mdlInitializeSizes(SimStruct* S) {
    if (!async_task::declareTaskPorts(S, kNumParams)) return;

    ssSetNumSampleTimes(S, 1);
    ssSetNumContStates(S, 0);
    ssSetNumDiscStates(S, 0);
    ssSetNumIWork(S, 1);
    ssSetNumRWork(S, 0);
    ssSetNumPWork(S, 1);
    ssSetNumModes(S, 0);
    ssSetNumNonsampledZCs(S, 0);

    // An empty parameter reads as 0: no valid timing source, no timer.
    const int32_t timingSource = truncToInt32(viewParam(S, 6).first(0.0));
    if (timingSource == 1) {
        ssSetTimeSource(S, 0);
        ssSetAsyncTimerDataTypeEl(S, DYNAMICALLY_TYPED, 0);
    } else if (timingSource == 2 || timingSource == 3) {
        ssSetTimeSource(S, 1);
        ssSetAsyncTimerResolutionEl(S, viewParam(S, 7).first(0.0), 0);
        ssSetAsyncTimerDataTypeEl(S, viewParam(S, 4).first(0.0) == 32.0 ? SS_UINT32 : SS_UINT16, 0);
    } else {
        ssSetErrorStatus(S, "Invalid setting for timing source for asynchronous subsystem (interrupt block)");
    }

    async_task::setTaskPriority(S, truncToInt32(viewParam(S, 8).first(0.0) * -100.0));
    ssSetOptions(S, viewParam(S, 5).first(0.0) == 1.0 ? async_task::kTaskOptions : kPlainOptions);
}

}  // namespace

ZEVK_BLOCK(ZEVK_Interrupt, kNoSampleTimeParam,
           {.initializeSizes = mdlInitializeSizes,
            .initializeSampleTimes = async_task::mdlInitializeSampleTimes,
            .update = true});
