// What the three UART blocks share: scalar settings read afresh on every
// call, and the accept-or-reject answer to a proposed port data type.
#pragma once

#include <initializer_list>

#include "glue/params.h"
#include "glue/ssops.h"

namespace uart {

inline constexpr char kInvalidType[] = "Invalid input or output port data type";
inline constexpr uint32_t kOptions = 2;

// A scalar setting, truncated; an empty parameter reads as 0.
inline int32_t setting(SimStruct* S, int index) { return truncToInt32(viewParam(S, index).first(0.0)); }

// A flag compared exactly with 1, as the dialog writes it.
inline bool exactlyOne(SimStruct* S, int index) { return viewParam(S, index).first(0.0) == 1.0; }

inline bool contains(std::initializer_list<DTypeId> ids, DTypeId id) {
    for (DTypeId a : ids) {
        if (a == id) return true;
    }
    return false;
}

// Takes the proposal when it is one of `accepted`; otherwise reports it
// and the port keeps its type.
inline void acceptInputType(SimStruct* S, int32_t port, DTypeId id, std::initializer_list<DTypeId> accepted) {
    if (contains(accepted, id)) {
        ssSetInputPortDataType(S, port, id);
    } else {
        ssSetErrorStatus(S, kInvalidType);
    }
}

inline void acceptOutputType(SimStruct* S, int32_t port, DTypeId id, std::initializer_list<DTypeId> accepted) {
    if (contains(accepted, id)) {
        ssSetOutputPortDataType(S, port, id);
    } else {
        ssSetErrorStatus(S, kInvalidType);
    }
}

inline void defaultInputType(SimStruct* S, int32_t port, DTypeId id) {
    if (ssGetInputPortDataType(S, port) == DYNAMICALLY_TYPED) ssSetInputPortDataType(S, port, id);
}

inline void defaultOutputType(SimStruct* S, int32_t port, DTypeId id) {
    if (ssGetOutputPortDataType(S, port) == DYNAMICALLY_TYPED) ssSetOutputPortDataType(S, port, id);
}

}  // namespace uart
