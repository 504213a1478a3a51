#include "engine/typed_ports.h"

#include "engine/port_codes.h"
#include "glue/mex.h"
#include "glue/params.h"
#include "glue/ssops.h"

namespace engine {

namespace {

enum : int {
    kInputCodes = 0,
    kOutputCodes = 1,
    kInputWidths = 2,
    kOutputWidths = 3,
    kBusNames = 4,
    kOptionBits = 6,
};

// A width list shorter than its code list leaves the rest dynamically sized.
constexpr double kMissingWidth = -1.0;

const char kInvalidPort[] = "Invalid call to mdlSetInputPortDataType";
const char kInvalidType[] = "Invalid input or output port data type";
const char kUnknownCode[] = "Error: Datatye not recognized\n";

// Returns false when a bus type could not be registered: the method stops.
bool setInputType(SimStruct* S, Variant variant, int32_t port, int32_t code, const BusNames& names) {
    if (variant == Variant::AllDynamic) {
        ssSetInputPortDataType(S, port, DYNAMICALLY_TYPED);
        return true;
    }
    const TypeCode t = decodeTypeCode(code, variant == Variant::DynamicCode, names.count);
    switch (t.kind) {
        case CodeKind::Builtin:
        case CodeKind::Dynamic: ssSetInputPortDataType(S, port, t.id); return true;
        case CodeKind::Bus: return setUpBusInput(S, port, names, t.busIndex);
        case CodeKind::None: return true;
    }
    return true;
}

bool setOutputType(SimStruct* S, int32_t port, int32_t code, const BusNames& names) {
    const TypeCode t = decodeTypeCode(code, false, names.count);
    switch (t.kind) {
        case CodeKind::Builtin:
        case CodeKind::Dynamic: ssSetOutputPortDataType(S, port, t.id); return true;
        case CodeKind::Bus: return setUpBusOutput(S, port, names, t.busIndex);
        case CodeKind::None: return true;
    }
    return true;
}

bool takesIntegerProposal(RuleSet rules, DTypeId id) {
    if (rules == RuleSet::Integer) return id >= SS_INT8 && id <= SS_BOOLEAN;
    return id == SS_UINT8 || id == SS_UINT16 || id == SS_UINT32;
}

}  // namespace

void typedPortListSizes(SimStruct* S, Variant variant, int32_t numParams) {
    ssSetNumSFcnParams(S, numParams);
    if (ssGetSFcnParamsCount(S) != numParams) return;
    for (int32_t i = 0; i < numParams; ++i) ssSetSFcnParamNotTunable(S, i);

    const ParamView inCodes = viewParam(S, kInputCodes);
    const ParamView inWidths = viewParam(S, kInputWidths);
    const BusNames names = busNames(S, kBusNames);
    const int32_t numIn = clampCount(inCodes.count);

    const OptionBits inOptions = optionBits(viewParam(S, kOptionBits));
    if (!ssSetNumInputPorts(S, numIn + inOptions.extraInput)) return;
    for (int32_t i = 0; i < numIn; ++i) {
        ssSetInputPortWidth(S, i, widthFromEntry(inWidths.at(static_cast<size_t>(i), kMissingWidth)));
        if (!setInputType(S, variant, i, inCodes.intAt(static_cast<size_t>(i)), names)) return;
        ssSetInputPortDirectFeedThrough(S, i, 1);
    }
    if (inOptions.extraInput) {
        ssSetInputPortDataType(S, numIn, SS_BOOLEAN);
        ssSetInputPortWidth(S, numIn, 1);
        ssSetInputPortDirectFeedThrough(S, numIn, 1);
    }

    const ParamView outCodes = viewParam(S, kOutputCodes);
    const ParamView outWidths = viewParam(S, kOutputWidths);
    const int32_t numOut = clampCount(outCodes.count);

    const OptionBits outOptions = optionBits(viewParam(S, kOptionBits));
    if (!ssSetNumOutputPorts(S, numOut + outOptions.extraOutput)) return;
    for (int32_t j = 0; j < numOut; ++j) {
        ssSetOutputPortWidth(S, j, widthFromEntry(outWidths.at(static_cast<size_t>(j), kMissingWidth)));
        if (!setOutputType(S, j, outCodes.intAt(static_cast<size_t>(j)), names)) return;
    }
    if (outOptions.extraOutput) {
        ssSetOutputPortDataType(S, numOut, SS_BOOLEAN);
        ssSetOutputPortWidth(S, numOut, 1);
    }

    ssSetNumSampleTimes(S, 1);
    ssSetOptions(S, 2);
}

void typedPortSetInputDataType(SimStruct* S, RuleSet rules, int32_t port, DTypeId proposed) {
    const ParamView codes = viewParam(S, kInputCodes);
    // Checked as unsigned: a negative index is out of range, never a port.
    if (static_cast<size_t>(static_cast<uint32_t>(port)) >= codes.count) {
        ssSetErrorStatus(S, kInvalidPort);
        return;
    }
    if (rules == RuleSet::AllDynamic) {
        if (proposed == SS_UINT8 || proposed == SS_UINT16) {
            ssSetInputPortDataType(S, port, proposed);
        } else {
            ssSetErrorStatus(S, kInvalidType);
        }
        return;
    }
    bool taken;
    switch (codes.intAt(static_cast<size_t>(port))) {
        case kDynamicIntegerCode: taken = takesIntegerProposal(rules, proposed); break;
        case kDynamicFloatCode: taken = proposed == SS_DOUBLE || proposed == SS_SINGLE; break;
        default: return;  // not a dynamic port: nothing to settle
    }
    if (taken) {
        ssSetInputPortDataType(S, port, proposed);
    } else {
        ssSetErrorStatus(S, kInvalidType);
    }
}

void typedPortSetDefaultDataTypes(SimStruct* S, RuleSet rules) {
    const ParamView codes = viewParam(S, kInputCodes);
    // Full-width counter: lists longer than 255 are neither wrapped nor cut.
    const int32_t numIn = clampCount(codes.count);
    for (int32_t i = 0; i < numIn; ++i) {
        if (ssGetInputPortDataType(S, i) != DYNAMICALLY_TYPED) continue;
        if (rules == RuleSet::AllDynamic) {
            ssSetInputPortDataType(S, i, SS_UINT16);
            continue;
        }
        switch (codes.intAt(static_cast<size_t>(i))) {
            case kDynamicIntegerCode: ssSetInputPortDataType(S, i, SS_UINT32); break;
            case kDynamicFloatCode: ssSetInputPortDataType(S, i, SS_DOUBLE); break;
            default: mexPrintf(kUnknownCode); break;
        }
    }
}

}  // namespace engine
