// What differs between the operating systems the glue runs on.
#pragma once

#include "glue/simstruct.h"

// The one symbol a deliverable exports; everything else stays inside it.
#if defined(_WIN32)
#define ZEVK_EXPORT extern "C" __declspec(dllexport)
#else
#define ZEVK_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// True when S is aligned, readable for a whole record, and carries the tag
// our host writes into every record. Never faults, whatever S is.
bool isLiveRecord(const SimStruct* S);
