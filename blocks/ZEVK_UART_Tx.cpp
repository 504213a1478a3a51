// ZEVK_UART_Tx: the transmit side of a UART. Parameters: 0 sample time,
// 1 option bits (0: boolean input after the data port, 1: boolean output),
// 2 leading scalar input ahead of the data port (exactly 1), 3 uint16
// scalar output 0 (exactly 1).
#include "blocks/uart.h"
#include "glue/block.h"

namespace {

constexpr int32_t kNumParams = 4;

// Ports exist only for a setting of exactly 1; every method tests the same
// way, so no method ever addresses a port the sizes method did not make.
bool hasLeadingInput(SimStruct* S) { return uart::exactlyOne(S, 2); }
bool hasCountOutput(SimStruct* S) { return uart::exactlyOne(S, 3); }

void mdlInitializeSizes(SimStruct* S) {
    ssSetNumSFcnParams(S, kNumParams);
    if (ssGetSFcnParamsCount(S) != kNumParams) return;
    for (int32_t i = 0; i < kNumParams; ++i) ssSetSFcnParamNotTunable(S, i);

    const int32_t options = uart::setting(S, 1);
    const int32_t extraInput = options & 1;
    const int32_t extraOutput = (options >> 1) & 1;
    const int32_t data = hasLeadingInput(S) ? 1 : 0;

    if (!ssSetNumInputPorts(S, data + 1 + extraInput)) return;
    if (data != 0) {
        ssSetInputPortWidth(S, 0, 1);
        ssSetInputPortDataType(S, 0, DYNAMICALLY_TYPED);
        ssSetInputPortDirectFeedThrough(S, 0, 1);
    }
    ssSetInputPortWidth(S, data, DYNAMICALLY_SIZED);
    ssSetInputPortDataType(S, data, DYNAMICALLY_TYPED);
    ssSetInputPortDirectFeedThrough(S, data, 1);
    ssSetInputPortRequiredContiguous(S, data, 1);
    if (extraInput) {
        ssSetInputPortDataType(S, data + 1, SS_BOOLEAN);
        ssSetInputPortWidth(S, data + 1, 1);
        ssSetInputPortDirectFeedThrough(S, data + 1, 1);
    }

    const int32_t countOutput = hasCountOutput(S) ? 1 : 0;
    if (!ssSetNumOutputPorts(S, countOutput + extraOutput)) return;
    if (countOutput) {
        ssSetOutputPortDataType(S, 0, SS_UINT16);
        ssSetOutputPortWidth(S, 0, 1);
    }
    if (extraOutput) {
        ssSetOutputPortDataType(S, countOutput, SS_BOOLEAN);
        ssSetOutputPortWidth(S, countOutput, 1);
    }

    ssSetNumSampleTimes(S, 1);
    ssSetOptions(S, uart::kOptions);
}

void mdlSetInputPortDataType(SimStruct* S, int32_t port, DTypeId id) {
    const int32_t data = hasLeadingInput(S) ? 1 : 0;
    if (port == data) {
        uart::acceptInputType(S, port, id, {SS_INT8, SS_UINT8});
    } else if (data != 0 && port == 0) {
        uart::acceptInputType(S, port, id, {SS_UINT8, SS_UINT16, SS_UINT32});
    } else {
        ssSetErrorStatus(S, "Invalid call to mdlSetInputPortDataType");
    }
}

void mdlSetDefaultPortDataTypes(SimStruct* S) {
    const int32_t data = hasLeadingInput(S) ? 1 : 0;
    if (data != 0) uart::defaultInputType(S, 0, SS_UINT16);
    uart::defaultInputType(S, data, SS_UINT8);
}

}  // namespace

ZEVK_BLOCK(ZEVK_UART_Tx, 0,
           {.initializeSizes = mdlInitializeSizes,
            .update = true,
            .setInputPortDataType = mdlSetInputPortDataType,
            .setDefaultPortDataTypes = mdlSetDefaultPortDataTypes});
