// The MEX functions a deliverable imports, served by the host of our own.
// Memory and arrays handed out during a call belong to that call and are
// reclaimed when it ends; a MEX error unwinds straight back to the host.
#include <csetjmp>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_set>

#include "host/call_context.h"
#include "host/mxarray.h"

namespace zevk::host {

namespace {
thread_local CallContext* g_current = nullptr;
}

CallContext* currentCall() { return g_current; }

CallContext* enterCall(CallContext* ctx) {
    CallContext* previous = g_current;
    g_current = ctx;
    return previous;
}

void leaveCall(CallContext* previous) { g_current = previous; }

size_t reclaimCall(CallContext& ctx) {
    size_t n = ctx.allocations.size();
    for (void* p : ctx.allocations) std::free(p);
    ctx.allocations.clear();
    for (mxArray* a : ctx.created) delete a;
    ctx.created.clear();
    return n;
}

}  // namespace zevk::host

using zevk::host::currentCall;

namespace {

std::string vformat(const char* fmt, va_list args) {
    if (!fmt) return {};
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    std::vsnprintf(out.data(), out.size() + 1, fmt, args);
    return out;
}

zevk::host::CallContext* requireCall() {
    auto* ctx = currentCall();
    if (!ctx) {
        std::fputs("MEX error raised outside a call\n", stderr);
        std::abort();
    }
    return ctx;
}

// Leaves the deliverable for the host's call site. Every frame it skips is
// the deliverable's plain C-style code or this function, none of which owns
// anything that needs destroying.
[[noreturn]] void jumpOut(zevk::host::CallContext* ctx) {
    ctx->errored = true;
    std::longjmp(ctx->jump, 1);
}

bool hasNumericData(const mxArray* a) {
    return a && a->elementSize > 0 && !a->re.empty() && a->classId != mxCELL_CLASS;
}

}  // namespace

extern "C" {

double* mxGetPr(const mxArray* a) {
    if (!a || a->classId != mxDOUBLE_CLASS || a->re.empty()) return nullptr;
    return reinterpret_cast<double*>(const_cast<unsigned char*>(a->re.data()));
}

void* mxGetData(const mxArray* a) {
    if (!hasNumericData(a)) return nullptr;
    return const_cast<unsigned char*>(a->re.data());
}

double mxGetScalar(const mxArray* a) {
    if (!hasNumericData(a)) return 0.0;
    return zevk::host::getElement(a, 0);
}

size_t mxGetNumberOfElements(const mxArray* a) { return zevk::host::numel(a); }

size_t mxGetM(const mxArray* a) { return a ? a->dims[0] : 0; }

size_t mxGetN(const mxArray* a) {
    if (!a) return 0;
    size_t n = 1;
    for (size_t i = 1; i < a->dims.size(); ++i) n *= a->dims[i];
    return n;
}

bool mxIsComplex(const mxArray* a) { return a && a->complex; }

bool mxIsNumeric(const mxArray* a) { return a && zevk::host::isNumericClass(a->classId); }

bool mxIsSparse(const mxArray* a) { return a && a->sparse; }

mxClassID mxGetClassID(const mxArray* a) { return a ? a->classId : mxUNKNOWN_CLASS; }

size_t mxGetElementSize(const mxArray* a) { return a ? a->elementSize : 0; }

mxArray* mxGetCell(const mxArray* a, size_t index) {
    if (!a || a->classId != mxCELL_CLASS || index >= a->cells.size()) return nullptr;
    return a->cells[index];
}

int mxGetString(const mxArray* a, char* buf, size_t buflen) {
    if (!buf || buflen == 0) return 1;
    buf[0] = '\0';
    if (!a || a->classId != mxCHAR_CLASS) return 1;
    const size_t n = zevk::host::numel(a);
    const size_t copy = n < buflen - 1 ? n : buflen - 1;
    for (size_t i = 0; i < copy; ++i) {
        // A character is a 16-bit code unit; one beyond a byte has no text
        // to copy into a char buffer.
        const auto unit = static_cast<uint16_t>(zevk::host::getElement(a, i));
        if (unit > 0xFF) {
            buf[i] = '\0';
            return 1;
        }
        buf[i] = static_cast<char>(static_cast<unsigned char>(unit));
    }
    buf[copy] = '\0';
    return copy < n ? 1 : 0;
}

void* mxCalloc(size_t n, size_t size) {
    if (size != 0 && n > static_cast<size_t>(-1) / size) return nullptr;
    size_t bytes = n * size;
    void* p = std::calloc(bytes ? bytes : 1, 1);
    if (!p) return nullptr;
    if (auto* ctx = currentCall()) ctx->allocations.insert(p);
    return p;
}

void mxFree(void* ptr) {
    if (!ptr) return;
    auto* ctx = currentCall();
    // Only memory this call handed out is ours to free; anything else is
    // a block's mistake and is left alone rather than corrupting the heap.
    if (ctx && ctx->allocations.erase(ptr)) {
        std::free(ptr);
    } else if (ctx) {
        ++ctx->foreignFrees;
    }
}

mxArray* mxCreateDoubleMatrix(size_t m, size_t n, mxComplexity flag) {
    auto a = zevk::host::makeArray(mxDOUBLE_CLASS, {m, n}, flag == mxCOMPLEX);
    mxArray* raw = a.release();
    if (auto* ctx = currentCall()) ctx->created.push_back(raw);
    return raw;
}

void mexErrMsgTxt(const char* msg) {
    auto* ctx = requireCall();
    ctx->errorId.clear();
    ctx->errorText = msg ? msg : "";
    jumpOut(ctx);
}

void mexErrMsgIdAndTxt(const char* id, const char* fmt, ...) {
    auto* ctx = requireCall();
    va_list args;
    va_start(args, fmt);
    ctx->errorText = vformat(fmt, args);
    va_end(args);
    ctx->errorId = id ? id : "";
    jumpOut(ctx);
}

int mexPrintf(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string text = vformat(fmt, args);
    va_end(args);
    if (auto* ctx = currentCall()) {
        ctx->printed += text;
    } else {
        std::fputs(text.c_str(), stdout);
    }
    return static_cast<int>(text.size());
}

}  // extern "C"
