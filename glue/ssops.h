// The host operations a block uses on its record. Every operation checks
// its indexes against what the host registered, so a block can never write
// outside a port or work-vector array, and reports itself to the host's
// trace entry when the host has one. Operations that go through an entry
// the host left absent are skipped, as a real host's would be.
#pragma once

#include "glue/simstruct.h"

// Parameters
void ssSetNumSFcnParams(SimStruct* S, int32_t n);
int32_t ssGetSFcnParamsCount(SimStruct* S);
const mxArray* ssGetSFcnParam(SimStruct* S, int32_t index);
void ssSetSFcnParamNotTunable(SimStruct* S, int32_t index);

// Port counts and port attributes
bool ssSetNumInputPorts(SimStruct* S, int32_t n);
bool ssSetNumOutputPorts(SimStruct* S, int32_t n);
int32_t ssGetNumInputPorts(SimStruct* S);
int32_t ssGetNumOutputPorts(SimStruct* S);
void ssSetInputPortWidth(SimStruct* S, int32_t port, int32_t width);
void ssSetOutputPortWidth(SimStruct* S, int32_t port, int32_t width);
int32_t ssGetInputPortWidth(SimStruct* S, int32_t port);
int32_t ssGetOutputPortWidth(SimStruct* S, int32_t port);
void ssSetInputPortDataType(SimStruct* S, int32_t port, DTypeId id);
void ssSetOutputPortDataType(SimStruct* S, int32_t port, DTypeId id);
DTypeId ssGetInputPortDataType(SimStruct* S, int32_t port);
DTypeId ssGetOutputPortDataType(SimStruct* S, int32_t port);
bool ssSetInputPortDimensionInfo(SimStruct* S, int32_t port, const DimsInfo_T* dims);
bool ssSetOutputPortDimensionInfo(SimStruct* S, int32_t port, const DimsInfo_T* dims);
void ssSetInputPortComplexSignal(SimStruct* S, int32_t port, int32_t value);
void ssSetOutputPortComplexSignal(SimStruct* S, int32_t port, int32_t value);
void ssSetInputPortDirectFeedThrough(SimStruct* S, int32_t port, int32_t value);
void ssSetInputPortRequiredContiguous(SimStruct* S, int32_t port, int32_t value);
void ssSetInputPortOverWritable(SimStruct* S, int32_t port, int32_t value);
void ssSetInputPortOptimOpts(SimStruct* S, int32_t port, int32_t value);
void ssSetOutputPortOptimOpts(SimStruct* S, int32_t port, int32_t value);
void ssSetInputPortAcceptExprInRTW(SimStruct* S, int32_t port, int32_t value);
void ssSetOutputPortOutputExprInRTW(SimStruct* S, int32_t port, int32_t value);

// Sample times and counts of the sizes block
void ssSetNumSampleTimes(SimStruct* S, int32_t n);
void ssSetSampleTime(SimStruct* S, int32_t index, double period);
void ssSetOffsetTime(SimStruct* S, int32_t index, double offset);
void ssSetCallSystemOutput(SimStruct* S, int32_t element);
void ssSetNumContStates(SimStruct* S, int32_t n);
void ssSetNumDiscStates(SimStruct* S, int32_t n);
void ssSetNumIWork(SimStruct* S, int32_t n);
void ssSetNumRWork(SimStruct* S, int32_t n);
void ssSetNumPWork(SimStruct* S, int32_t n);
void ssSetNumModes(SimStruct* S, int32_t n);
void ssSetNumNonsampledZCs(SimStruct* S, int32_t n);
void ssSetOptions(SimStruct* S, uint32_t options);
// Replaces bits [firstBit, firstBit + width) of the sizes flags word.
void ssSetSizesFlagsField(SimStruct* S, int firstBit, int width, uint32_t value);

// Work vectors
void ssSetNumDWork(SimStruct* S, int32_t n);
int32_t ssGetNumDWork(SimStruct* S);
void ssSetDWorkWidth(SimStruct* S, int32_t index, int32_t width);
void ssSetDWorkDataType(SimStruct* S, int32_t index, DTypeId id);
void ssSetDWorkName(SimStruct* S, int32_t index, const char* name);
void ssSetDWorkUsageType(SimStruct* S, int32_t index, int32_t usage);
int32_t ssGetDWorkWidth(SimStruct* S, int32_t index);

// Identity, user data, error status
void ssSetUserData(SimStruct* S, void* data);
void* ssGetUserData(SimStruct* S);
int32_t ssGetSimMode(SimStruct* S);
const char* ssGetModelName(SimStruct* S);
const char* ssGetPath(SimStruct* S);
SimStruct* ssGetRootSS(SimStruct* S);
void ssSetErrorStatus(SimStruct* S, const char* message);

// Requests through the generic-function entry; each is skipped when the
// record has no such entry.
bool ssHasGenericFcn(SimStruct* S);
int ssGenericRequest(SimStruct* S, int code, int index, void* data);
void ssRegisterTypeFromNamedObject(SimStruct* S, const char* name, DTypeId* id);
void ssSetBusOutputObjectName(SimStruct* S, int32_t port, const char* name);
void ssSetBusOutputAsStruct(SimStruct* S, int32_t port, bool value);
void ssSetBusInputAsStruct(SimStruct* S, int32_t port, bool value);
// Bus modes are requested only when the host has set the block link.
void ssSetInputPortBusMode(SimStruct* S, int32_t port, int32_t mode);
void ssSetOutputPortBusMode(SimStruct* S, int32_t port, int32_t mode);
void ssSetTimeSource(SimStruct* S, int32_t source);
void ssSetAsyncTimerResolutionEl(SimStruct* S, double resolution, int32_t element);
void ssSetAsyncTimerDataTypeEl(SimStruct* S, DTypeId id, int32_t element);
void ssSetAsyncTaskPriorities(SimStruct* S, int32_t count, const int32_t* priorities);
