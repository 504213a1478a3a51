// The one place where a double becomes an integer. The result is defined
// for every input, NaN and infinities included, and matches what the
// platform's own conversion gives on the target: the most negative 32-bit
// integer for anything out of range, in both builds. Data type ids are the
// one exception (toDataTypeId).
#pragma once

#include <float.h>
#include <stdint.h>

#include "glue/build_config.h"

inline int32_t truncToInt32(double v) {
    if (!(v > -2147483649.0 && v < 2147483648.0)) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// A data type id from a dialog entry. The 32-bit build reduces an entry of
// 2^31 or more modulo 2^32, as that platform's conversion does; below 2^31 it is
// truncToInt32 in both builds. Neither result of a huge entry is a valid id.
inline int32_t toDataTypeId(double v) {
#if defined(ZEVK_RECORD_32)
    constexpr double kTwo32 = 4294967296.0;
    constexpr double kTwo84 = kTwo32 * kTwo32 * 1048576.0;
    if (v >= 2147483648.0 && v < kTwo84) {
        // Exact in doubles: dividing by 2^32 and taking whole multiples of it
        // lose no bits, and the remainder is below 2^32.
        const double whole = static_cast<double>(static_cast<uint64_t>(v / kTwo32)) * kTwo32;
        const auto low = static_cast<uint32_t>(v - whole);  // 0 <= v - whole < 2^32
        return static_cast<int32_t>(low);                    // modulo 2^32 in C++20
    }
    // From 2^84 on every double is a whole multiple of 2^32.
    if (v >= kTwo84 && v <= DBL_MAX) return 0;
#endif
    return truncToInt32(v);
}

// A count for a loop or a registration, never negative and never so large
// that adding an extra port to it overflows.
inline int32_t clampCount(size_t n) {
    return n > 0x7FFFFF00u ? 0x7FFFFF00 : static_cast<int32_t>(n);
}
