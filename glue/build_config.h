// Constants that tell the 64-bit record from the older 32-bit one. The glue
// is the same source for both; only these numbers change with the build.
#pragma once

#include <stdint.h>

#if defined(ZEVK_RECORD_32)
#define ZEVK_NUM_SIZES 38
inline constexpr int32_t kRecordVersion = 5200229;
inline constexpr int kRecordPointerRows = 2;
inline constexpr bool kGenericCallBeforeSizes = false;
#else
#define ZEVK_NUM_SIZES 40
inline constexpr int32_t kRecordVersion = 8480229;
inline constexpr int kRecordPointerRows = 3;
inline constexpr bool kGenericCallBeforeSizes = true;
#endif

inline constexpr int kNumSizes = ZEVK_NUM_SIZES;
