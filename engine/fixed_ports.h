// The fixed-layout peripheral blocks: one scalar port per entry of the input
// and output type lists, each entry taken as the port's data type id as it
// stands, plus the optional extra boolean ports. One mdlInitializeSizes
// serves all of them; a row of the member table says what differs.
#pragma once

#include <stdint.h>

#include "glue/simstruct.h"

namespace engine {

// Dialog layout shared by every member.
inline constexpr int kFixedSampleTimeParam = 0;
inline constexpr int kFixedInputTypesParam = 1;
inline constexpr int kFixedOutputTypesParam = 2;
inline constexpr int kFixedOptionParam = 3;
inline constexpr int kFixedOutputWidthsParam = 4;

struct FixedMember {
    int32_t numParams;
    // Typed inputs: width 1, data type, direct feedthrough, optimisation
    // option, overwritable, then (when set) real, accepts expression and
    // required contiguous.
    int32_t inputOptim;
    bool inputsRealExprContiguous;
    // With typed outputs present the inputs lose direct feedthrough and take
    // kOptimWithoutFeedthrough instead of inputOptim.
    bool feedthroughOnlyWithoutOutputs;
    // Typed outputs: width, data type, (real,) optimisation option
    // (, output expression).
    int32_t outputOptim;
    bool outputsRealExpr;
    bool outputWidthsParam;  // widths from parameter 4; otherwise 1
    uint32_t options;
};

inline constexpr int32_t kOptimWithoutFeedthrough = 2;

enum class FixedFamily : uint8_t {
    CaptureCompare,  // ZEVK_OC_SW, ZEVK_IC, ZEVK_QDEC_QORx
    DigitalRead,     // ZEVK_Digital_Input, ZEVK_Digital_Output_Read
    Adc,             // ZEVK_ADC
    DigitalWrite,    // ZEVK_Digital_Output_Write
    DigitalOutput,   // ZEVK_Digital_Output
};

inline constexpr FixedMember kFixedMembers[] = {
    /* CaptureCompare */ {4, 2, false, false, 2, false, false, 2},
    /* DigitalRead    */ {4, 1, false, false, 1, true, false, 2},
    /* Adc            */ {5, 2, false, false, 0, false, true, 2},
    /* DigitalWrite   */ {4, 1, true, false, 1, false, false, 0x2001006},
    /* DigitalOutput  */ {4, 1, true, true, 1, false, false, 0x2001006},
};

constexpr const FixedMember& fixedMember(FixedFamily f) { return kFixedMembers[static_cast<int>(f)]; }

void fixedLayoutSizes(SimStruct* S, const FixedMember& m);

}  // namespace engine
