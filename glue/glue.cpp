// The entry point every deliverable exports: the sizes query, the standalone
// record of a command-line call and the dispatcher of the host's method calls.
#include <initializer_list>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "glue/block.h"
#include "glue/mex.h"
#include "glue/params.h"
#include "glue/platform.h"
#include "glue/ssops.h"

namespace {

const BlockMethods& blockMethods() { return kZevkBlock.methods; }

bool suppliesDimensionMethods() {
    const BlockMethods& m = blockMethods();
    return m.setInputPortDimensionInfo || m.setOutputPortDimensionInfo || m.setDefaultPortDimensionInfo;
}

void emptyOutputs(SimStruct*, int32_t) {}
void emptyUpdate(SimStruct*, int32_t) {}

void variableHitStub(SimStruct* S) {
    ssSetErrorStatus(S,
                     "To have a variable sample time, you must define MDL_GET_TIME_OF_NEXT_VAR_HIT and add a "
                     "mdlGetTimeOfNextVarHit routine");
}

void zeroCrossingStub(SimStruct* S) {
    ssSetErrorStatus(S,
                     "To have nonsampled zero crossings, you must define MDL_ZERO_CROSSINGS and have a "
                     "mdlZeroCrossings routine");
}

// Sample time 0 from the block's sample-time parameter: [period] or
// [period offset]; anything longer is reported but its first two elements
// still apply.
void sharedSampleTimes(SimStruct* S) {
    const ParamView p = viewParam(S, kZevkBlock.sampleTimeParam);
    if (p.count > 2) {
        ssSetErrorStatus(S,
                         "Sample Time vector has more than two parameters. First scalar is sample time, Second "
                         "scalar is Offset (default 0)");
    }
    if (p.count >= 1) ssSetSampleTime(S, 0, p.at(0));
    if (p.count >= 2) ssSetOffsetTime(S, 0, p.at(1));
}

mdlVoidFcn sampleTimeMethod() {
    return blockMethods().initializeSampleTimes ? blockMethods().initializeSampleTimes : sharedSampleTimes;
}

mdlVoidFcn terminateMethod() { return blockMethods().terminate ? blockMethods().terminate : glueNothing; }

// --- standalone record ----------------------------------------------------

int standaloneRegisterPorts(SimStruct* S, int n, int countEntry, ssPortRecord** ports) {
    if (n < 0) return 0;
    S->sizes[SZ_FLAGS] = static_cast<int32_t>(static_cast<uint32_t>(S->sizes[SZ_FLAGS]) | SZ_FLAG_PORT_COUNT);
    ssPortRecord* records = nullptr;
    if (n > 0) {
        records = static_cast<ssPortRecord*>(mxCalloc(static_cast<size_t>(n), sizeof(ssPortRecord)));
        if (!records) return 0;
    }
    S->sizes[countEntry] = n;
    *ports = records;
    return 1;
}

int standaloneRegisterInputs(void* arg, int n) {
    SimStruct* S = static_cast<SimStruct*>(arg);
    return standaloneRegisterPorts(S, n, SZ_NUM_INPUT_PORTS, &S->inputs);
}

int standaloneRegisterOutputs(void* arg, int n) {
    SimStruct* S = static_cast<SimStruct*>(arg);
    return standaloneRegisterPorts(S, n, SZ_NUM_OUTPUT_PORTS, &S->outputs);
}

bool isStandalone(const SimStruct* S) { return S->regNumInputPortsFcn == standaloneRegisterInputs; }

SimStruct* buildStandaloneRecord(int nrhs, const mxArray* prhs[]) {
    SimStruct* S = static_cast<SimStruct*>(mxCalloc(1, sizeof(SimStruct)));
    ssModelInfo* info = static_cast<ssModelInfo*>(mxCalloc(1, sizeof(ssModelInfo)));
    if (!S || !info) mexErrMsgTxt("Out of memory while building the sizes record");
    S->tag = kRecordTag;
    S->root = S;
    S->mdlInfo = info;
    info->simMode = SS_SIMMODE_SIZES_CALL_ONLY;
    S->modelName = kZevkBlock.name;
    S->path = kZevkBlock.name;
    const int given = nrhs > 4 ? nrhs - 4 : 0;
    S->numParamsGiven = given;
    if (given > 0) {
        const mxArray** params = static_cast<const mxArray**>(mxCalloc(static_cast<size_t>(given), sizeof(mxArray*)));
        uint32_t* attributes = static_cast<uint32_t*>(mxCalloc(static_cast<size_t>(given), sizeof(uint32_t)));
        if (!params || !attributes) mexErrMsgTxt("Out of memory while building the sizes record");
        for (int i = 0; i < given; ++i) params[i] = prhs[4 + i];
        S->params = params;
        S->paramAttributes = attributes;
    }
    S->regNumInputPortsFcn = standaloneRegisterInputs;
    S->regNumInputPortsFcnArg = S;
    S->regNumOutputPortsFcn = standaloneRegisterOutputs;
    S->regNumOutputPortsFcnArg = S;
    return S;
}

// --- sizes query ------------------------------------------------------------

[[noreturn]] void failWithCallName(const char* format) {
    char message[256];
    snprintf(message, sizeof message, format, kZevkBlock.callName);
    mexErrMsgTxt(message);
    abort();  // mexErrMsgTxt does not return
}

[[noreturn]] void failNameMismatch(const char* modelName) {
    static const char kFormat[] =
        "S-function name mismatch. Name in source is \"#define S_FUNCTION_NAME %s\", whereas name of the "
        "S-function MEX file is \"%s\". The source needs to be updated";
    // The model name is the host's and unbounded: size the buffer to fit.
    char fixed[256];
    char* message = fixed;
    const int needed = snprintf(nullptr, 0, kFormat, kZevkBlock.name, modelName);
    if (needed >= static_cast<int>(sizeof fixed)) {
        char* grown = static_cast<char*>(mxCalloc(static_cast<size_t>(needed) + 1, 1));
        if (grown) message = grown;
    }
    snprintf(message, message == fixed ? sizeof fixed : static_cast<size_t>(needed) + 1, kFormat,
             kZevkBlock.name, modelName);
    mexErrMsgTxt(message);
    abort();
}

bool isRealNumeric(const mxArray* a) { return a && mxIsNumeric(a) && !mxIsComplex(a) && !mxIsSparse(a); }

// True when S is aligned, readable for a whole record, and carries the tag
// our host writes into every record: checked through copies, so that an
// address that is no record never faults.
bool isLiveRecord(const SimStruct* S) {
    if (!S || reinterpret_cast<uintptr_t>(S) % alignof(SimStruct) != 0) return false;
    uint64_t tag = 0;
    if (!copyReadable(S, &tag, sizeof tag) || tag != kRecordTag) return false;
    unsigned char whole[sizeof(SimStruct)];
    return copyReadable(S, whole, sizeof whole);
}

// The host's record, rebuilt from the pointer argument, or null when the
// argument is not one (then the call gets the standalone record).
SimStruct* recordFromArgument(const mxArray* arg) {
    if (!isRealNumeric(arg) || mxGetM(arg) != static_cast<size_t>(kRecordPointerRows)) return nullptr;
    const ParamView rows = viewArray(arg);
    if (rows.count < static_cast<size_t>(kRecordPointerRows)) return nullptr;
    if (rows.at(kRecordPointerRows - 1) != static_cast<double>(kRecordVersion)) return nullptr;
    uintptr_t address;
    if constexpr (kRecordPointerRows == 3) {
        const uint64_t low = static_cast<uint32_t>(truncToInt32(rows.at(0)));
        const uint64_t high = static_cast<uint32_t>(truncToInt32(rows.at(1)));
        address = static_cast<uintptr_t>((high << 32) | low);
    } else {
        address = static_cast<uintptr_t>(static_cast<uint32_t>(truncToInt32(rows.at(0))));
    }
    SimStruct* S = reinterpret_cast<SimStruct*>(address);
    return isLiveRecord(S) ? S : nullptr;
}

void installMethods(SimStruct* S) {
    const BlockMethods& m = blockMethods();
    ssMethodEntries& e = S->methods;
    e.mdlInitializeSizes = m.initializeSizes;
    e.mdlInitializeSampleTimes = sampleTimeMethod();
    e.mdlOutputs = emptyOutputs;
    e.mdlTerminate = terminateMethod();
    e.mdlRTW = glueNothing;
    e.mdlGetTimeOfNextVarHit = variableHitStub;
    e.mdlZeroCrossings = zeroCrossingStub;
    if (m.update) e.mdlUpdate = emptyUpdate;
    if (m.setInputPortDataType) e.mdlSetInputPortDataType = m.setInputPortDataType;
    if (m.setOutputPortDataType) e.mdlSetOutputPortDataType = m.setOutputPortDataType;
    if (m.setDefaultPortDataTypes) e.mdlSetDefaultPortDataTypes = m.setDefaultPortDataTypes;
    if (m.setInputPortDimensionInfo) e.inputPortShape.dims = m.setInputPortDimensionInfo;
    if (m.setOutputPortDimensionInfo) e.outputPortShape.dims = m.setOutputPortDimensionInfo;
    if (m.setDefaultPortDimensionInfo) e.mdlSetDefaultPortDimensionInfo = m.setDefaultPortDimensionInfo;
}

void sizesQuery(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    if (nrhs < 4) failWithCallName("%s must be called with at least 4 right hand arguments");
    if (nlhs > 1) failWithCallName("%s called with too many left hand arguments");
    const mxArray* flagArg = prhs[3];
    if (!flagArg || mxGetM(flagArg) * mxGetN(flagArg) != 1 || mxIsComplex(flagArg) || !mxIsNumeric(flagArg) ||
        mxIsSparse(flagArg)) {
        failWithCallName("The 4th right hand argument, FLAG, passed to %s must be an integer");
    }
    const double flag = viewArray(flagArg).first(0.5);
    if (static_cast<double>(truncToInt32(flag)) != flag) {
        failWithCallName("The 4th right hand argument, FLAG, passed to %s must be an integer");
    }
    if (flag != 0.0) failWithCallName("Invalid flag passed to %s");

    SimStruct* S = recordFromArgument(prhs[1]);
    if (S) {
        static const char kAnyName[] = "simulink_only_sfcn";
        const char* modelName = ssGetModelName(S);
        if (strcmp(kZevkBlock.name, kAnyName) != 0 && strcmp(modelName, kZevkBlock.name) != 0) {
            failNameMismatch(modelName);
        }
        if (suppliesDimensionMethods()) {
            S->sizes[SZ_FLAGS] =
                static_cast<int32_t>(static_cast<uint32_t>(S->sizes[SZ_FLAGS]) | SZ_FLAG_DIMENSION_METHODS);
        }
        installMethods(S);
    } else {
        S = buildStandaloneRecord(nrhs, prhs);
    }

    S->sizes[SZ_RECORD_VERSION] = kRecordVersion;
    if (kGenericCallBeforeSizes && S->blockLink) ssGenericRequest(S, GEN_BEFORE_INITIALIZE_SIZES, 1, nullptr);
    kZevkBlock.methods.initializeSizes(S);

    mxArray* result = mxCreateDoubleMatrix(kNumSizes, 1, mxREAL);
    double* out = result ? mxGetPr(result) : nullptr;
    if (out) {
        for (int i = 0; i < kNumSizes; ++i) out[i] = S->sizes[i];
    }
    S->sizes[SZ_OPTIONS] = static_cast<int32_t>(static_cast<uint32_t>(S->sizes[SZ_OPTIONS]) | SS_OPTION_GLUE_BIT);
    if (out) {
        for (int i : {15, 16, 17, 18, static_cast<int>(SZ_OPTIONS)}) out[i] = static_cast<uint32_t>(S->sizes[i]);
    }
    if (plhs) plhs[0] = result;
}

// --- method calls -------------------------------------------------------------

template <typename Fn, typename... Args>
void callEntry(SimStruct* S, Fn entry, const char* message, Args... args) {
    if (entry) {
        entry(S, args...);
    } else {
        ssSetErrorStatus(S, message);
    }
}

void dispatch(SimStruct* S, int32_t flag) {
    const ssMethodEntries& e = S->methods;
    const int32_t port = S->sizes[SZ_PORT_INDEX_ARG];
    const int32_t value = S->callArgs.value;
    const bool dimensionMethods = (static_cast<uint32_t>(S->sizes[SZ_FLAGS]) & SZ_FLAG_DIMENSION_METHODS) != 0;
    switch (flag) {
        case 101: sampleTimeMethod()(S); return;
        case 103: variableHitStub(S); return;
        case 104: emptyOutputs(S, port == -2 ? -2 : 0); return;
        case 105:
            if (!blockMethods().update) break;
            if (e.mdlUpdate) {
                emptyUpdate(S, 0);
            } else {
                ssSetErrorStatus(S, "Unexpected call to mdlUpdate");
            }
            return;
        case 107: terminateMethod()(S); return;
        case 108: zeroCrossingStub(S); return;
        case 111: callEntry(S, e.mdlSetWorkWidths, "Unexpected call to mdlSetWorkWidths"); return;
        case 112: callEntry(S, e.mdlCheckParameters, "Unexpected call to mdlCheckParameters"); return;
        case 113:
            callEntry(S, e.mdlSetInputPortDataType, "Unexpected call to mdlSetInputPortDataType", port, value);
            return;
        case 114:
            callEntry(S, e.mdlSetOutputPortDataType, "Unexpected call to mdlSetOutputPortDataType", port, value);
            return;
        case 115:
            callEntry(S, dimensionMethods ? nullptr : e.inputPortShape.width,
                      "Unexpected call to mdlSetInputPortWidth", port, value);
            return;
        case 116:
            callEntry(S, dimensionMethods ? nullptr : e.outputPortShape.width,
                      "Unexpected call to mdlSetOutputPortWidth", port, value);
            return;
        case 119: callEntry(S, e.mdlRTW, "Unexpected call to mdlRTW"); return;
        case 120:
            callEntry(S, e.mdlSetInputPortComplexSignal, "Unexpected call to mdlSetInputPortComplexSignal", port,
                      value);
            return;
        case 121:
            callEntry(S, e.mdlSetOutputPortComplexSignal, "Unexpected call to mdlSetOutputPortComplexSignal", port,
                      value);
            return;
        case 122:
            callEntry(S, e.mdlSetInputPortSampleTime, "Unexpected call to mdlSetInputPortSampleTime", port,
                      S->callArgs.sampleTime, S->callArgs.offsetTime);
            return;
        case 123:
            callEntry(S, e.mdlSetOutputPortSampleTime, "Unexpected call to mdlSetOutputPortSampleTime", port,
                      S->callArgs.sampleTime, S->callArgs.offsetTime);
            return;
        case 126:
            callEntry(S, dimensionMethods ? e.inputPortShape.dims : nullptr,
                      "Unexpected call to mdlSetInputPortDimensionInfo", port, S->callArgs.dims);
            return;
        case 127:
            callEntry(S, dimensionMethods ? e.outputPortShape.dims : nullptr,
                      "Unexpected call to mdlSetOutputPortDimensionInfo", port, S->callArgs.dims);
            return;
        case 128:
            callEntry(S, e.mdlSetInputPortFrameData, "Unexpected call to mdlSetInputPortFrameData", port, value);
            return;
        case 131:
            callEntry(S, e.mdlSetDefaultPortDimensionInfo, "Unexpected call to mdlSetDefaultPortDimensionInfo");
            return;
        case 132:
            callEntry(S, e.mdlSetDefaultPortDataTypes, "Unexpected call to mdlSetDefaultPortDataTypes");
            return;
        case 133:
            callEntry(S, e.mdlSetDefaultPortComplexSignals, "Unexpected call to mdlSetDefaultPortComplexSignals");
            return;
        case 142:
            callEntry(S, e.mdlInitializePropagationPass, "Unexpected call to mdlInitializePropagationPass", port);
            return;
        case 144: ssSetErrorStatus(S, "Unexpected call to mdlGetSimState (MDL_SIM_STATE not defined)"); return;
        case 145: ssSetErrorStatus(S, "Unexpected call to mdlSetSimState (MDL_SIM_STATE not defined)"); return;
        default: break;
    }
    ssSetErrorStatus(S, "Invalid flag encountered in simulink");
}

void methodCall(mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    if (!plhs) return;
    SimStruct* S = reinterpret_cast<SimStruct*>(plhs[1]);
    // Nobody to report to when the record is not one of the host's.
    if (!isLiveRecord(S)) return;
    const mxArray* flagArg = (prhs && nrhs >= 4) ? prhs[3] : nullptr;
    const int32_t flag = truncToInt32(viewArray(flagArg).first(-1.0));
    dispatch(S, flag);
}

}  // namespace

void glueNothing(SimStruct*) {}
void glueNothingPortType(SimStruct*, int32_t, int32_t) {}

void* glueAllocBlockData(SimStruct* S, size_t bytes) {
    if (bytes == 0) bytes = 1;
    return isStandalone(S) ? mxCalloc(bytes, 1) : calloc(bytes, 1);
}

void glueFreeBlockData(SimStruct* S, void* data) {
    if (!data) return;
    if (isStandalone(S)) {
        mxFree(data);
    } else {
        free(data);
    }
}

ZEVK_EXPORT void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    if (nlhs >= 0) {
        sizesQuery(nlhs, plhs, nrhs, prhs);
    } else {
        methodCall(plhs, nrhs, prhs);
    }
}
