// ZEVK_UART_TxMatlab: a transmit block taking any number of signals of open
// size and type. Parameters: 0 sample time, 1 one element per input port.
#include "blocks/uart.h"
#include "glue/block.h"

namespace {

constexpr int32_t kNumParams = 2;

int32_t numInputs(SimStruct* S) { return clampCount(viewParam(S, 1).count); }

void mdlInitializeSizes(SimStruct* S) {
    ssSetNumSFcnParams(S, kNumParams);
    if (ssGetSFcnParamsCount(S) != kNumParams) return;
    for (int32_t i = 0; i < kNumParams; ++i) ssSetSFcnParamNotTunable(S, i);

    const int32_t n = numInputs(S);
    if (!ssSetNumInputPorts(S, n)) return;
    for (int32_t i = 0; i < n; ++i) {
        ssSetInputPortWidth(S, i, DYNAMICALLY_SIZED);
        ssSetInputPortDataType(S, i, DYNAMICALLY_TYPED);
        ssSetInputPortDirectFeedThrough(S, i, 1);
    }
    if (!ssSetNumOutputPorts(S, 0)) return;

    ssSetNumSampleTimes(S, 1);
    ssSetOptions(S, uart::kOptions);
}

void mdlSetInputPortDataType(SimStruct* S, int32_t port, DTypeId id) {
    if (port < 0 || port >= numInputs(S)) {
        ssSetErrorStatus(S, "Invalid call to mdlSetInputPortDataType");
        return;
    }
    uart::acceptInputType(S, port, id, {SS_DOUBLE, SS_SINGLE, SS_INT8, SS_UINT8, SS_INT16, SS_UINT16});
}

void mdlSetDefaultPortDataTypes(SimStruct* S) {
    const int32_t n = numInputs(S);
    for (int32_t i = 0; i < n; ++i) uart::defaultInputType(S, i, SS_UINT16);
}

}  // namespace

ZEVK_BLOCK(ZEVK_UART_TxMatlab, 0,
           {.initializeSizes = mdlInitializeSizes,
            .update = true,
            .setInputPortDataType = mdlSetInputPortDataType,
            .setDefaultPortDataTypes = mdlSetDefaultPortDataTypes});
