// What differs between the operating systems the glue runs on.
#pragma once

// The one symbol a deliverable exports; everything else stays inside it.
#if defined(_WIN32)
#define ZEVK_EXPORT extern "C" __declspec(dllexport)
#else
#define ZEVK_EXPORT extern "C" __attribute__((visibility("default")))
#endif

#include <stddef.h>

// Copies n bytes from `address` into `out`, or answers false when any of
// them is unreadable. Never faults, whatever the address.
bool copyReadable(const void* address, void* out, size_t n);
