// libFuzzer target: every deliverable driven through the host of our own, as
// a model compile, a script or a command-line caller could drive it. Beside
// what AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer catch,
// each call is checked against the host's accounting and the lifetimes the
// host relies on.
#include <dlfcn.h>
#include <sanitizer/asan_interface.h>

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "glue/numeric.h"
#include "host/host.h"

using namespace zevk;
using namespace zevk::fuzz;
using host::ArrayPtr;
using host::CallResult;
using host::Deliverable;
using host::Record;

namespace {

std::vector<std::unique_ptr<Deliverable>>& loaded() {
    static std::vector<std::unique_ptr<Deliverable>> blocks;
    return blocks;
}

std::filesystem::path mexDirectory() {
    if (const char* dir = std::getenv("ZEVK_MEX_DIR")) return dir;
#ifdef ZEVK_FUZZ_MEX_DIR
    return ZEVK_FUZZ_MEX_DIR;
#else
    return Deliverable::defaultDirectory();
#endif
}

const char* kindName(Call::Kind k) {
    switch (k) {
        case Call::Kind::Sizes: return "sizes query";
        case Call::Kind::Method: return "method call";
        case Call::Kind::CommandLine: return "command-line sizes query";
        case Call::Kind::Mex: return "raw call";
        case Call::Kind::ForeignRecord: return "method call on no record";
        case Call::Kind::Terminate: return "terminate";
    }
    return "?";
}

[[noreturn]] void fail(const Deliverable& d, size_t index, const Call& c, const char* what) {
    std::fprintf(stderr, "==zevk-fuzz== %s, call %zu (%s, flag %g): %s\n", d.name().c_str(), index,
                 kindName(c.kind), c.flag, what);
    std::abort();
}

// The error status must be one of the deliverable's own constant texts.
bool inDeliverable(const Deliverable& d, const void* p) {
    Dl_info self{}, owner{};
    if (!dladdr(reinterpret_cast<void*>(d.entry()), &self) || !dladdr(p, &owner)) return false;
    return self.dli_fbase == owner.dli_fbase;
}

// `record` is the host's record of the call, null for calls on none; `live`
// says the record was sized and not terminated since, so that what the block
// keeps for the host must still be there.
void checkCall(const Deliverable& d, size_t index, const Call& c, const CallResult& r, Record* record,
               bool live) {
    if (r.foreignFrees != 0) fail(d, index, c, "mxFree of memory the call never handed out");
    // Soft problems are the only printed lines, and each says so.
    for (size_t at = 0; at < r.printed.size();) {
        const size_t end = r.printed.find('\n', at);
        if (r.printed.compare(at, 7, "Error: ") != 0) fail(d, index, c, "printed line without \"Error: \"");
        if (end == std::string::npos) fail(d, index, c, "printed line without its newline");
        at = end + 1;
    }
    if (auto sizes = r.sizes()) {
        if (sizes->size() != static_cast<size_t>(kNumSizes)) fail(d, index, c, "sizes vector of the wrong length");
        if ((*sizes)[SZ_RECORD_VERSION] != kRecordVersion) fail(d, index, c, "sizes vector without the version");
        if (!(static_cast<uint32_t>((*sizes)[SZ_OPTIONS]) & SS_OPTION_GLUE_BIT))
            fail(d, index, c, "sizes vector without option bit 0x2000");
    }
    if (!record) return;
    const SimStruct* S = record->raw();
    if (S->errorStatus) {
        if (!inDeliverable(d, S->errorStatus)) fail(d, index, c, "error status is not a constant text");
        if (std::strlen(S->errorStatus) == 0) fail(d, index, c, "empty error status");
    }
    if (!live) return;
    // What the host may read until terminate: work-vector names, user data.
    if (S->dwork) {
        for (int32_t i = 0; i < S->sizes[SZ_NUM_DWORK]; ++i) {
            const char* name = S->dwork[i].name;
            if (!name) continue;
            if (__asan_region_is_poisoned(const_cast<char*>(name), 1)) fail(d, index, c, "work-vector name freed");
            volatile size_t length = std::strlen(name);  // the whole text must be readable
            (void)length;
        }
    }
    if (S->userData && __asan_region_is_poisoned(S->userData, 1)) fail(d, index, c, "user data freed");
}

// The flag a method call reads from its fourth right-hand argument.
int32_t flagOf(const mxArray* a) {
    if (a->sparse || !(host::isNumericClass(a->classId) || a->classId == mxCHAR_CLASS ||
                       a->classId == mxLOGICAL_CLASS) || host::numel(a) == 0) {
        return -1;
    }
    return truncToInt32(host::getElement(a, 0));
}

// The record-pointer argument a caller forged.
ArrayPtr forgedArgument(const ForgedPointer& p, Record& record, std::vector<uint64_t>& junk) {
    uint64_t address = 0;
    switch (p.base) {
        case ForgedPointer::Base::Absolute:
            address = (static_cast<uint64_t>(static_cast<uint32_t>(p.high)) << 32) | static_cast<uint32_t>(p.low);
            break;
        case ForgedPointer::Base::Record:
            address = reinterpret_cast<uintptr_t>(record.raw()) + static_cast<uint64_t>(p.offset);
            break;
        case ForgedPointer::Base::Junk: {
            const size_t bytes = junk.size() * sizeof(uint64_t);
            address = reinterpret_cast<uintptr_t>(junk.data()) + static_cast<uint64_t>(p.offset) % bytes;
            break;
        }
    }
    const double values[3] = {static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(address))),
                              static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(address >> 32))),
                              p.exactVersion ? static_cast<double>(kRecordVersion) : p.version};
    ArrayPtr a = host::makeArray(p.classId, {p.rows, p.cols});
    for (size_t i = 0; i < host::numel(a.get()); ++i) host::setElement(a.get(), i, values[i % 3]);
    return a;
}

void runSession(Session& s) {
    const Deliverable& d = *loaded()[s.block];
    std::vector<uint64_t> junk = junkBuffer(s.junk);
    auto record = std::make_unique<Record>(d, std::move(s.params), s.options);
    const auto& params = record->params();
    auto param = [&](size_t k) -> const mxArray* { return params.empty() ? nullptr : params[k % params.size()].get(); };

    bool live = false;
    for (size_t index = 0; index < s.calls.size(); ++index) {
        Call& c = s.calls[index];
        std::vector<ArrayPtr> owned;
        switch (c.kind) {
            case Call::Kind::Sizes: {
                CallResult r = record->sizesQuery();
                live = live || r.sizes().has_value();
                checkCall(d, index, c, r, record.get(), live);
                break;
            }
            case Call::Kind::Terminate:
                live = false;
                checkCall(d, index, c, record->method(107), record.get(), live);
                break;
            case Call::Kind::Method: {
                DimsInfo_T dims{c.dims.width, c.dims.numDims, nullptr, nullptr};
                int32_t none = 1;  // a non-null pointer for a claim of no sizes
                if (!c.dims.sizesNull) dims.dims = c.dims.sizes.empty() ? &none : c.dims.sizes.data();
                CallResult r = record->method(c.flag, c.port, c.value, c.dims.present ? &dims : nullptr,
                                              c.sampleTime, c.offsetTime);
                if (truncToInt32(c.flag) == 107) live = false;
                checkCall(d, index, c, r, record.get(), live);
                break;
            }
            case Call::Kind::CommandLine: {
                std::vector<const mxArray*> args;
                for (auto& item : c.rhs) {
                    const mxArray* a = item.kind == RhsItem::Kind::Array ? item.array.get() : param(item.param);
                    if (!a) {
                        owned.push_back(host::makeEmpty());
                        a = owned.back().get();
                    }
                    args.push_back(a);
                }
                checkCall(d, index, c, host::commandLineSizes(d, args, c.nlhs), nullptr, false);
                break;
            }
            case Call::Kind::Mex: {
                std::vector<const mxArray*> args;
                for (auto& item : c.rhs) {
                    const mxArray* a = nullptr;  // null: this record's pointer argument
                    switch (item.kind) {
                        case RhsItem::Kind::RecordPointer: break;
                        case RhsItem::Kind::Forged:
                            owned.push_back(forgedArgument(item.forged, *record, junk));
                            a = owned.back().get();
                            break;
                        case RhsItem::Kind::Param: a = param(item.param); break;
                        case RhsItem::Kind::Array: a = item.array.get(); break;
                    }
                    if (!a && item.kind != RhsItem::Kind::RecordPointer) {
                        owned.push_back(host::makeEmpty());
                        a = owned.back().get();
                    }
                    args.push_back(a);
                }
                CallResult r = record->mex(c.nlhs, args);
                if (c.nlhs >= 0 && args.size() > 1 && !args[1] && r.sizes()) live = true;
                if (c.nlhs < 0 && args.size() > 3 && args[3] && flagOf(args[3]) == 107) live = false;
                checkCall(d, index, c, r, record.get(), live);
                break;
            }
            case Call::Kind::ForeignRecord: {
                void* target = nullptr;
                switch (c.target) {
                    case Call::Target::Null:
                    case Call::Target::NoLeftHandSide: break;
                    case Call::Target::Junk:
                        target = reinterpret_cast<char*>(junk.data()) +
                                 static_cast<size_t>(c.targetOffset) % (junk.size() * sizeof(uint64_t));
                        break;
                    case Call::Target::RecordOffset:
                        target = reinterpret_cast<void*>(reinterpret_cast<uintptr_t>(record->raw()) +
                                                         static_cast<uint64_t>(c.targetOffset));
                        break;
                    case Call::Target::Absolute:
                        target = reinterpret_cast<void*>(
                            (static_cast<uint64_t>(static_cast<uint32_t>(c.targetHigh)) << 32) |
                            static_cast<uint32_t>(c.targetLow));
                        break;
                }
                ArrayPtr empty = host::makeEmpty();
                ArrayPtr flag = host::makeScalar(c.flag);
                const mxArray* rhs[4] = {empty.get(), empty.get(), empty.get(), flag.get()};
                mxArray* lhs[2] = {nullptr, static_cast<mxArray*>(target)};
                const bool noLhs = c.target == Call::Target::NoLeftHandSide;
                checkCall(d, index, c, host::invokeMex(d.entry(), -1, noLhs ? nullptr : lhs, 4, rhs), nullptr, false);
                break;
            }
        }
    }
    // The record goes away here; the host terminates it if it was sized.
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Every deliverable is loaded before fuzzing starts, so that the coverage
    // counters of all of them are known from the first input on.
    const std::filesystem::path dir = mexDirectory();
    std::set<std::string> known;
    for (std::string_view name : kBlocks) {
        std::string error;
        auto d = Deliverable::load(dir, std::string(name), &error);
        if (!d) {
            std::fprintf(stderr, "zevk-fuzz: %s\n", error.c_str());
            std::exit(2);
        }
        known.insert(std::string(name));
        loaded().push_back(std::move(d));
    }
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != Deliverable::suffix()) continue;
        if (!known.count(entry.path().stem().string())) {
            std::fprintf(stderr, "zevk-fuzz: %s is not in the fuzzer's block list\n", entry.path().c_str());
            std::exit(2);
        }
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Session s = decode(data, size);
    runSession(s);
    return 0;
}
