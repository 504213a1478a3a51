// The fuzzer's input: a byte string read as one host session (a block, its
// dialog parameters, the host's options and a list of calls). Reading never
// fails: bytes past the end read as zero, which means "the default" almost
// everywhere, so a short input is a short, ordinary session. Writing is the
// exact inverse, so that sessions taken from the test cases can seed the
// corpus.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "glue/simstruct.h"
#include "host/host.h"
#include "tests/block_names.h"

namespace zevk::fuzz {

// An input picks a deliverable by its index in this list.
inline constexpr const auto& kBlocks = test::kBlockNames;

// Limits that keep one session small and fast.
inline constexpr size_t kMaxParams = 12;
inline constexpr size_t kMaxElements = 300;
inline constexpr size_t kMaxCellElements = 16;
inline constexpr int kMaxCellDepth = 2;
inline constexpr size_t kMaxCalls = 64;
inline constexpr size_t kMaxRhs = 8;
inline constexpr size_t kMaxModelName = 400;
inline constexpr size_t kMaxBusName = 64;
inline constexpr size_t kMaxBusTypes = 3;
// More sizes than this are offered with a null sizes pointer.
inline constexpr int32_t kMaxOfferedSizes = 1024;

// Flags a method call picks by index; any other flag is spelled out.
inline constexpr std::array<int32_t, 38> kFlags = {
    101, 103, 104, 105, 107, 108, 111, 112, 113, 114, 115, 116, 119, 120, 121, 122, 123, 126, 127,
    128, 131, 132, 133, 142, 144, 145, 0,   1,   2,   3,   4,   9,   100, 102, 106, 117, 130, 146};

struct OfferedDims {
    bool present = false;  // false: no DimsInfo_T at all
    int32_t width = 0;
    int32_t numDims = 0;
    bool sizesNull = false;
    std::vector<int32_t> sizes;  // as many as numDims claims (when not null)
};

// A second right-hand argument that claims to be a record pointer.
struct ForgedPointer {
    enum class Base : uint8_t { Absolute, Record, Junk };
    Base base = Base::Absolute;
    int32_t low = 0, high = 0;  // Absolute: the two halves as written
    int64_t offset = 0;         // Record, Junk: added to the base address
    bool exactVersion = true;
    double version = 0;         // used when !exactVersion
    uint8_t rows = 3, cols = 1;
    mxClassID classId = mxDOUBLE_CLASS;
};

struct RhsItem {
    enum class Kind : uint8_t { RecordPointer, Forged, Param, Array };
    Kind kind = Kind::RecordPointer;
    ForgedPointer forged;
    size_t param = 0;
    host::ArrayPtr array;
};

struct Call {
    enum class Kind : uint8_t { Sizes, Method, CommandLine, Mex, ForeignRecord, Terminate };
    Kind kind = Kind::Sizes;
    // Method, ForeignRecord
    double flag = 0;
    int32_t port = 0;
    int32_t value = 0;
    OfferedDims dims;
    double sampleTime = 0, offsetTime = 0;
    // CommandLine, Mex
    int nlhs = 0;
    std::vector<RhsItem> rhs;
    // ForeignRecord: where the record pointer points
    enum class Target : uint8_t { Null, Junk, RecordOffset, Absolute, NoLeftHandSide };
    Target target = Target::Null;
    int64_t targetOffset = 0;
    int32_t targetLow = 0, targetHigh = 0;
};

struct Session {
    size_t block = 0;
    host::HostOptions options;
    std::vector<uint8_t> junk;  // fills a buffer that is no record
    std::vector<host::ArrayPtr> params;
    std::vector<Call> calls;
};

Session decode(const uint8_t* data, size_t size);
std::vector<uint8_t> encode(const Session& s);

// Record-relative offsets a forged pointer may use: misaligned, inside the
// record's head, before it, and far away. Offsets where a caller could have
// planted the tag itself are not among them: no check can tell those apart.
inline constexpr std::array<int64_t, 12> kRecordOffsets = {1,  3,   4,   8, 16, 24, 32, -8,
                                                            -16, -64, int64_t(1) << 40, -(int64_t(1) << 40)};

// The junk buffer never holds the record tag at an aligned place.
std::vector<uint64_t> junkBuffer(const std::vector<uint8_t>& junk);

}  // namespace zevk::fuzz
