// What differs between the operating systems the glue runs on.
#pragma once

#include "glue/simstruct.h"

// True when S is aligned, readable for a whole record, and carries the tag
// our host writes into every record. Never faults, whatever S is.
bool isLiveRecord(const SimStruct* S);
