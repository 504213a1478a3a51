// The state of the one MEX call in progress on this thread.
#pragma once

#include <csetjmp>
#include <string>
#include <unordered_set>
#include <vector>

#include "glue/mex.h"

namespace zevk::host {

struct CallContext {
    std::jmp_buf jump;
    std::unordered_set<void*> allocations;  // live mxCalloc blocks of this call
    std::vector<mxArray*> created;          // arrays made by mxCreate*, until handed back
    std::string printed;
    bool errored = false;
    std::string errorId;
    std::string errorText;
    size_t foreignFrees = 0;  // mxFree of memory this call never handed out
};

CallContext* currentCall();
CallContext* enterCall(CallContext* ctx);  // returns the one it replaces
void leaveCall(CallContext* previous);
// Frees what the call still holds; returns how many mxCalloc blocks that was.
size_t reclaimCall(CallContext& ctx);

}  // namespace zevk::host
