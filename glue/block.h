// What a deliverable hands the glue: its name, its sample-time parameter and
// a constant table of the methods it supplies. Everything else about the
// S-function protocol lives in the glue, once.
#pragma once

#include "glue/simstruct.h"

// Block methods. An empty entry means the block does not supply the method
// and the glue answers the host's call with the platform's fixed message.
struct BlockMethods {
    mdlVoidFcn initializeSizes = nullptr;
    mdlVoidFcn initializeSampleTimes = nullptr;  // empty: the shared method on the sample-time parameter
    mdlVoidFcn terminate = nullptr;              // empty: nothing to release
    bool update = false;                       // supplies mdlUpdate (empty in every block)
    mdlPortIntFcn setInputPortDataType = nullptr;
    mdlPortIntFcn setOutputPortDataType = nullptr;
    mdlVoidFcn setDefaultPortDataTypes = nullptr;
    mdlPortDimsFcn setInputPortDimensionInfo = nullptr;
    mdlPortDimsFcn setOutputPortDimensionInfo = nullptr;
    mdlVoidFcn setDefaultPortDimensionInfo = nullptr;
};

struct BlockDef {
    const char* name;
    const char* callName;  // the %s of the argument messages
    int sampleTimeParam;   // kNoSampleTimeParam when the block has its own method
    BlockMethods methods;
};

inline constexpr int kNoSampleTimeParam = -1;

// Each deliverable defines exactly one.
extern const BlockDef kZevkBlock;

#define ZEVK_BLOCK(NAME, SAMPLE_TIME_PARAM, ...)                                                   \
    extern const BlockDef kZevkBlock = {#NAME, "MEX level2 S-function \"" #NAME "\"", SAMPLE_TIME_PARAM, \
                                        __VA_ARGS__}

// Methods that do nothing, for blocks whose table says so.
void glueNothing(SimStruct*);
void glueNothingPortType(SimStruct*, int32_t port, int32_t id);

// Memory that must outlive the current call (user data, names the host
// keeps). On the standalone record of a command-line query no later call
// can free it, so it comes from the host's per-call allocator there.
void* glueAllocBlockData(SimStruct* S, size_t bytes);
void glueFreeBlockData(SimStruct* S, void* data);
