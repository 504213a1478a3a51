#include "glue/platform.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace {

// Copies n bytes from `address` into `out`; an unreadable address makes the
// copy fail instead of faulting.
bool copyChecked(const void* address, void* out, size_t n) {
    SIZE_T got = 0;
    return ReadProcessMemory(GetCurrentProcess(), address, out, n, &got) && got == n;
}

}  // namespace

bool isLiveRecord(const SimStruct* S) {
    if (!S || reinterpret_cast<uintptr_t>(S) % alignof(SimStruct) != 0) return false;
    uint64_t tag = 0;
    if (!copyChecked(S, &tag, sizeof tag)) return false;
    if (tag != kRecordTag) return false;
    unsigned char whole[sizeof(SimStruct)];
    return copyChecked(S, whole, sizeof whole);
}
