#include "glue/platform.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// ReadProcessMemory fails on an unreadable address instead of faulting.
bool copyReadable(const void* address, void* out, size_t n) {
    SIZE_T got = 0;
    return ReadProcessMemory(GetCurrentProcess(), address, out, n, &got) && got == n;
}

