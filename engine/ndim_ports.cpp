#include "engine/ndim_ports.h"

#include <stddef.h>

#include "engine/port_codes.h"
#include "glue/block.h"
#include "glue/numeric.h"
#include "glue/params.h"
#include "glue/ssops.h"

namespace engine {

namespace {

enum : int {
    kInputCodes = 0,
    kOutputCodes = 1,
    kInputRecords = 2,
    kOutputRecords = 3,
    kBusNames = 4,
    kOptionBits = 6,
    kNumParams = 7,
};

// A record is the count of dimensions followed by nine sizes.
constexpr int32_t kMaxDims = 9;
constexpr size_t kRecordLength = 1 + kMaxDims;
// What a record too short to hold a number reads as: a missing count makes
// the port dynamically sized, a missing size is not fixed.
constexpr double kMissingEntry = -1.0;

const DimsInfo_T kDynamicDimension = {DYNAMICALLY_SIZED, -1, nullptr, nullptr};

// One side of the block: inputs or outputs.
struct Side {
    bool input;
    int codesParam;
    int recordsParam;
    int dynamicRequest;
    bool (*setDims)(SimStruct*, int32_t, const DimsInfo_T*);
    void (*setWidth)(SimStruct*, int32_t, int32_t);
    int32_t (*getWidth)(SimStruct*, int32_t);
    int32_t (*numPorts)(SimStruct*);
    const char* mismatch;
};

const Side kInputs = {true,
                      kInputCodes,
                      kInputRecords,
                      GEN_DYNAMIC_INPUT_DIMENSION,
                      ssSetInputPortDimensionInfo,
                      ssSetInputPortWidth,
                      ssGetInputPortWidth,
                      ssGetNumInputPorts,
                      "ZEVK blockset: Error setting input port dimension"};

const Side kOutputs = {false,
                       kOutputCodes,
                       kOutputRecords,
                       GEN_DYNAMIC_OUTPUT_DIMENSION,
                       ssSetOutputPortDimensionInfo,
                       ssSetOutputPortWidth,
                       ssGetOutputPortWidth,
                       ssGetNumOutputPorts,
                       "ZEVK blockset: Error setting Output port dimension"};

enum class ShapeKind { Dynamic, Scalar, Array };

struct RecordShape {
    ShapeKind kind;
    int32_t numDims;  // Array: 1 to 9
};

// The count is tested as a double first. A count that truncates past nine
// (or is not a number at all) is left to the host like a negative one, so
// nothing ever reaches beyond the nine sizes of a record; a fraction below
// one truncates to a scalar.
RecordShape shapeOf(double count) {
    if (count < 0) return {ShapeKind::Dynamic, 0};
    if (count == 0) return {ShapeKind::Scalar, 0};
    const int32_t n = truncToInt32(count);
    if (n == 0) return {ShapeKind::Scalar, 0};
    if (n < 0 || n > kMaxDims) return {ShapeKind::Dynamic, 0};
    return {ShapeKind::Array, n};
}

// Position k of port's record, or the missing value past the end.
double recordEntry(const ParamView& records, int32_t port, size_t k) {
    const uint64_t index = static_cast<uint64_t>(port) * kRecordLength + k;
    if (port < 0 || index >= records.count) return kMissingEntry;
    return records.at(static_cast<size_t>(index), kMissingEntry);
}

// Integer copy of every record, inputs first, as the block's user data.
// Replaces (and releases) the table of an earlier sizes query on the same
// record. Null when the table cannot be had.
int32_t* attachTable(SimStruct* S, int32_t numIn, const ParamView& inRecords, int32_t numOut,
                     const ParamView& outRecords) {
    const size_t ports = static_cast<size_t>(numIn) + static_cast<size_t>(numOut);
    if (ports > SIZE_MAX / (kRecordLength * sizeof(int32_t))) return nullptr;
    int32_t* table = static_cast<int32_t*>(glueAllocBlockData(S, ports * kRecordLength * sizeof(int32_t)));
    if (!table) return nullptr;
    const size_t inEntries = static_cast<size_t>(numIn) * kRecordLength;
    const size_t outEntries = static_cast<size_t>(numOut) * kRecordLength;
    for (size_t n = 0; n < inEntries; ++n) table[n] = truncToInt32(inRecords.at(n, kMissingEntry));
    for (size_t n = 0; n < outEntries; ++n) table[inEntries + n] = truncToInt32(outRecords.at(n, kMissingEntry));
    glueFreeBlockData(S, ssGetUserData(S));
    ssSetUserData(S, table);
    return table;
}

// Width of an array port. Any size that is not fixed makes the whole shape
// not fixed, in the table too, since the host reads its sizes from there. A
// product beyond 32 bits is not a width the host could hold: not fixed.
int32_t arrayWidth(int32_t* sizes, int32_t numDims) {
    for (int32_t k = 0; k < numDims; ++k) {
        if (sizes[k] != DYNAMICALLY_SIZED) continue;
        for (int32_t m = 0; m < numDims; ++m) sizes[m] = DYNAMICALLY_SIZED;
        return DYNAMICALLY_SIZED;
    }
    int64_t width = 1;
    for (int32_t k = 0; k < numDims; ++k) {
        width *= sizes[k];
        if (width > INT32_MAX || width < INT32_MIN) return DYNAMICALLY_SIZED;
    }
    return static_cast<int32_t>(width);
}

// The shape of one listed port from its record. False when the host refused
// a shape: mdlInitializeSizes stops there.
bool declareShape(SimStruct* S, const Side& side, int32_t port, double count, int32_t* record) {
    const RecordShape shape = shapeOf(count);
    switch (shape.kind) {
        case ShapeKind::Dynamic: {
            if (!side.setDims(S, port, &kDynamicDimension)) return false;
            int32_t zero = 0;
            ssGenericRequest(S, side.dynamicRequest, port, &zero);
            side.setWidth(S, port, DYNAMICALLY_SIZED);
            if (side.input) ssSetInputPortRequiredContiguous(S, port, 1);
            return true;
        }
        case ShapeKind::Scalar:
            side.setWidth(S, port, 1);
            if (side.input) ssSetInputPortRequiredContiguous(S, port, 0);
            return true;
        case ShapeKind::Array: {
            int32_t* sizes = record + 1;
            const DimsInfo_T dims = {arrayWidth(sizes, shape.numDims), shape.numDims, sizes, nullptr};
            if (!side.setDims(S, port, &dims)) return false;
            if (side.input) ssSetInputPortRequiredContiguous(S, port, 1);
            return true;
        }
    }
    return true;
}

// The type codes -1 and -7 mean nothing here: such ports stay untyped.
bool declareType(SimStruct* S, const Side& side, int32_t port, int32_t code, const BusNames& names) {
    const TypeCode t = decodeTypeCode(code, false, names.count);
    switch (t.kind) {
        case CodeKind::Builtin:
            if (side.input) {
                ssSetInputPortDataType(S, port, t.id);
            } else {
                ssSetOutputPortDataType(S, port, t.id);
            }
            return true;
        case CodeKind::Bus:
            return side.input ? setUpBusInput(S, port, names, t.busIndex)
                              : setUpBusOutput(S, port, names, t.busIndex);
        case CodeKind::Dynamic:
        case CodeKind::None: return true;
    }
    return true;
}

bool declareListedPorts(SimStruct* S, const Side& side, int32_t count, int32_t* table, const BusNames& names) {
    const ParamView codes = viewParam(S, side.codesParam);
    const ParamView records = viewParam(S, side.recordsParam);
    for (int32_t i = 0; i < count; ++i) {
        int32_t* record = table + static_cast<size_t>(i) * kRecordLength;
        if (!declareShape(S, side, i, recordEntry(records, i, 0), record)) return false;
        if (!declareType(S, side, i, codes.intAt(static_cast<size_t>(i)), names)) return false;
        if (side.input) ssSetInputPortDirectFeedThrough(S, i, 1);
    }
    return true;
}

void offerDims(SimStruct* S, const Side& side, int32_t port, const DimsInfo_T* offered) {
    if (!offered) return;
    const ParamView codes = viewParam(S, side.codesParam);
    const ParamView records = viewParam(S, side.recordsParam);
    // A port without a record of its own (the extra boolean port, one never
    // declared) is a scalar: the host's setter decides whether it exists.
    const bool listed = port >= 0 && port < clampCount(codes.count);
    const RecordShape shape = listed ? shapeOf(recordEntry(records, port, 0)) : RecordShape{ShapeKind::Scalar, 0};
    switch (shape.kind) {
        case ShapeKind::Dynamic: side.setDims(S, port, offered); return;
        case ShapeKind::Scalar:
            if (offered->width == 1) side.setDims(S, port, offered);
            return;
        case ShapeKind::Array:
            if (offered->numDims != shape.numDims || !offered->dims) {
                ssSetErrorStatus(S, side.mismatch);
                return;
            }
            for (int32_t k = 0; k < shape.numDims; ++k) {
                const double wanted = recordEntry(records, port, 1 + static_cast<size_t>(k));
                if (wanted == -1.0) continue;
                if (static_cast<double>(offered->dims[k]) != wanted) {
                    ssSetErrorStatus(S, side.mismatch);
                    return;
                }
            }
            side.setDims(S, port, offered);
            return;
    }
}

// False at the first shape the host refuses.
bool defaultSide(SimStruct* S, const Side& side) {
    const int32_t listed = clampCount(viewParam(S, side.codesParam).count);
    const int32_t registered = side.numPorts(S);
    const int32_t count = listed < registered ? listed : registered;
    for (int32_t i = 0; i < count; ++i) {
        if (side.getWidth(S, i) != DYNAMICALLY_SIZED) continue;
        int32_t sizes[2] = {1, 1};
        const DimsInfo_T dims = {1, 2, sizes, nullptr};
        if (!side.setDims(S, i, &dims)) return false;
    }
    return true;
}

}  // namespace

void ndimPortListSizes(SimStruct* S, NdimOptions options) {
    ssSetNumSFcnParams(S, kNumParams);
    if (ssGetSFcnParamsCount(S) != kNumParams) return;
    for (int32_t i = 0; i < kNumParams; ++i) ssSetSFcnParamNotTunable(S, i);
    ssGenericRequest(S, GEN_NDIM_START, 1, nullptr);

    const int32_t numIn = clampCount(viewParam(S, kInputCodes).count);
    const int32_t numOut = clampCount(viewParam(S, kOutputCodes).count);
    const ParamView inRecords = viewParam(S, kInputRecords);
    const ParamView outRecords = viewParam(S, kOutputRecords);
    // Attached before any port count, so that whatever happens next the
    // table is there for mdlTerminate to release.
    int32_t* table = attachTable(S, numIn, inRecords, numOut, outRecords);
    if (!table) return;
    const BusNames names = busNames(S, kBusNames);

    const OptionBits inOptions = optionBits(viewParam(S, kOptionBits));
    if (!ssSetNumInputPorts(S, numIn + inOptions.extraInput)) return;
    if (!declareListedPorts(S, kInputs, numIn, table, names)) return;
    if (inOptions.extraInput) {
        ssSetInputPortWidth(S, numIn, 1);
        ssSetInputPortDataType(S, numIn, SS_BOOLEAN);
        ssSetInputPortDirectFeedThrough(S, numIn, 1);
    }

    const OptionBits outOptions = optionBits(viewParam(S, kOptionBits));
    if (!ssSetNumOutputPorts(S, numOut + outOptions.extraOutput)) return;
    if (!declareListedPorts(S, kOutputs, numOut, table + static_cast<size_t>(numIn) * kRecordLength, names)) return;
    if (outOptions.extraOutput) {
        ssSetOutputPortWidth(S, numOut, 1);
        ssSetOutputPortDataType(S, numOut, SS_BOOLEAN);
    }

    ssSetNumSampleTimes(S, 1);
    ssSetOptions(S, numOut > 0 ? options.withOutputs : options.options);
}

void ndimSetInputPortDimensionInfo(SimStruct* S, int32_t port, const DimsInfo_T* offered) {
    offerDims(S, kInputs, port, offered);
}

void ndimSetOutputPortDimensionInfo(SimStruct* S, int32_t port, const DimsInfo_T* offered) {
    offerDims(S, kOutputs, port, offered);
}

void ndimSetDefaultPortDimensionInfo(SimStruct* S) {
    if (!defaultSide(S, kInputs)) return;
    defaultSide(S, kOutputs);
}

void ndimTerminate(SimStruct* S) {
    glueFreeBlockData(S, ssGetUserData(S));
    ssSetUserData(S, nullptr);
}

}  // namespace engine
