#include "engine/port_codes.h"

#include "glue/ssops.h"

namespace engine {

namespace {

const char kMissingBusName[] = "Error: C Function Call: Error Registering Bus Datatype\n";

// A copy of a bus name in memory of the current call. A name that cannot be
// copied ends the whole call with the platform's conversion error; the
// buffer is released first so nothing is left behind.
char* copyBusName(const mxArray* element) {
    const size_t n = mxGetNumberOfElements(element);
    char* buffer = n < (size_t(1) << 30) ? static_cast<char*>(mxCalloc(n + 1, 1)) : nullptr;
    if (!buffer || mxGetString(element, buffer, n + 1) != 0) {
        mxFree(buffer);
        mexErrMsgIdAndTxt("MATLAB:explore:invalidStringArray", "Could not convert string data.");
    }
    return buffer;
}

// Registration is skipped in a sizes call only; the port then gets no type.
// A host without the generic-function entry answers nothing, and the port is
// left for propagation to settle.
bool registerBusType(SimStruct* S, const char* name, DTypeId* id) {
    if (ssGetSimMode(S) == SS_SIMMODE_SIZES_CALL_ONLY) return false;
    *id = DYNAMICALLY_TYPED;
    ssRegisterTypeFromNamedObject(S, name, id);
    return true;
}

}  // namespace

TypeCode decodeTypeCode(int32_t code, bool dynamicCodes, size_t busNames) {
    if (code >= SS_DOUBLE && code <= SS_BOOLEAN) return {CodeKind::Builtin, code, 0};
    if (dynamicCodes && (code == kDynamicFloatCode || code == kDynamicIntegerCode)) {
        return {CodeKind::Dynamic, DYNAMICALLY_TYPED, 0};
    }
    const uint32_t u = static_cast<uint32_t>(code);
    if (u >= kFirstBusCode && u - kFirstBusCode < busNames) return {CodeKind::Bus, 0, u - kFirstBusCode};
    return {CodeKind::None, 0, 0};
}

int32_t widthFromEntry(double entry) {
    if (entry < 0) return DYNAMICALLY_SIZED;
    if (entry == 0) return 1;
    return truncToInt32(entry);
}

OptionBits optionBits(const ParamView& p) {
    const int32_t bits = truncToInt32(p.first());
    return {bits & 1, (bits >> 1) & 1};
}

const mxArray* BusNames::element(size_t k) const {
    if (!list || k >= count || mxGetClassID(list) != mxCELL_CLASS) return nullptr;
    return mxGetCell(list, k);
}

BusNames busNames(SimStruct* S, int paramIndex) {
    BusNames names;
    names.list = ssGetSFcnParam(S, paramIndex);
    names.count = names.list ? mxGetNumberOfElements(names.list) : 0;
    return names;
}

namespace {

enum class BusName { Missing, Unregistered, Ready };

struct PreparedBusName {
    BusName state = BusName::Missing;
    char* name = nullptr;  // the caller's to free when Ready
    DTypeId id = DYNAMICALLY_TYPED;
    bool registered = false;
};

// The steps both kinds of bus port share: fetch element k, copy it, and
// register it unless the host runs a sizes call only. On Unregistered the
// name is already freed.
PreparedBusName prepareBusName(SimStruct* S, const BusNames& names, size_t k) {
    PreparedBusName p;
    const mxArray* element = names.element(k);
    if (!element) {
        mexPrintf(kMissingBusName);
        return p;
    }
    p.name = copyBusName(element);
    p.registered = registerBusType(S, p.name, &p.id);
    if (p.registered && p.id == INVALID_DTYPE_ID) {
        mxFree(p.name);
        p.state = BusName::Unregistered;
        return p;
    }
    p.state = BusName::Ready;
    return p;
}

}  // namespace

bool setUpBusInput(SimStruct* S, int32_t port, const BusNames& names, size_t k) {
    const PreparedBusName p = prepareBusName(S, names, k);
    if (p.state != BusName::Ready) return p.state == BusName::Missing;
    if (p.registered) ssSetInputPortDataType(S, port, p.id);
    ssSetBusInputAsStruct(S, port, true);
    ssSetInputPortBusMode(S, port, 1);
    ssSetInputPortRequiredContiguous(S, port, 1);
    mxFree(p.name);
    return true;
}

bool setUpBusOutput(SimStruct* S, int32_t port, const BusNames& names, size_t k) {
    const PreparedBusName p = prepareBusName(S, names, k);
    if (p.state != BusName::Ready) return p.state == BusName::Missing;
    if (p.registered) ssSetOutputPortDataType(S, port, p.id);
    ssSetBusOutputObjectName(S, port, p.name);
    ssSetBusOutputAsStruct(S, port, true);
    ssSetOutputPortBusMode(S, port, 1);
    mxFree(p.name);
    return true;
}

}  // namespace engine
