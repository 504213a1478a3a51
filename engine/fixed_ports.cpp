#include "engine/fixed_ports.h"

#include "engine/port_codes.h"
#include "glue/numeric.h"
#include "glue/params.h"
#include "glue/ssops.h"

namespace engine {

// Type entries are data type ids as they stand (-1 dynamic, anything else
// unchecked); widths are only truncated. Lists are not limited to 255
// entries: the host refuses a port count it cannot hold, and that ends the
// method. A width list shorter than the output list leaves the remaining
// outputs dynamically sized.
void fixedLayoutSizes(SimStruct* S, const FixedMember& m) {
    ssSetNumSFcnParams(S, m.numParams);
    if (ssGetSFcnParamsCount(S) != m.numParams) return;
    for (int32_t i = 0; i < m.numParams; ++i) ssSetSFcnParamNotTunable(S, i);

    const OptionBits bits = optionBits(viewParam(S, kFixedOptionParam));
    const ParamView inTypes = viewParam(S, kFixedInputTypesParam);
    const ParamView outTypes = viewParam(S, kFixedOutputTypesParam);
    const int32_t numIn = clampCount(inTypes.count);
    const int32_t numOut = clampCount(outTypes.count);

    if (!ssSetNumInputPorts(S, numIn + bits.extraInput)) return;
    const bool feedthrough = !(m.feedthroughOnlyWithoutOutputs && numOut > 0);
    for (int32_t k = 0; k < numIn; ++k) {
        ssSetInputPortWidth(S, k, 1);
        ssSetInputPortDataType(S, k, toDataTypeId(inTypes.at(static_cast<size_t>(k))));
        ssSetInputPortDirectFeedThrough(S, k, feedthrough ? 1 : 0);
        ssSetInputPortOptimOpts(S, k, feedthrough ? m.inputOptim : kOptimWithoutFeedthrough);
        ssSetInputPortOverWritable(S, k, 1);
        if (m.inputsRealExprContiguous) {
            ssSetInputPortComplexSignal(S, k, 0);
            ssSetInputPortAcceptExprInRTW(S, k, 1);
            ssSetInputPortRequiredContiguous(S, k, 1);
        }
    }
    if (bits.extraInput) {
        ssSetInputPortDataType(S, numIn, SS_BOOLEAN);
        ssSetInputPortWidth(S, numIn, 1);
        ssSetInputPortDirectFeedThrough(S, numIn, 1);
    }

    if (!ssSetNumOutputPorts(S, numOut + bits.extraOutput)) return;
    const ParamView widths = m.outputWidthsParam ? viewParam(S, kFixedOutputWidthsParam) : ParamView{};
    for (int32_t k = 0; k < numOut; ++k) {
        const size_t entry = static_cast<size_t>(k);
        ssSetOutputPortWidth(S, k, m.outputWidthsParam ? widths.intAt(entry, DYNAMICALLY_SIZED) : 1);
        ssSetOutputPortDataType(S, k, toDataTypeId(outTypes.at(entry)));
        if (m.outputsRealExpr) ssSetOutputPortComplexSignal(S, k, 0);
        ssSetOutputPortOptimOpts(S, k, m.outputOptim);
        if (m.outputsRealExpr) ssSetOutputPortOutputExprInRTW(S, k, 1);
    }
    if (bits.extraOutput) {
        ssSetOutputPortDataType(S, numOut, SS_BOOLEAN);
        ssSetOutputPortWidth(S, numOut, 1);
    }

    ssSetNumSampleTimes(S, 1);
    ssSetOptions(S, m.options);
}

}  // namespace engine
