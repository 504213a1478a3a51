// Port lists whose ports are scalars, dynamically sized or arrays of up to
// nine dimensions, and the dimension propagation that goes with them.
//
// Dialog parameters: 0 input type codes, 1 output type codes, 2 input
// dimension records, 3 output dimension records (ten numbers per listed
// port: the count of dimensions, then nine sizes), 4 bus names, 5 sample
// time, 6 option bits.
//
// mdlInitializeSizes keeps an integer copy of every dimension record as the
// block's user data, because the shapes it hands the host point into it;
// mdlTerminate releases it.
#pragma once

#include <stdint.h>

#include "glue/simstruct.h"

namespace engine {

inline constexpr int kNdimSampleTimeParam = 5;

// The options word a block declares: `options` normally, `withOutputs`
// instead when parameter 1 lists at least one output port.
struct NdimOptions {
    uint32_t options;
    uint32_t withOutputs;
};

void ndimPortListSizes(SimStruct* S, NdimOptions options);
void ndimSetInputPortDimensionInfo(SimStruct* S, int32_t port, const DimsInfo_T* offered);
void ndimSetOutputPortDimensionInfo(SimStruct* S, int32_t port, const DimsInfo_T* offered);
void ndimSetDefaultPortDimensionInfo(SimStruct* S);
void ndimTerminate(SimStruct* S);

template <uint32_t Options, uint32_t WithOutputs>
void ndimInitializeSizes(SimStruct* S) {
    ndimPortListSizes(S, {Options, WithOutputs});
}

}  // namespace engine
