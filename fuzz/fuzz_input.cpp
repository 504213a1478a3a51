#include "fuzz/fuzz_input.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>

namespace zevk::fuzz {

using host::ArrayPtr;

namespace {

// --- bytes ------------------------------------------------------------------

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint16_t u16() { return static_cast<uint16_t>(byte() | (byte() << 8)); }
    uint32_t u32() { return u16() | (static_cast<uint32_t>(u16()) << 16); }
    uint64_t u64() { return u32() | (static_cast<uint64_t>(u32()) << 32); }
    std::string text(size_t max) {
        const size_t n = (max > 255 ? u16() : byte()) % (max + 1);
        std::string s;
        for (size_t i = 0; i < n; ++i) s.push_back(static_cast<char>(byte()));
        return s;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

class Writer {
public:
    void byte(uint8_t b) { out.push_back(b); }
    void u16(uint16_t v) {
        byte(static_cast<uint8_t>(v));
        byte(static_cast<uint8_t>(v >> 8));
    }
    void u32(uint32_t v) {
        u16(static_cast<uint16_t>(v));
        u16(static_cast<uint16_t>(v >> 16));
    }
    void u64(uint64_t v) {
        u32(static_cast<uint32_t>(v));
        u32(static_cast<uint32_t>(v >> 32));
    }
    void text(const std::string& s, size_t max) {
        const size_t n = std::min(s.size(), max);
        if (max > 255) {
            u16(static_cast<uint16_t>(n));
        } else {
            byte(static_cast<uint8_t>(n));
        }
        for (size_t i = 0; i < n; ++i) byte(static_cast<uint8_t>(s[i]));
    }
    std::vector<uint8_t> out;
};

// --- numbers ----------------------------------------------------------------
//
// A real: one byte, 0..199 the integers -40..159, 215..255 the integers
// 230..270 (port and list limits), 200..214 the awkward values below.

const double kSpecialReals[] = {
    0.0 /* 200: 8 raw bytes follow */,
    NAN,
    INFINITY,
    -INFINITY,
    -0.0,
    0.0 /* 205: a 32-bit integer follows */,
    0.0 /* 206: a 16-bit fixed-point fraction follows */,
    1e300,
    -1e300,
    2147483648.0,
    -2147483649.0,
    4294967296.0,
    8480229.0,
    1e-300,
    DBL_MAX,
};

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

double readReal(Reader& in) {
    const uint8_t t = in.byte();
    if (t < 200) return static_cast<double>(t) - 40.0;
    if (t >= 215) return static_cast<double>(t) + 15.0;
    switch (t) {
        case 200: {
            const uint64_t bits = in.u64();
            double v;
            std::memcpy(&v, &bits, sizeof v);
            return v;
        }
        case 205: return static_cast<double>(static_cast<int32_t>(in.u32()));
        case 206: return static_cast<double>(static_cast<int16_t>(in.u16())) / 16.0;
        default: return kSpecialReals[t - 200];
    }
}

void writeReal(Writer& out, double v) {
    if (v == std::trunc(v) && !(v == 0 && std::signbit(v))) {
        if (v >= -40 && v <= 159) return out.byte(static_cast<uint8_t>(v + 40));
        if (v >= 230 && v <= 270) return out.byte(static_cast<uint8_t>(v - 15));
    }
    for (uint8_t t = 201; t <= 214; ++t) {
        if (t == 205 || t == 206) continue;
        const double s = kSpecialReals[t - 200];
        if (sameBits(v, s) || (std::isnan(v) && std::isnan(s))) return out.byte(t);
    }
    if (v == std::trunc(v) && v >= INT32_MIN && v <= INT32_MAX && !(v == 0 && std::signbit(v))) {
        out.byte(205);
        return out.u32(static_cast<uint32_t>(static_cast<int32_t>(v)));
    }
    const double scaled = v * 16.0;
    if (scaled == std::trunc(scaled) && scaled >= INT16_MIN && scaled <= INT16_MAX) {
        out.byte(206);
        return out.u16(static_cast<uint16_t>(static_cast<int16_t>(scaled)));
    }
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    out.byte(200);
    out.u64(bits);
}

// An integer argument (port, value, width, count, size): one byte, the
// integers -20..235 except 180..189, whose bytes spell the values below.
const int32_t kSpecialInts[] = {0 /* 200: 4 raw bytes follow */, INT32_MIN, INT32_MAX, 255, 256, 65535,
                                65536, 1 << 20, -(1 << 20), 1 << 30};

int32_t readInt(Reader& in) {
    const uint8_t t = in.byte();
    if (t == 200) return static_cast<int32_t>(in.u32());
    if (t > 200 && t < 210) return kSpecialInts[t - 200];
    return static_cast<int32_t>(t) - 20;
}

void writeInt(Writer& out, int32_t v) {
    for (uint8_t t = 201; t < 210; ++t) {
        if (kSpecialInts[t - 200] == v) return out.byte(t);
    }
    if (v >= -20 && v <= 235 && !(v >= 180 && v <= 189)) return out.byte(static_cast<uint8_t>(v + 20));
    out.byte(200);
    out.u32(static_cast<uint32_t>(v));
}

// --- arrays -------------------------------------------------------------------
//
// Kind byte: low 4 bits the class, bit 4 complex, bit 5 sparse, bits 6-7 the
// shape (row, column, matrix, three dimensions). Then the sizes and the
// elements: reals for numeric, logical and char arrays, a presence byte and
// an array for each cell.

const mxClassID kClasses[16] = {mxDOUBLE_CLASS, mxSINGLE_CLASS, mxINT8_CLASS,   mxUINT8_CLASS,
                                mxINT16_CLASS,  mxUINT16_CLASS, mxINT32_CLASS,  mxUINT32_CLASS,
                                mxINT64_CLASS,  mxUINT64_CLASS, mxLOGICAL_CLASS, mxCHAR_CLASS,
                                mxCELL_CLASS,   mxSTRUCT_CLASS, mxDOUBLE_CLASS, mxCHAR_CLASS};

int classIndex(mxClassID id) {
    for (int i = 0; i < 14; ++i) {
        if (kClasses[i] == id) return i;
    }
    return 0;
}

ArrayPtr readArray(Reader& in, int depth);

std::vector<size_t> readShape(Reader& in, int shape, size_t maxElements) {
    switch (shape) {
        case 0: {
            const size_t n = in.u16() % (maxElements + 1);
            return {n ? 1u : 0u, n};
        }
        case 1: {
            const size_t n = in.u16() % (maxElements + 1);
            return {n, n ? 1u : 0u};
        }
        case 2: {
            const size_t r = in.byte();
            const size_t c = in.u16() % (maxElements + 1);
            return {r, r ? std::min(c, maxElements / r) : c};
        }
        default: {
            const size_t a = in.byte() % 8, b = in.byte() % 8;
            const size_t cap = a != 0 && b != 0 ? maxElements / (a * b) : maxElements;
            return {a, b, std::min<size_t>(in.byte(), cap)};
        }
    }
}

ArrayPtr readArray(Reader& in, int depth) {
    const uint8_t kind = in.byte();
    mxClassID id = kClasses[kind & 15];
    if (depth >= kMaxCellDepth && id == mxCELL_CLASS) id = mxDOUBLE_CLASS;
    const bool complex = (kind & 16) != 0;
    const size_t maxElements = id == mxCELL_CLASS ? kMaxCellElements : kMaxElements;
    ArrayPtr a = host::makeArray(id, readShape(in, kind >> 6, maxElements), complex);
    a->sparse = (kind & 32) != 0;
    const size_t n = host::numel(a.get());
    if (id == mxCELL_CLASS) {
        for (size_t i = 0; i < n; ++i) {
            if (in.byte() & 1) host::setCell(a.get(), i, readArray(in, depth + 1));
        }
    } else if (id != mxSTRUCT_CLASS) {
        for (size_t i = 0; i < n; ++i) {
            const double re = readReal(in);
            const double im = a->complex ? readReal(in) : 0.0;
            host::setElement(a.get(), i, re, im);
        }
    }
    return a;
}

void writeArray(Writer& out, const mxArray* a) {
    if (!a) {
        out.byte(0);
        out.u16(0);
        return;
    }
    const auto& d = a->dims;
    int shape = 2;
    if (d.size() > 2) {
        shape = 3;
    } else if (d[0] <= 1 && (d[0] == 1 || d[1] == 0)) {
        shape = 0;
    } else if (d[1] == 1) {
        shape = 1;
    }
    out.byte(static_cast<uint8_t>(classIndex(a->classId) | (a->complex ? 16 : 0) | (a->sparse ? 32 : 0) |
                                  (shape << 6)));
    switch (shape) {
        case 0: out.u16(static_cast<uint16_t>(d[1])); break;
        case 1: out.u16(static_cast<uint16_t>(d[0])); break;
        case 2:
            out.byte(static_cast<uint8_t>(d[0]));
            out.u16(static_cast<uint16_t>(d[1]));
            break;
        default: {
            size_t rest = 1;
            for (size_t i = 2; i < d.size(); ++i) rest *= d[i];
            out.byte(static_cast<uint8_t>(d[0]));
            out.byte(static_cast<uint8_t>(d[1]));
            out.byte(static_cast<uint8_t>(rest));
        }
    }
    const size_t n = host::numel(a);
    if (a->classId == mxCELL_CLASS) {
        for (size_t i = 0; i < n; ++i) {
            out.byte(a->cells[i] ? 1 : 0);
            if (a->cells[i]) writeArray(out, a->cells[i]);
        }
    } else if (a->classId != mxSTRUCT_CLASS) {
        for (size_t i = 0; i < n; ++i) {
            writeReal(out, host::getElement(a, i));
            if (a->complex) writeReal(out, host::getElement(a, i, true));
        }
    }
}

// --- calls --------------------------------------------------------------------

double readFlag(Reader& in) {
    const uint8_t f = in.byte();
    if (f < kFlags.size()) return kFlags[f];
    return readReal(in);
}

void writeFlag(Writer& out, double flag) {
    for (size_t i = 0; i < kFlags.size(); ++i) {
        if (sameBits(flag, static_cast<double>(kFlags[i]))) return out.byte(static_cast<uint8_t>(i));
    }
    out.byte(255);
    writeReal(out, flag);
}

OfferedDims readDims(Reader& in) {
    OfferedDims d;
    const uint8_t t = in.byte();
    if (t == 0) return d;
    d.present = true;
    if (t == 1) {
        d.width = DYNAMICALLY_SIZED;
        d.numDims = -1;
        d.sizesNull = true;
        return d;
    }
    d.width = readInt(in);
    d.numDims = readInt(in);
    d.sizesNull = (t & 1) != 0 || d.numDims > kMaxOfferedSizes;
    if (!d.sizesNull) {
        const int32_t n = d.numDims > 0 ? d.numDims : 0;
        for (int32_t k = 0; k < n; ++k) d.sizes.push_back(readInt(in));
    }
    return d;
}

void writeDims(Writer& out, const OfferedDims& d) {
    if (!d.present) return out.byte(0);
    out.byte(d.sizesNull ? 3 : 2);
    writeInt(out, d.width);
    writeInt(out, d.numDims);
    if (!d.sizesNull) {
        for (int32_t k = 0; k < d.numDims; ++k) writeInt(out, k < static_cast<int32_t>(d.sizes.size()) ? d.sizes[k] : 1);
    }
}

const mxClassID kPointerClasses[8] = {mxDOUBLE_CLASS, mxDOUBLE_CLASS, mxDOUBLE_CLASS, mxINT32_CLASS,
                                      mxUINT32_CLASS, mxSINGLE_CLASS, mxCHAR_CLASS,   mxLOGICAL_CLASS};

ForgedPointer readForged(Reader& in) {
    ForgedPointer p;
    const uint8_t form = in.byte();
    p.base = static_cast<ForgedPointer::Base>(form % 3);
    switch (p.base) {
        case ForgedPointer::Base::Absolute:
            p.low = readInt(in);
            p.high = readInt(in);
            break;
        case ForgedPointer::Base::Record: p.offset = kRecordOffsets[in.byte() % kRecordOffsets.size()]; break;
        case ForgedPointer::Base::Junk: p.offset = in.u16(); break;
    }
    p.exactVersion = (form & 4) == 0;
    if (!p.exactVersion) p.version = readReal(in);
    if (form & 8) {
        const uint8_t shape = in.byte();
        p.rows = shape % 5;
        p.cols = (shape >> 3) % 3;
        p.classId = kPointerClasses[(shape >> 5) & 7];
    }
    return p;
}

void writeForged(Writer& out, const ForgedPointer& p) {
    const bool shaped = p.rows != 3 || p.cols != 1 || p.classId != mxDOUBLE_CLASS;
    out.byte(static_cast<uint8_t>(static_cast<int>(p.base) | (p.exactVersion ? 0 : 4) | (shaped ? 8 : 0)));
    switch (p.base) {
        case ForgedPointer::Base::Absolute:
            writeInt(out, p.low);
            writeInt(out, p.high);
            break;
        case ForgedPointer::Base::Record: {
            uint8_t k = 0;
            for (size_t i = 0; i < kRecordOffsets.size(); ++i) {
                if (kRecordOffsets[i] == p.offset) k = static_cast<uint8_t>(i);
            }
            out.byte(k);
            break;
        }
        case ForgedPointer::Base::Junk: out.u16(static_cast<uint16_t>(p.offset)); break;
    }
    if (!p.exactVersion) writeReal(out, p.version);
    if (shaped) {
        int c = 0;
        for (int i = 0; i < 8; ++i) {
            if (kPointerClasses[i] == p.classId) {
                c = i;
                break;
            }
        }
        out.byte(static_cast<uint8_t>(p.rows % 5 | (p.cols % 3) << 3 | c << 5));
    }
}

RhsItem readRhs(Reader& in) {
    RhsItem r;
    const uint8_t sel = in.byte();
    switch (sel % 4) {
        case 0: r.kind = RhsItem::Kind::RecordPointer; break;
        case 1:
            r.kind = RhsItem::Kind::Forged;
            r.forged = readForged(in);
            break;
        case 2:
            r.kind = RhsItem::Kind::Param;
            r.param = sel >> 2;
            break;
        default:
            r.kind = RhsItem::Kind::Array;
            r.array = readArray(in, 0);
            break;
    }
    return r;
}

void writeRhs(Writer& out, const RhsItem& r) {
    switch (r.kind) {
        case RhsItem::Kind::RecordPointer: out.byte(0); break;
        case RhsItem::Kind::Forged:
            out.byte(1);
            writeForged(out, r.forged);
            break;
        case RhsItem::Kind::Param: out.byte(static_cast<uint8_t>(2 | (r.param % 64) << 2)); break;
        case RhsItem::Kind::Array:
            out.byte(3);
            writeArray(out, r.array.get());
            break;
    }
}

// Method payload: a mask byte says which of port, value, dims and times
// follow; the others stay 0 or absent.
void readMethodArgs(Reader& in, Call& c) {
    c.flag = readFlag(in);
    const uint8_t mask = in.byte();
    if (mask & 1) c.port = readInt(in);
    if (mask & 2) c.value = readInt(in);
    if (mask & 4) c.dims = readDims(in);
    if (mask & 8) {
        c.sampleTime = readReal(in);
        c.offsetTime = readReal(in);
    }
}

void writeMethodArgs(Writer& out, const Call& c) {
    writeFlag(out, c.flag);
    const bool times = c.sampleTime != 0 || c.offsetTime != 0 || std::signbit(c.sampleTime) ||
                       std::signbit(c.offsetTime);
    out.byte(static_cast<uint8_t>((c.port ? 1 : 0) | (c.value ? 2 : 0) | (c.dims.present ? 4 : 0) |
                                  (times ? 8 : 0)));
    if (c.port) writeInt(out, c.port);
    if (c.value) writeInt(out, c.value);
    if (c.dims.present) writeDims(out, c.dims);
    if (times) {
        writeReal(out, c.sampleTime);
        writeReal(out, c.offsetTime);
    }
}

// Call byte, low 3 bits: 0 host sizes query, 1-3 method call, 4 command-line
// sizes query, 5 raw call, 6 method call on something that is no record,
// 7 terminate.
Call readCall(Reader& in) {
    Call c;
    const uint8_t op = in.byte();
    switch (op & 7) {
        case 0: c.kind = Call::Kind::Sizes; break;
        case 1:
        case 2:
        case 3:
            c.kind = Call::Kind::Method;
            readMethodArgs(in, c);
            break;
        case 4: {
            c.kind = Call::Kind::CommandLine;
            c.nlhs = static_cast<int>((op >> 3) % 4) - 1;
            const size_t n = in.byte() % (kMaxParams + 2);
            for (size_t i = 0; i < n; ++i) {
                RhsItem r;
                const uint8_t sel = in.byte();
                if (sel & 1) {
                    r.kind = RhsItem::Kind::Array;
                    r.array = readArray(in, 0);
                } else {
                    r.kind = RhsItem::Kind::Param;
                    r.param = sel >> 1;
                }
                c.rhs.push_back(std::move(r));
            }
            break;
        }
        case 5: {
            c.kind = Call::Kind::Mex;
            c.nlhs = static_cast<int>((op >> 3) % 5) - 2;
            const size_t n = in.byte() % (kMaxRhs + 1);
            for (size_t i = 0; i < n; ++i) c.rhs.push_back(readRhs(in));
            break;
        }
        case 6: {
            c.kind = Call::Kind::ForeignRecord;
            c.target = static_cast<Call::Target>((op >> 3) % 5);
            if (c.target == Call::Target::RecordOffset) {
                c.targetOffset = kRecordOffsets[in.byte() % kRecordOffsets.size()];
            } else if (c.target == Call::Target::Junk) {
                c.targetOffset = in.u16();
            } else if (c.target == Call::Target::Absolute) {
                c.targetLow = readInt(in);
                c.targetHigh = readInt(in);
            }
            readMethodArgs(in, c);
            break;
        }
        default: c.kind = Call::Kind::Terminate; break;
    }
    return c;
}

void writeCall(Writer& out, const Call& c) {
    switch (c.kind) {
        case Call::Kind::Sizes: out.byte(0); break;
        case Call::Kind::Method:
            out.byte(1);
            writeMethodArgs(out, c);
            break;
        case Call::Kind::CommandLine:
            out.byte(static_cast<uint8_t>(4 | ((c.nlhs + 1) % 4) << 3));
            out.byte(static_cast<uint8_t>(c.rhs.size()));
            for (const auto& r : c.rhs) {
                if (r.kind == RhsItem::Kind::Array) {
                    out.byte(1);
                    writeArray(out, r.array.get());
                } else {
                    out.byte(static_cast<uint8_t>((r.param % 128) << 1));
                }
            }
            break;
        case Call::Kind::Mex:
            out.byte(static_cast<uint8_t>(5 | ((c.nlhs + 2) % 5) << 3));
            out.byte(static_cast<uint8_t>(c.rhs.size()));
            for (const auto& r : c.rhs) writeRhs(out, r);
            break;
        case Call::Kind::ForeignRecord:
            out.byte(static_cast<uint8_t>(6 | static_cast<int>(c.target) << 3));
            if (c.target == Call::Target::RecordOffset) {
                uint8_t k = 0;
                for (size_t i = 0; i < kRecordOffsets.size(); ++i) {
                    if (kRecordOffsets[i] == c.targetOffset) k = static_cast<uint8_t>(i);
                }
                out.byte(k);
            } else if (c.target == Call::Target::Junk) {
                out.u16(static_cast<uint16_t>(c.targetOffset));
            } else if (c.target == Call::Target::Absolute) {
                writeInt(out, c.targetLow);
                writeInt(out, c.targetHigh);
            }
            writeMethodArgs(out, c);
            break;
        case Call::Kind::Terminate: out.byte(7); break;
    }
}

// Host byte 1, one bit each away from the full default host: other model
// name, no block link, no generic function, no work-vector registration, no
// dimension setter, sizes call only, refused inputs, refused outputs.
// Host byte 2: a work-vector limit, a failing dimension setter, and in bits
// 2-3 the number of bus types the host knows.
void readOptions(Reader& in, host::HostOptions& o) {
    const uint8_t a = in.byte();
    const uint8_t b = in.byte();
    o.blockLink = !(a & 2);
    o.genericFunction = !(a & 4);
    o.dworkRegistration = !(a & 8);
    o.dimensionSetter = !(a & 16);
    o.sizesCallOnly = (a & 32) != 0;
    o.refuseInputPorts = (a & 64) != 0;
    o.refuseOutputPorts = (a & 128) != 0;
    o.dimensionSetterFails = (b & 2) != 0;
    if (a & 1) o.modelName = in.text(kMaxModelName);
    if (b & 1) o.maxDWork = readInt(in);
    const size_t buses = (b >> 2) & 3;
    for (size_t i = 0; i < buses; ++i) {
        std::string name = in.text(kMaxBusName);
        o.busTypes[name] = readInt(in);
    }
}

void writeOptions(Writer& out, const host::HostOptions& o) {
    out.byte(static_cast<uint8_t>((o.modelName ? 1 : 0) | (o.blockLink ? 0 : 2) | (o.genericFunction ? 0 : 4) |
                                  (o.dworkRegistration ? 0 : 8) | (o.dimensionSetter ? 0 : 16) |
                                  (o.sizesCallOnly ? 32 : 0) | (o.refuseInputPorts ? 64 : 0) |
                                  (o.refuseOutputPorts ? 128 : 0)));
    const size_t buses = std::min(o.busTypes.size(), kMaxBusTypes);
    out.byte(static_cast<uint8_t>((o.maxDWork ? 1 : 0) | (o.dimensionSetterFails ? 2 : 0) | buses << 2));
    if (o.modelName) out.text(*o.modelName, kMaxModelName);
    if (o.maxDWork) writeInt(out, *o.maxDWork);
    size_t i = 0;
    for (const auto& [name, id] : o.busTypes) {
        if (i++ == buses) break;
        out.text(name, kMaxBusName);
        writeInt(out, id);
    }
}

}  // namespace

// Layout: block byte, host bytes, junk, parameter count and parameters,
// call count and calls.
Session decode(const uint8_t* data, size_t size) {
    Reader in(data, size);
    Session s;
    s.block = in.byte() % kBlocks.size();
    readOptions(in, s.options);
    const size_t junk = in.byte();
    for (size_t i = 0; i < junk; ++i) s.junk.push_back(in.byte());
    const size_t params = in.byte() % (kMaxParams + 1);
    for (size_t i = 0; i < params; ++i) s.params.push_back(readArray(in, 0));
    const size_t calls = in.byte() % (kMaxCalls + 1);
    for (size_t i = 0; i < calls; ++i) s.calls.push_back(readCall(in));
    return s;
}

std::vector<uint8_t> encode(const Session& s) {
    Writer out;
    out.byte(static_cast<uint8_t>(s.block));
    writeOptions(out, s.options);
    out.byte(static_cast<uint8_t>(std::min<size_t>(s.junk.size(), 255)));
    for (size_t i = 0; i < s.junk.size() && i < 255; ++i) out.byte(s.junk[i]);
    out.byte(static_cast<uint8_t>(std::min(s.params.size(), kMaxParams)));
    for (size_t i = 0; i < s.params.size() && i < kMaxParams; ++i) writeArray(out, s.params[i].get());
    out.byte(static_cast<uint8_t>(std::min(s.calls.size(), kMaxCalls)));
    for (size_t i = 0; i < s.calls.size() && i < kMaxCalls; ++i) writeCall(out, s.calls[i]);
    return out.out;
}

std::vector<uint64_t> junkBuffer(const std::vector<uint8_t>& junk) {
    std::vector<uint64_t> words(sizeof(SimStruct) / sizeof(uint64_t) + 8, 0);
    if (!junk.empty()) {
        auto* bytes = reinterpret_cast<unsigned char*>(words.data());
        for (size_t i = 0; i < words.size() * sizeof(uint64_t); ++i) bytes[i] = junk[i % junk.size()];
    }
    for (auto& w : words) {
        if (w == kRecordTag) w = 0;
    }
    return words;
}

}  // namespace zevk::fuzz
