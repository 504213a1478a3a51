// ZEVK_UART_Rx: the receive side of a UART. Parameters: 0 sample time,
// 1 leading output (a scalar port ahead of the data port), 2 data width
// (negative: open), 3 option bits (0: boolean input, 1: boolean output).
#include "blocks/uart.h"
#include "glue/block.h"

namespace {

constexpr int32_t kNumParams = 4;
constexpr int32_t kDefaultDataWidth = 10;

// Any non-zero setting means the leading port: one layout per value keeps
// every registered port configured.
int32_t dataPort(SimStruct* S) { return uart::setting(S, 1) != 0 ? 1 : 0; }

void mdlInitializeSizes(SimStruct* S) {
    ssSetNumSFcnParams(S, kNumParams);
    if (ssGetSFcnParamsCount(S) != kNumParams) return;
    for (int32_t i = 0; i < kNumParams; ++i) ssSetSFcnParamNotTunable(S, i);

    const int32_t options = uart::setting(S, 3);
    const int32_t extraInput = options & 1;
    const int32_t extraOutput = (options >> 1) & 1;
    if (!ssSetNumInputPorts(S, extraInput)) return;
    if (extraInput) {
        ssSetInputPortWidth(S, 0, 1);
        ssSetInputPortDataType(S, 0, SS_BOOLEAN);
        ssSetInputPortDirectFeedThrough(S, 0, 1);
    }

    const int32_t data = dataPort(S);
    if (!ssSetNumOutputPorts(S, data + 1 + extraOutput)) return;
    if (data != 0) {
        ssSetOutputPortDataType(S, 0, DYNAMICALLY_TYPED);
        ssSetOutputPortWidth(S, 0, 1);
    }
    const int32_t width = uart::setting(S, 2);
    ssSetOutputPortWidth(S, data, width < 0 ? DYNAMICALLY_SIZED : width);
    ssSetOutputPortDataType(S, data, SS_UINT8);
    if (extraOutput) {
        ssSetOutputPortDataType(S, data + 1, SS_BOOLEAN);
        ssSetOutputPortWidth(S, data + 1, 1);
    }

    ssSetNumSampleTimes(S, 1);
    ssSetOptions(S, uart::kOptions);
}

void mdlSetOutputPortDataType(SimStruct* S, int32_t port, DTypeId id) {
    const int32_t data = dataPort(S);
    if (port == data) {
        uart::acceptOutputType(S, port, id, {SS_INT8, SS_UINT8});
    } else if (data != 0 && port == 0) {
        uart::acceptOutputType(S, port, id, {SS_INT8, SS_UINT8, SS_INT16, SS_UINT16});
    } else {
        ssSetErrorStatus(S, "Invalid call to mdlSetOutputPortDataType");
    }
}

void mdlSetDefaultPortDataTypes(SimStruct* S) {
    const int32_t data = dataPort(S);
    if (data != 0) uart::defaultOutputType(S, 0, SS_UINT16);
    uart::defaultOutputType(S, data, SS_UINT8);
}

void mdlSetInputPortDimensionInfo(SimStruct* S, int32_t port, const DimsInfo_T* dims) {
    ssSetInputPortDimensionInfo(S, port, dims);
}

void mdlSetOutputPortDimensionInfo(SimStruct* S, int32_t port, const DimsInfo_T* dims) {
    ssSetOutputPortDimensionInfo(S, port, dims);
}

void mdlSetDefaultPortDimensionInfo(SimStruct* S) {
    const int32_t data = dataPort(S);
    if (ssGetOutputPortWidth(S, data) == DYNAMICALLY_SIZED) ssSetOutputPortWidth(S, data, kDefaultDataWidth);
}

}  // namespace

ZEVK_BLOCK(ZEVK_UART_Rx, 0,
           {.initializeSizes = mdlInitializeSizes,
            .update = true,
            .setInputPortDataType = glueNothingPortType,
            .setOutputPortDataType = mdlSetOutputPortDataType,
            .setDefaultPortDataTypes = mdlSetDefaultPortDataTypes,
            .setInputPortDimensionInfo = mdlSetInputPortDimensionInfo,
            .setOutputPortDimensionInfo = mdlSetOutputPortDimensionInfo,
            .setDefaultPortDimensionInfo = mdlSetDefaultPortDimensionInfo});
