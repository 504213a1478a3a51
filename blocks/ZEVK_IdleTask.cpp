// ZEVK_IdleTask: a function-call output that runs its subsystem as the
// idle task, at a fixed low priority and without a timer. Its four
// parameters are for the code generator only.
#include "blocks/async_task.h"
#include "glue/block.h"

namespace {

constexpr int32_t kNumParams = 4;
constexpr int32_t kIdlePriority = -50;

void mdlInitializeSizes(SimStruct* S) {
    if (!async_task::declareTaskPorts(S, kNumParams)) return;

    ssSetNumSampleTimes(S, 1);
    ssSetNumIWork(S, 0);
    ssSetNumRWork(S, 0);
    ssSetNumPWork(S, 0);
    ssSetNumModes(S, 0);
    ssSetNumNonsampledZCs(S, 0);

    ssSetTimeSource(S, 0);
    async_task::setTaskPriority(S, kIdlePriority);
    ssSetOptions(S, async_task::kTaskOptions);
}

}  // namespace

ZEVK_BLOCK(ZEVK_IdleTask, kNoSampleTimeParam,
           {.initializeSizes = mdlInitializeSizes,
            .initializeSampleTimes = async_task::mdlInitializeSampleTimes,
            .update = true});
