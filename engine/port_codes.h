// The vocabulary of the typed port lists that several blocks share: type
// codes, the width rule, option bits, the bus-name list and the set-up of a
// bus port.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "glue/mex.h"
#include "glue/params.h"
#include "glue/simstruct.h"

namespace engine {

enum class CodeKind { Builtin, Dynamic, Bus, None };

struct TypeCode {
    CodeKind kind;
    DTypeId id;        // Builtin: the data type id
    size_t busIndex;   // Bus: the element of the bus-name list
};

inline constexpr int32_t kDynamicFloatCode = -1;
inline constexpr int32_t kDynamicIntegerCode = -7;
inline constexpr uint32_t kFirstBusCode = 100;

// Codes 0 to 8 are built-in types. With dynamicCodes, -1 and -7 make a
// dynamically typed port. Any other code is tested as an unsigned number, so
// no negative code is ever a bus code; a bus code beyond the list is none.
TypeCode decodeTypeCode(int32_t code, bool dynamicCodes, size_t busNames);

// A width entry is tested as a double: negative is dynamically sized, exactly
// zero is a scalar, anything else is truncated.
int32_t widthFromEntry(double entry);

// Bits 0 and 1 of an option scalar: the extra boolean input and output.
struct OptionBits {
    int32_t extraInput;   // 0 or 1
    int32_t extraOutput;  // 0 or 1
};
OptionBits optionBits(const ParamView& p);

// The bus-name list (a cell array of character arrays) of a dialog.
struct BusNames {
    const mxArray* list = nullptr;
    size_t count = 0;  // element count of the parameter, whatever its class
    // Element k, or null when the list holds no array there (an unassigned
    // cell, or a parameter that is not a cell array at all).
    const mxArray* element(size_t k) const;
};
BusNames busNames(SimStruct* S, int paramIndex);

// Registers the bus type named by element k for input `port` and marks the
// port as a bus port. Returns false when the host could not register the name
// (INVALID_DTYPE_ID): the caller's mdlInitializeSizes must stop there.
bool setUpBusInput(SimStruct* S, int32_t port, const BusNames& names, size_t k);
bool setUpBusOutput(SimStruct* S, int32_t port, const BusNames& names, size_t k);

}  // namespace engine
