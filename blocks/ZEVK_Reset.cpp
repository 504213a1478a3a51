// ZEVK_Reset: a sink that takes any signal; parameter 0 is its sample time.
#include "glue/block.h"
#include "glue/ssops.h"

namespace {

void mdlInitializeSizes(SimStruct* S) {
    ssSetNumSFcnParams(S, 1);
    if (ssGetSFcnParamsCount(S) != 1) return;
    ssSetSFcnParamNotTunable(S, 0);
    if (!ssSetNumInputPorts(S, 1)) return;
    ssSetInputPortWidth(S, 0, DYNAMICALLY_SIZED);
    ssSetInputPortDataType(S, 0, DYNAMICALLY_TYPED);
    ssSetInputPortDirectFeedThrough(S, 0, 1);
    if (!ssSetNumOutputPorts(S, 0)) return;
    ssSetNumSampleTimes(S, 1);
}

// Whatever type drives the reset is fine by it.
void mdlSetInputPortDataType(SimStruct* S, int32_t port, DTypeId id) {
    if (port != 0) {
        ssSetErrorStatus(S, "Invalid call to mdlSetInputPortDataType");
        return;
    }
    ssSetInputPortDataType(S, 0, id);
}

void mdlSetDefaultPortDataTypes(SimStruct* S) {
    if (ssGetInputPortDataType(S, 0) == DYNAMICALLY_TYPED) ssSetInputPortDataType(S, 0, SS_BOOLEAN);
}

}  // namespace

ZEVK_BLOCK(ZEVK_Reset, 0,
           {.initializeSizes = mdlInitializeSizes,
            .update = true,
            .setInputPortDataType = mdlSetInputPortDataType,
            .setDefaultPortDataTypes = mdlSetDefaultPortDataTypes});
