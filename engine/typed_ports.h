// The typed port lists of the generic blocks: mdlInitializeSizes in its
// three variants and the three rule sets that settle dynamically typed
// inputs. Each is written once; a block picks its variant, parameter count
// and rule set by constants (see engine/generic_block.h).
//
// Dialog parameters: 0 input type codes, 1 output type codes, 2 input
// widths, 3 output widths, 4 bus names, 5 sample time, 6 option bits and,
// in the 8-parameter form, 7 which is counted but never read.
#pragma once

#include <stdint.h>

#include "glue/simstruct.h"

namespace engine {

enum class Variant {
    DynamicCode,  // inputs take -1 and -7 as dynamically typed
    FixedCode,    // inputs decode like outputs: no dynamic codes
    AllDynamic,   // every listed input is dynamically typed, whatever its code
};

enum class RuleSet {
    None,        // no propagation methods
    Unsigned,    // -7 ports take uint8, uint16 or uint32
    Integer,     // -7 ports take any integer type or boolean
    AllDynamic,  // every listed input takes uint8 or uint16
};

inline constexpr int kGenericSampleTimeParam = 5;

void typedPortListSizes(SimStruct* S, Variant variant, int32_t numParams);
void typedPortSetInputDataType(SimStruct* S, RuleSet rules, int32_t port, DTypeId proposed);
void typedPortSetDefaultDataTypes(SimStruct* S, RuleSet rules);

// The block methods, one instance per constant choice.
template <Variant V, int32_t N>
void mdlInitializeSizes(SimStruct* S) {
    typedPortListSizes(S, V, N);
}

template <RuleSet R>
void mdlSetInputPortDataType(SimStruct* S, int32_t port, DTypeId proposed) {
    typedPortSetInputDataType(S, R, port, proposed);
}

template <RuleSet R>
void mdlSetDefaultPortDataTypes(SimStruct* S) {
    typedPortSetDefaultDataTypes(S, R);
}

}  // namespace engine
