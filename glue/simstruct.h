// The host record as both sides see it: the host lays it out and owns it,
// the deliverable reads and writes it only through the operations in
// ssops.h. Plain data, no virtuals, so the same layout holds in every build.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "glue/build_config.h"

typedef struct mxArray_tag mxArray;
typedef int32_t DTypeId;

struct DimsInfo_T {
    int32_t width;
    int32_t numDims;
    int32_t* dims;
    DimsInfo_T* nextSigDims;
};

enum : int32_t {
    SS_DOUBLE = 0,
    SS_SINGLE = 1,
    SS_INT8 = 2,
    SS_UINT8 = 3,
    SS_INT16 = 4,
    SS_UINT16 = 5,
    SS_INT32 = 6,
    SS_UINT32 = 7,
    SS_BOOLEAN = 8,
    SS_FCN_CALL = 9,
    DYNAMICALLY_TYPED = -1,
    INVALID_DTYPE_ID = -10,
    DYNAMICALLY_SIZED = -1,
    SS_SIMMODE_NORMAL = 0,
    SS_SIMMODE_SIZES_CALL_ONLY = 1,
};

// Entries of the sizes block that the blockset touches.
enum : int {
    SZ_NUM_CONT_STATES = 0,
    SZ_NUM_DISC_STATES = 1,
    SZ_NUM_OUTPUT_PORTS = 2,
    SZ_NUM_INPUT_PORTS = 3,
    SZ_PORT_INDEX_ARG = 4,
    SZ_NUM_SAMPLE_TIMES = 6,
    SZ_NUM_SFCN_PARAMS = 7,
    SZ_NUM_IWORK = 8,
    SZ_NUM_RWORK = 9,
    SZ_NUM_PWORK = 10,
    SZ_RECORD_VERSION = 19,
    SZ_NUM_NONSAMPLED_ZCS = 20,
    SZ_NUM_MODES = 22,
    SZ_OPTIONS = 23,
    SZ_NUM_DWORK = 28,
    SZ_FLAGS = 31,
};

enum : uint32_t {
    SZ_FLAG_DIMENSION_METHODS = 1u << 0,
    SZ_FLAG_PORT_COUNT = 1u << 1,
    SS_OPTION_GLUE_BIT = 0x2000u,
};

// Generic request codes served through the model-info record.
enum : int {
    GEN_REGISTER_TYPE_FROM_NAMED_OBJECT = 40,
    GEN_ASYNC_TIMER_RESOLUTION_EL = 53,
    GEN_ASYNC_TASK_PRIORITIES = 54,
    GEN_BUS_OUTPUT_OBJECT_NAME = 80,
    GEN_BUS_OUTPUT_AS_STRUCT = 81,
    GEN_BUS_INPUT_AS_STRUCT = 86,
    GEN_TIME_SOURCE = 88,
    GEN_ASYNC_TIMER_DATA_TYPE = 94,
    GEN_DYNAMIC_INPUT_DIMENSION = 106,
    GEN_DYNAMIC_OUTPUT_DIMENSION = 107,
    GEN_NDIM_START = 122,
    GEN_INPUT_PORT_BUS_MODE = 129,
    GEN_OUTPUT_PORT_BUS_MODE = 130,
    GEN_BEFORE_INITIALIZE_SIZES = 280,
};

// Payload of request 40.
struct ssNamedTypeRequest {
    const char* name;
    DTypeId* id;
};

// Payload of requests 53 and 94.
struct ssAsyncTimerRequest {
    double resolution;
    int32_t dataType;
};

// Which attribute of a port / work vector was ever written, so a host can
// tell "never set" from a zero it was given.
enum : uint32_t {
    PORT_SET_WIDTH = 1u << 0,
    PORT_SET_DTYPE = 1u << 1,
    PORT_SET_COMPLEX = 1u << 2,
    PORT_SET_FEEDTHROUGH = 1u << 3,
    PORT_SET_CONTIGUOUS = 1u << 4,
    PORT_SET_OVERWRITABLE = 1u << 5,
    PORT_SET_OPTIM = 1u << 6,
    PORT_SET_ACCEPT_EXPR = 1u << 7,
    PORT_SET_OUTPUT_EXPR = 1u << 8,
    DWORK_SET_WIDTH = 1u << 0,
    DWORK_SET_DTYPE = 1u << 1,
    DWORK_SET_NAME = 1u << 2,
    DWORK_SET_USAGE = 1u << 3,
};

// One layout serves input and output ports; each side ignores the fields
// that only the other side has.
struct ssPortRecord {
    int32_t width;
    int32_t dataType;
    int32_t complexSignal;
    int32_t directFeedThrough;
    int32_t requiredContiguous;
    int32_t overWritable;
    int32_t optimOpts;
    int32_t acceptExprInRTW;
    int32_t outputExprInRTW;
    uint32_t setMask;
};

struct ssDWorkRecord {
    int32_t width;
    int32_t dataType;
    int32_t usageType;
    const char* name;
    uint32_t setMask;
};

struct SimStruct;

typedef void (*mdlVoidFcn)(SimStruct*);
typedef void (*mdlTaskFcn)(SimStruct*, int32_t tid);
typedef void (*mdlPortIntFcn)(SimStruct*, int32_t port, int32_t value);
typedef void (*mdlPortDimsFcn)(SimStruct*, int32_t port, const DimsInfo_T*);
typedef void (*mdlPortTimeFcn)(SimStruct*, int32_t port, double time, double offset);
typedef void (*mdlIntFcn)(SimStruct*, int32_t);

// The width and dimension methods of one direction share an entry; the
// record's dimension-methods flag says which member is live.
union ssPortShapeEntry {
    mdlPortIntFcn width;
    mdlPortDimsFcn dims;
};

struct ssMethodEntries {
    mdlVoidFcn mdlInitializeSizes;
    mdlVoidFcn mdlInitializeSampleTimes;
    mdlTaskFcn mdlOutputs;
    mdlVoidFcn mdlTerminate;
    mdlVoidFcn mdlRTW;
    mdlVoidFcn mdlGetTimeOfNextVarHit;
    mdlVoidFcn mdlZeroCrossings;
    mdlTaskFcn mdlUpdate;
    mdlPortIntFcn mdlSetInputPortDataType;
    mdlPortIntFcn mdlSetOutputPortDataType;
    mdlVoidFcn mdlSetDefaultPortDataTypes;
    ssPortShapeEntry inputPortShape;
    ssPortShapeEntry outputPortShape;
    mdlVoidFcn mdlSetDefaultPortDimensionInfo;
    mdlVoidFcn mdlSetWorkWidths;
    mdlVoidFcn mdlCheckParameters;
    mdlPortIntFcn mdlSetInputPortComplexSignal;
    mdlPortIntFcn mdlSetOutputPortComplexSignal;
    mdlPortTimeFcn mdlSetInputPortSampleTime;
    mdlPortTimeFcn mdlSetOutputPortSampleTime;
    mdlPortIntFcn mdlSetInputPortFrameData;
    mdlVoidFcn mdlSetDefaultPortComplexSignals;
    mdlIntFcn mdlInitializePropagationPass;
};

// A host can watch every operation a deliverable makes on its record.
enum ssTraceKind : int32_t { TRACE_INT, TRACE_REAL, TRACE_TEXT };
struct ssTraceArg {
    ssTraceKind kind;
    int64_t i;
    double d;
    const char* s;
};
typedef void (*ssTraceFcn)(SimStruct*, const char* op, int nargs, const ssTraceArg* args);

typedef int (*ssGenericFcn)(SimStruct*, int code, int index, void* data);
typedef int (*ssRegNumPortsFcn)(void* arg, int n);
typedef int (*ssRegNumDWorkFcn)(SimStruct*, int n);
typedef int (*ssSetPortDimsFcn)(SimStruct*, int port, const DimsInfo_T*);

struct ssModelInfo {
    int32_t simMode;
    ssGenericFcn genericFcn;  // may be absent
};

struct ssCallArgs {
    int32_t value;
    const DimsInfo_T* dims;
    double sampleTime;
    double offsetTime;
};

// Written by the host into every record it creates; the glue refuses a
// record pointer whose memory does not carry it.
inline constexpr uint64_t kRecordTag = 0x315245434B56455AULL;  // "ZEVKREC1"

struct SimStruct {
    uint64_t tag;
    int32_t sizes[ZEVK_NUM_SIZES];

    const char* modelName;
    const char* path;
    SimStruct* root;
    const char* errorStatus;

    int32_t numParamsGiven;
    const mxArray* const* params;
    uint32_t* paramAttributes;

    ssRegNumPortsFcn regNumInputPortsFcn;
    void* regNumInputPortsFcnArg;
    ssRegNumPortsFcn regNumOutputPortsFcn;
    void* regNumOutputPortsFcnArg;
    ssPortRecord* inputs;
    ssPortRecord* outputs;

    ssSetPortDimsFcn setInputPortDimensionInfoFcn;  // may be absent
    ssSetPortDimsFcn setOutputPortDimensionInfoFcn;  // may be absent

    ssRegNumDWorkFcn regNumDWorkFcn;  // may be absent
    ssDWorkRecord* dwork;

    int32_t numSampleTimeSlots;
    double* sampleTimes;
    double* offsetTimes;
    uint32_t sampleTimeSetMask;  // bit 2i: period i written, bit 2i+1: offset i
    int32_t numCallSystemSlots;
    int32_t* callSystemOutputs;

    void* userData;
    ssMethodEntries methods;
    void* blockLink;
    ssModelInfo* mdlInfo;
    ssCallArgs callArgs;

    ssTraceFcn trace;  // may be absent
    void* hostData;    // the host's own bookkeeping; never touched by the glue
};
