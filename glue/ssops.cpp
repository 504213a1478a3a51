#include "glue/ssops.h"

#include <initializer_list>

#include "glue/mex.h"

namespace {

ssTraceArg I(int64_t v) { return {TRACE_INT, v, 0.0, nullptr}; }
ssTraceArg R(double v) { return {TRACE_REAL, 0, v, nullptr}; }
ssTraceArg T(const char* s) { return {TRACE_TEXT, 0, 0.0, s}; }

void trace(SimStruct* S, const char* op, std::initializer_list<ssTraceArg> args) {
    if (S->trace) S->trace(S, op, static_cast<int>(args.size()), args.begin());
}

ssPortRecord* inputPort(SimStruct* S, int32_t port) {
    if (!S->inputs || port < 0 || port >= S->sizes[SZ_NUM_INPUT_PORTS]) return nullptr;
    return &S->inputs[port];
}

ssPortRecord* outputPort(SimStruct* S, int32_t port) {
    if (!S->outputs || port < 0 || port >= S->sizes[SZ_NUM_OUTPUT_PORTS]) return nullptr;
    return &S->outputs[port];
}

ssDWorkRecord* dworkRecord(SimStruct* S, int32_t index) {
    if (!S->dwork || index < 0 || index >= S->sizes[SZ_NUM_DWORK]) return nullptr;
    return &S->dwork[index];
}

void setPortField(ssPortRecord* p, int32_t ssPortRecord::*field, uint32_t bit, int32_t value) {
    if (!p) return;
    p->*field = value;
    p->setMask |= bit;
}

void setCount(SimStruct* S, const char* op, int entry, int32_t n) {
    trace(S, op, {I(n)});
    S->sizes[entry] = n;
}

}  // namespace

void ssSetNumSFcnParams(SimStruct* S, int32_t n) { setCount(S, "ssSetNumSFcnParams", SZ_NUM_SFCN_PARAMS, n); }

int32_t ssGetSFcnParamsCount(SimStruct* S) {
    trace(S, "ssGetSFcnParamsCount", {});
    return S->numParamsGiven;
}

const mxArray* ssGetSFcnParam(SimStruct* S, int32_t index) {
    trace(S, "ssGetSFcnParam", {I(index)});
    if (!S->params || index < 0 || index >= S->numParamsGiven) return nullptr;
    return S->params[index];
}

void ssSetSFcnParamNotTunable(SimStruct* S, int32_t index) {
    trace(S, "ssSetSFcnParamNotTunable", {I(index)});
    if (S->paramAttributes && index >= 0 && index < S->numParamsGiven) S->paramAttributes[index] |= 1u;
}

bool ssSetNumInputPorts(SimStruct* S, int32_t n) {
    trace(S, "ssSetNumInputPorts", {I(n)});
    return S->regNumInputPortsFcn && S->regNumInputPortsFcn(S->regNumInputPortsFcnArg, n) != 0;
}

bool ssSetNumOutputPorts(SimStruct* S, int32_t n) {
    trace(S, "ssSetNumOutputPorts", {I(n)});
    return S->regNumOutputPortsFcn && S->regNumOutputPortsFcn(S->regNumOutputPortsFcnArg, n) != 0;
}

int32_t ssGetNumInputPorts(SimStruct* S) { return S->sizes[SZ_NUM_INPUT_PORTS]; }
int32_t ssGetNumOutputPorts(SimStruct* S) { return S->sizes[SZ_NUM_OUTPUT_PORTS]; }

void ssSetInputPortWidth(SimStruct* S, int32_t port, int32_t width) {
    trace(S, "ssSetInputPortWidth", {I(port), I(width)});
    setPortField(inputPort(S, port), &ssPortRecord::width, PORT_SET_WIDTH, width);
}

void ssSetOutputPortWidth(SimStruct* S, int32_t port, int32_t width) {
    trace(S, "ssSetOutputPortWidth", {I(port), I(width)});
    setPortField(outputPort(S, port), &ssPortRecord::width, PORT_SET_WIDTH, width);
}

int32_t ssGetInputPortWidth(SimStruct* S, int32_t port) {
    trace(S, "ssGetInputPortWidth", {I(port)});
    ssPortRecord* p = inputPort(S, port);
    return p ? p->width : 0;
}

int32_t ssGetOutputPortWidth(SimStruct* S, int32_t port) {
    trace(S, "ssGetOutputPortWidth", {I(port)});
    ssPortRecord* p = outputPort(S, port);
    return p ? p->width : 0;
}

void ssSetInputPortDataType(SimStruct* S, int32_t port, DTypeId id) {
    trace(S, "ssSetInputPortDataType", {I(port), I(id)});
    setPortField(inputPort(S, port), &ssPortRecord::dataType, PORT_SET_DTYPE, id);
}

void ssSetOutputPortDataType(SimStruct* S, int32_t port, DTypeId id) {
    trace(S, "ssSetOutputPortDataType", {I(port), I(id)});
    setPortField(outputPort(S, port), &ssPortRecord::dataType, PORT_SET_DTYPE, id);
}

DTypeId ssGetInputPortDataType(SimStruct* S, int32_t port) {
    trace(S, "ssGetInputPortDataType", {I(port)});
    ssPortRecord* p = inputPort(S, port);
    return p ? p->dataType : SS_DOUBLE;
}

DTypeId ssGetOutputPortDataType(SimStruct* S, int32_t port) {
    trace(S, "ssGetOutputPortDataType", {I(port)});
    ssPortRecord* p = outputPort(S, port);
    return p ? p->dataType : SS_DOUBLE;
}

bool ssSetInputPortDimensionInfo(SimStruct* S, int32_t port, const DimsInfo_T* dims) {
    trace(S, "ssSetInputPortDimensionInfo", {I(port)});
    if (!S->setInputPortDimensionInfoFcn) return true;
    return S->setInputPortDimensionInfoFcn(S, port, dims) != 0;
}

bool ssSetOutputPortDimensionInfo(SimStruct* S, int32_t port, const DimsInfo_T* dims) {
    trace(S, "ssSetOutputPortDimensionInfo", {I(port)});
    if (!S->setOutputPortDimensionInfoFcn) return true;
    return S->setOutputPortDimensionInfoFcn(S, port, dims) != 0;
}

void ssSetInputPortComplexSignal(SimStruct* S, int32_t port, int32_t value) {
    trace(S, "ssSetInputPortComplexSignal", {I(port), I(value)});
    setPortField(inputPort(S, port), &ssPortRecord::complexSignal, PORT_SET_COMPLEX, value);
}

void ssSetOutputPortComplexSignal(SimStruct* S, int32_t port, int32_t value) {
    trace(S, "ssSetOutputPortComplexSignal", {I(port), I(value)});
    setPortField(outputPort(S, port), &ssPortRecord::complexSignal, PORT_SET_COMPLEX, value);
}

void ssSetInputPortDirectFeedThrough(SimStruct* S, int32_t port, int32_t value) {
    trace(S, "ssSetInputPortDirectFeedThrough", {I(port), I(value)});
    setPortField(inputPort(S, port), &ssPortRecord::directFeedThrough, PORT_SET_FEEDTHROUGH, value);
}

void ssSetInputPortRequiredContiguous(SimStruct* S, int32_t port, int32_t value) {
    trace(S, "ssSetInputPortRequiredContiguous", {I(port), I(value)});
    setPortField(inputPort(S, port), &ssPortRecord::requiredContiguous, PORT_SET_CONTIGUOUS, value);
}

void ssSetInputPortOverWritable(SimStruct* S, int32_t port, int32_t value) {
    trace(S, "ssSetInputPortOverWritable", {I(port), I(value)});
    setPortField(inputPort(S, port), &ssPortRecord::overWritable, PORT_SET_OVERWRITABLE, value);
}

void ssSetInputPortOptimOpts(SimStruct* S, int32_t port, int32_t value) {
    trace(S, "ssSetInputPortOptimOpts", {I(port), I(value)});
    setPortField(inputPort(S, port), &ssPortRecord::optimOpts, PORT_SET_OPTIM, value);
}

void ssSetOutputPortOptimOpts(SimStruct* S, int32_t port, int32_t value) {
    trace(S, "ssSetOutputPortOptimOpts", {I(port), I(value)});
    setPortField(outputPort(S, port), &ssPortRecord::optimOpts, PORT_SET_OPTIM, value);
}

void ssSetInputPortAcceptExprInRTW(SimStruct* S, int32_t port, int32_t value) {
    trace(S, "ssSetInputPortAcceptExprInRTW", {I(port), I(value)});
    setPortField(inputPort(S, port), &ssPortRecord::acceptExprInRTW, PORT_SET_ACCEPT_EXPR, value);
}

void ssSetOutputPortOutputExprInRTW(SimStruct* S, int32_t port, int32_t value) {
    trace(S, "ssSetOutputPortOutputExprInRTW", {I(port), I(value)});
    setPortField(outputPort(S, port), &ssPortRecord::outputExprInRTW, PORT_SET_OUTPUT_EXPR, value);
}

void ssSetNumSampleTimes(SimStruct* S, int32_t n) { setCount(S, "ssSetNumSampleTimes", SZ_NUM_SAMPLE_TIMES, n); }

void ssSetSampleTime(SimStruct* S, int32_t index, double period) {
    trace(S, "ssSetSampleTime", {I(index), R(period)});
    if (!S->sampleTimes || index < 0 || index >= S->numSampleTimeSlots) return;
    S->sampleTimes[index] = period;
    if (index < 16) S->sampleTimeSetMask |= 1u << (2 * index);
}

void ssSetOffsetTime(SimStruct* S, int32_t index, double offset) {
    trace(S, "ssSetOffsetTime", {I(index), R(offset)});
    if (!S->offsetTimes || index < 0 || index >= S->numSampleTimeSlots) return;
    S->offsetTimes[index] = offset;
    if (index < 16) S->sampleTimeSetMask |= 1u << (2 * index + 1);
}

void ssSetCallSystemOutput(SimStruct* S, int32_t element) {
    trace(S, "ssSetCallSystemOutput", {I(element)});
    if (S->callSystemOutputs && element >= 0 && element < S->numCallSystemSlots) S->callSystemOutputs[element] = 1;
}

void ssSetNumContStates(SimStruct* S, int32_t n) { setCount(S, "ssSetNumContStates", SZ_NUM_CONT_STATES, n); }
void ssSetNumDiscStates(SimStruct* S, int32_t n) { setCount(S, "ssSetNumDiscStates", SZ_NUM_DISC_STATES, n); }
void ssSetNumIWork(SimStruct* S, int32_t n) { setCount(S, "ssSetNumIWork", SZ_NUM_IWORK, n); }
void ssSetNumRWork(SimStruct* S, int32_t n) { setCount(S, "ssSetNumRWork", SZ_NUM_RWORK, n); }
void ssSetNumPWork(SimStruct* S, int32_t n) { setCount(S, "ssSetNumPWork", SZ_NUM_PWORK, n); }
void ssSetNumModes(SimStruct* S, int32_t n) { setCount(S, "ssSetNumModes", SZ_NUM_MODES, n); }
void ssSetNumNonsampledZCs(SimStruct* S, int32_t n) {
    setCount(S, "ssSetNumNonsampledZCs", SZ_NUM_NONSAMPLED_ZCS, n);
}

void ssSetOptions(SimStruct* S, uint32_t options) {
    trace(S, "ssSetOptions", {I(options)});
    S->sizes[SZ_OPTIONS] = static_cast<int32_t>(options);
}

void ssSetSizesFlagsField(SimStruct* S, int firstBit, int width, uint32_t value) {
    trace(S, "ssSetSizesFlagsField", {I(firstBit), I(width), I(value)});
    if (firstBit < 0 || width <= 0 || firstBit + width > 32) return;
    const uint32_t mask = (width == 32 ? 0xFFFFFFFFu : ((1u << width) - 1u)) << firstBit;
    uint32_t word = static_cast<uint32_t>(S->sizes[SZ_FLAGS]);
    word = (word & ~mask) | ((value << firstBit) & mask);
    S->sizes[SZ_FLAGS] = static_cast<int32_t>(word);
}

void ssSetNumDWork(SimStruct* S, int32_t n) {
    trace(S, "ssSetNumDWork", {I(n)});
    if (S->regNumDWorkFcn) S->regNumDWorkFcn(S, n);
}

int32_t ssGetNumDWork(SimStruct* S) {
    trace(S, "ssGetNumDWork", {});
    return S->dwork ? S->sizes[SZ_NUM_DWORK] : 0;
}

void ssSetDWorkWidth(SimStruct* S, int32_t index, int32_t width) {
    trace(S, "ssSetDWorkWidth", {I(index), I(width)});
    if (ssDWorkRecord* d = dworkRecord(S, index)) {
        d->width = width;
        d->setMask |= DWORK_SET_WIDTH;
    }
}

void ssSetDWorkDataType(SimStruct* S, int32_t index, DTypeId id) {
    trace(S, "ssSetDWorkDataType", {I(index), I(id)});
    if (ssDWorkRecord* d = dworkRecord(S, index)) {
        d->dataType = id;
        d->setMask |= DWORK_SET_DTYPE;
    }
}

void ssSetDWorkName(SimStruct* S, int32_t index, const char* name) {
    trace(S, "ssSetDWorkName", {I(index), T(name)});
    if (ssDWorkRecord* d = dworkRecord(S, index)) {
        d->name = name;
        d->setMask |= DWORK_SET_NAME;
    }
}

void ssSetDWorkUsageType(SimStruct* S, int32_t index, int32_t usage) {
    trace(S, "ssSetDWorkUsageType", {I(index), I(usage)});
    if (ssDWorkRecord* d = dworkRecord(S, index)) {
        d->usageType = usage;
        d->setMask |= DWORK_SET_USAGE;
    }
}

int32_t ssGetDWorkWidth(SimStruct* S, int32_t index) {
    trace(S, "ssGetDWorkWidth", {I(index)});
    ssDWorkRecord* d = dworkRecord(S, index);
    return d ? d->width : 0;
}

void ssSetUserData(SimStruct* S, void* data) {
    trace(S, "ssSetUserData", {I(data != nullptr)});
    S->userData = data;
}

void* ssGetUserData(SimStruct* S) {
    trace(S, "ssGetUserData", {});
    return S->userData;
}

int32_t ssGetSimMode(SimStruct* S) {
    trace(S, "ssGetSimMode", {});
    return S->mdlInfo ? S->mdlInfo->simMode : SS_SIMMODE_SIZES_CALL_ONLY;
}

const char* ssGetModelName(SimStruct* S) {
    trace(S, "ssGetModelName", {});
    return S->modelName ? S->modelName : "";
}

const char* ssGetPath(SimStruct* S) { return S->path ? S->path : ""; }

SimStruct* ssGetRootSS(SimStruct* S) { return S->root ? S->root : S; }

void ssSetErrorStatus(SimStruct* S, const char* message) {
    trace(S, "ssSetErrorStatus", {T(message)});
    ssGetRootSS(S)->errorStatus = message;
}

bool ssHasGenericFcn(SimStruct* S) { return S->mdlInfo && S->mdlInfo->genericFcn; }

int ssGenericRequest(SimStruct* S, int code, int index, void* data) {
    if (!ssHasGenericFcn(S)) return 0;
    return S->mdlInfo->genericFcn(S, code, index, data);
}

void ssRegisterTypeFromNamedObject(SimStruct* S, const char* name, DTypeId* id) {
    ssNamedTypeRequest request{name, id};
    ssGenericRequest(S, GEN_REGISTER_TYPE_FROM_NAMED_OBJECT, 0, &request);
}

void ssSetBusOutputObjectName(SimStruct* S, int32_t port, const char* name) {
    ssGenericRequest(S, GEN_BUS_OUTPUT_OBJECT_NAME, port, const_cast<char*>(name));
}

void ssSetBusOutputAsStruct(SimStruct* S, int32_t port, bool value) {
    unsigned char byte = value ? 1 : 0;
    ssGenericRequest(S, GEN_BUS_OUTPUT_AS_STRUCT, port, &byte);
}

void ssSetBusInputAsStruct(SimStruct* S, int32_t port, bool value) {
    unsigned char byte = value ? 1 : 0;
    ssGenericRequest(S, GEN_BUS_INPUT_AS_STRUCT, port, &byte);
}

void ssSetInputPortBusMode(SimStruct* S, int32_t port, int32_t mode) {
    if (S->blockLink) ssGenericRequest(S, GEN_INPUT_PORT_BUS_MODE, port, &mode);
}

void ssSetOutputPortBusMode(SimStruct* S, int32_t port, int32_t mode) {
    if (S->blockLink) ssGenericRequest(S, GEN_OUTPUT_PORT_BUS_MODE, port, &mode);
}

void ssSetTimeSource(SimStruct* S, int32_t source) { ssGenericRequest(S, GEN_TIME_SOURCE, source, nullptr); }

void ssSetAsyncTimerResolutionEl(SimStruct* S, double resolution, int32_t element) {
    ssAsyncTimerRequest request{resolution, 0};
    ssGenericRequest(S, GEN_ASYNC_TIMER_RESOLUTION_EL, element, &request);
}

void ssSetAsyncTimerDataTypeEl(SimStruct* S, DTypeId id, int32_t element) {
    ssAsyncTimerRequest request{0.0, id};
    ssGenericRequest(S, GEN_ASYNC_TIMER_DATA_TYPE, element, &request);
}

void ssSetAsyncTaskPriorities(SimStruct* S, int32_t count, const int32_t* priorities) {
    ssGenericRequest(S, GEN_ASYNC_TASK_PRIORITIES, count, const_cast<int32_t*>(priorities));
}
