// The one place where a double becomes an integer. The result is defined
// for every input, NaN and infinities included, and matches what the
// platform's own conversion gives on the target: the 64-bit build yields the
// most negative 32-bit integer for anything out of range, the 32-bit build
// keeps the low 32 bits of the 64-bit truncation.
#pragma once

#include <stdint.h>

#include "glue/build_config.h"

inline int32_t truncToInt32(double v) {
#if defined(ZEVK_RECORD_32)
    if (!(v > -9223372036854775808.0 && v < 9223372036854775808.0)) return 0;
    const uint64_t wide = static_cast<uint64_t>(static_cast<int64_t>(v));
    return static_cast<int32_t>(static_cast<uint32_t>(wide));  // modulo 2^32 in C++20
#else
    if (!(v > -2147483649.0 && v < 2147483648.0)) return INT32_MIN;
    return static_cast<int32_t>(v);
#endif
}

// A count for a loop or a registration, never negative and never so large
// that adding an extra port to it overflows.
inline int32_t clampCount(size_t n) {
    return n > 0x7FFFFF00u ? 0x7FFFFF00 : static_cast<int32_t>(n);
}
