#include <cmath>
#include <csetjmp>
#include <cstring>
#include <algorithm>
#include <stdexcept>

#include "glue/numeric.h"

#include "host/call_context.h"
#include "host/host.h"

namespace zevk::host {

using nlohmann::json;

namespace {

// Kept apart so that the frame holding the jump buffer owns nothing that
// a MEX error's jump could skip.
int runGuarded(CallContext* ctx, MexFunction fn, int nlhs, mxArray** plhs, int nrhs, const mxArray** prhs) {
    if (setjmp(ctx->jump) != 0) return 1;
    fn(nlhs, plhs, nrhs, prhs);
    return 0;
}

}  // namespace

json jsonNumber(double v) {
    if (std::isnan(v)) return "NaN";
    if (std::isinf(v)) return v > 0 ? "Inf" : "-Inf";
    if (v == std::trunc(v) && std::fabs(v) < 9.0e15 && !(v == 0 && std::signbit(v))) return static_cast<int64_t>(v);
    return v;
}

namespace {
json number(double v) { return jsonNumber(v); }

template <typename T>
json optional(const std::optional<T>& v) {
    return v ? json(*v) : json(nullptr);
}

// Offered or requested sizes beyond this are refused rather than allocated.
constexpr int kMaxPorts = 1 << 20;
constexpr int kMaxDWork = 1 << 16;
constexpr int kMaxDims = 64;
constexpr int kMaxPriorities = 1 << 16;

}  // namespace

std::optional<std::vector<double>> CallResult::sizes() const {
    if (outputs.empty() || !outputs[0]) return std::nullopt;
    const mxArray* a = outputs[0].get();
    std::vector<double> v(numel(a));
    for (size_t i = 0; i < v.size(); ++i) v[i] = getElement(a, i);
    return v;
}

void invokeMex(CallResult& r, MexFunction fn, int nlhs, mxArray** plhs, int nrhs, const mxArray** prhs) {
    CallContext ctx;
    CallContext* previous = enterCall(&ctx);
    runGuarded(&ctx, fn, nlhs, plhs, nrhs, prhs);
    leaveCall(previous);
    if (ctx.errored) {
        r.mexError = ctx.errorText;
        r.mexErrorId = ctx.errorId;
    } else if (nlhs >= 0 && plhs && plhs[0]) {
        auto it = std::find(ctx.created.begin(), ctx.created.end(), plhs[0]);
        if (it != ctx.created.end()) {
            ctx.created.erase(it);
            r.outputs.emplace_back(plhs[0]);
        }
    }
    r.printed += ctx.printed;
    r.foreignFrees = ctx.foreignFrees;
    r.callocReclaimed = reclaimCall(ctx);
}

CallResult invokeMex(MexFunction fn, int nlhs, mxArray** plhs, int nrhs, const mxArray** prhs, SimStruct*) {
    CallResult r;
    invokeMex(r, fn, nlhs, plhs, nrhs, prhs);
    return r;
}

CallResult commandLineSizes(const Deliverable& block, const std::vector<const mxArray*>& params, int nlhs) {
    auto empty = makeEmpty();
    auto flag = makeScalar(0.0);
    std::vector<const mxArray*> rhs{empty.get(), empty.get(), empty.get(), flag.get()};
    rhs.insert(rhs.end(), params.begin(), params.end());
    std::vector<mxArray*> lhs(static_cast<size_t>(std::max(nlhs, 1)) + 1, nullptr);
    return invokeMex(block.entry(), nlhs, lhs.data(), static_cast<int>(rhs.size()), rhs.data());
}

// The host entries a record offers the deliverable.
struct RecordCallbacks {
    static Record* of(SimStruct* S) { return static_cast<Record*>(S->hostData); }

    static int registerPorts(Record* r, int n, bool input) {
        const bool refuse = input ? r->options_.refuseInputPorts : r->options_.refuseOutputPorts;
        if (refuse || n < 0 || n > kMaxPorts) return 0;
        auto& ports = input ? r->inputs_ : r->outputs_;
        auto& shadow = input ? r->inputShadow_ : r->outputShadow_;
        ports.assign(static_cast<size_t>(n), ssPortRecord{});
        shadow.assign(static_cast<size_t>(n), PortShadow{});
        (input ? r->record_.inputs : r->record_.outputs) = ports.empty() ? nullptr : ports.data();
        r->record_.sizes[input ? SZ_NUM_INPUT_PORTS : SZ_NUM_OUTPUT_PORTS] = n;
        return 1;
    }
    static int registerInputs(void* arg, int n) { return registerPorts(static_cast<Record*>(arg), n, true); }
    static int registerOutputs(void* arg, int n) { return registerPorts(static_cast<Record*>(arg), n, false); }

    static int registerDWork(SimStruct* S, int n) {
        Record* r = of(S);
        if (n < 0) return 0;
        int count = std::min(n, kMaxDWork);
        if (r->options_.maxDWork) count = std::min(count, std::max(0, *r->options_.maxDWork));
        r->dwork_.assign(static_cast<size_t>(count), ssDWorkRecord{});
        r->dworkNames_.assign(static_cast<size_t>(count), std::nullopt);
        r->record_.dwork = r->dwork_.empty() ? nullptr : r->dwork_.data();
        r->record_.sizes[SZ_NUM_DWORK] = count;
        return count == n ? 1 : 0;
    }

    static int setDims(SimStruct* S, int port, const DimsInfo_T* dims, bool input) {
        Record* r = of(S);
        if (r->options_.dimensionSetterFails || !dims) return 0;
        auto& ports = input ? r->inputs_ : r->outputs_;
        auto& shadow = input ? r->inputShadow_ : r->outputShadow_;
        if (port < 0 || static_cast<size_t>(port) >= ports.size()) return 0;
        std::vector<int32_t> sizes;
        if (dims->numDims > 0) {
            if (dims->numDims > kMaxDims || !dims->dims) return 0;
            sizes.assign(dims->dims, dims->dims + dims->numDims);  // the host keeps its own copy
        }
        shadow[static_cast<size_t>(port)].dims = std::move(sizes);
        ports[static_cast<size_t>(port)].width = dims->width;
        ports[static_cast<size_t>(port)].setMask |= PORT_SET_WIDTH;
        return 1;
    }
    static int setInputDims(SimStruct* S, int port, const DimsInfo_T* d) { return setDims(S, port, d, true); }
    static int setOutputDims(SimStruct* S, int port, const DimsInfo_T* d) { return setDims(S, port, d, false); }

    static PortShadow* shadow(Record* r, int port, bool input) {
        auto& s = input ? r->inputShadow_ : r->outputShadow_;
        return port >= 0 && static_cast<size_t>(port) < s.size() ? &s[static_cast<size_t>(port)] : nullptr;
    }

    static int generic(SimStruct* S, int code, int index, void* data) {
        Record* r = of(S);
        json payload = nullptr;
        int handled = 1;
        switch (code) {
            case GEN_REGISTER_TYPE_FROM_NAMED_OBJECT: {
                auto* req = static_cast<ssNamedTypeRequest*>(data);
                if (req && req->name) {
                    payload = req->name;
                    auto it = r->options_.busTypes.find(req->name);
                    if (req->id) *req->id = it != r->options_.busTypes.end() ? it->second : INVALID_DTYPE_ID;
                } else if (req && req->id) {
                    *req->id = INVALID_DTYPE_ID;
                }
                break;
            }
            case GEN_ASYNC_TIMER_RESOLUTION_EL:
                if (auto* req = static_cast<ssAsyncTimerRequest*>(data)) {
                    payload = number(req->resolution);
                    r->async_.resolution[index] = req->resolution;
                }
                break;
            case GEN_ASYNC_TIMER_DATA_TYPE:
                if (auto* req = static_cast<ssAsyncTimerRequest*>(data)) {
                    payload = req->dataType;
                    r->async_.timerDataType = req->dataType;
                }
                break;
            case GEN_ASYNC_TASK_PRIORITIES:
                if (data && index >= 0 && index <= kMaxPriorities) {
                    auto* p = static_cast<const int32_t*>(data);
                    std::vector<int32_t> copy(p, p + index);
                    payload = copy;
                    r->async_.priorities = std::move(copy);
                }
                break;
            case GEN_TIME_SOURCE: r->async_.timeSource = index; break;
            case GEN_BUS_OUTPUT_OBJECT_NAME:
                if (data) {
                    payload = static_cast<const char*>(data);
                    if (auto* s = shadow(r, index, false)) s->busName = static_cast<const char*>(data);
                }
                break;
            case GEN_BUS_OUTPUT_AS_STRUCT:
            case GEN_BUS_INPUT_AS_STRUCT:
                if (data) {
                    bool value = *static_cast<const unsigned char*>(data) != 0;
                    payload = value;
                    if (auto* s = shadow(r, index, code == GEN_BUS_INPUT_AS_STRUCT)) s->busAsStruct = value;
                }
                break;
            case GEN_INPUT_PORT_BUS_MODE:
            case GEN_OUTPUT_PORT_BUS_MODE:
                if (data) {
                    int mode = *static_cast<const int32_t*>(data);
                    payload = mode;
                    if (auto* s = shadow(r, index, code == GEN_INPUT_PORT_BUS_MODE)) s->busMode = mode;
                }
                break;
            case GEN_DYNAMIC_INPUT_DIMENSION:
            case GEN_DYNAMIC_OUTPUT_DIMENSION:
                if (data) payload = *static_cast<const int32_t*>(data);
                break;
            case GEN_NDIM_START:
            case GEN_BEFORE_INITIALIZE_SIZES: break;
            default: handled = 0; break;
        }
        if (r->current_) r->current_->ops.push_back(json::array({"request", code, index, payload}));
        return handled;
    }

    static void trace(SimStruct* S, const char* op, int nargs, const ssTraceArg* args) {
        Record* r = of(S);
        json entry = json::array({op});
        for (int i = 0; i < nargs; ++i) {
            switch (args[i].kind) {
                case TRACE_INT: entry.push_back(args[i].i); break;
                case TRACE_REAL: entry.push_back(number(args[i].d)); break;
                case TRACE_TEXT: entry.push_back(args[i].s ? json(args[i].s) : json(nullptr)); break;
            }
        }
        // Work-vector names are only borrowed: keep a copy of the text now.
        if (std::strcmp(op, "ssSetDWorkName") == 0 && nargs == 2) {
            const int64_t index = args[0].i;
            if (index >= 0 && static_cast<size_t>(index) < r->dworkNames_.size() && args[1].s) {
                r->dworkNames_[static_cast<size_t>(index)] = std::string(args[1].s);
            }
        }
        if (r->current_) r->current_->ops.push_back(std::move(entry));
    }
};

Record::Record(const Deliverable& block, std::vector<ArrayPtr> params, HostOptions options)
    : block_(block), options_(std::move(options)), params_(std::move(params)) {
    modelName_ = options_.modelName.value_or(block_.name());
    for (auto& p : params_) paramPtrs_.push_back(p.get());
    paramAttributes_.assign(params_.size(), 0);

    SimStruct& S = record_;
    S.tag = kRecordTag;
    S.modelName = modelName_.c_str();
    S.path = modelName_.c_str();
    S.root = &record_;
    S.numParamsGiven = static_cast<int32_t>(params_.size());
    S.params = paramPtrs_.empty() ? nullptr : paramPtrs_.data();
    S.paramAttributes = paramAttributes_.empty() ? nullptr : paramAttributes_.data();
    S.regNumInputPortsFcn = RecordCallbacks::registerInputs;
    S.regNumInputPortsFcnArg = this;
    S.regNumOutputPortsFcn = RecordCallbacks::registerOutputs;
    S.regNumOutputPortsFcnArg = this;
    if (options_.dimensionSetter) {
        S.setInputPortDimensionInfoFcn = RecordCallbacks::setInputDims;
        S.setOutputPortDimensionInfoFcn = RecordCallbacks::setOutputDims;
    }
    if (options_.dworkRegistration) S.regNumDWorkFcn = RecordCallbacks::registerDWork;
    S.numSampleTimeSlots = 1;
    S.sampleTimes = sampleTimes_;
    S.offsetTimes = offsetTimes_;
    S.numCallSystemSlots = static_cast<int32_t>(std::size(callSystem_));
    S.callSystemOutputs = callSystem_;
    S.blockLink = options_.blockLink ? &linkToken_ : nullptr;
    info_.simMode = options_.sizesCallOnly ? SS_SIMMODE_SIZES_CALL_ONLY : SS_SIMMODE_NORMAL;
    info_.genericFcn = options_.genericFunction ? RecordCallbacks::generic : nullptr;
    S.mdlInfo = &info_;
    S.trace = RecordCallbacks::trace;
    S.hostData = this;
}

Record::~Record() {
    // A host always terminates the blocks it sized, so whatever a block
    // keeps until then is released even when a caller forgot flag 107.
    if (sized_ && !terminated_ && record_.methods.mdlTerminate) method(107);
    // A pointer argument kept past the record's life must not find a record.
    *static_cast<volatile uint64_t*>(&record_.tag) = 0;
}

ArrayPtr Record::pointerArgument() const {
    const uint64_t address = reinterpret_cast<uintptr_t>(&record_);
    const auto low = static_cast<int32_t>(static_cast<uint32_t>(address & 0xFFFFFFFFu));
    if constexpr (kRecordPointerRows == 3) {
        const auto high = static_cast<int32_t>(static_cast<uint32_t>(address >> 32));
        return makeDouble({static_cast<double>(low), static_cast<double>(high), static_cast<double>(kRecordVersion)},
                          3);
    } else {
        return makeDouble({static_cast<double>(low), static_cast<double>(kRecordVersion)}, 2);
    }
}

CallResult Record::call(int nlhs, mxArray** plhs, const std::vector<const mxArray*>& rhs) {
    CallResult r;
    record_.errorStatus = nullptr;
    current_ = &r;
    invokeMex(r, block_.entry(), nlhs, plhs, static_cast<int>(rhs.size()),
              const_cast<const mxArray**>(rhs.data()));
    current_ = nullptr;
    if (record_.errorStatus) r.errorStatus = std::string(record_.errorStatus);
    return r;
}

CallResult Record::sizesQuery() {
    auto empty = makeEmpty();
    auto pointer = pointerArgument();
    auto flag = makeScalar(0.0);
    mxArray* lhs[2] = {nullptr, nullptr};
    // Sized again after a terminate: what the block keeps now needs another.
    sized_ = true;
    terminated_ = false;
    return call(1, lhs, {empty.get(), pointer.get(), empty.get(), flag.get()});
}

CallResult Record::method(double flag, int32_t port, int32_t value, const DimsInfo_T* dims, double sampleTime,
                          double offsetTime) {
    record_.sizes[SZ_PORT_INDEX_ARG] = port;
    record_.callArgs.value = value;
    record_.callArgs.dims = dims;
    record_.callArgs.sampleTime = sampleTime;
    record_.callArgs.offsetTime = offsetTime;
    auto empty = makeEmpty();
    auto flagArg = makeScalar(flag);
    mxArray* lhs[2] = {nullptr, reinterpret_cast<mxArray*>(&record_)};
    if (truncToInt32(flag) == 107) terminated_ = true;
    return call(-1, lhs, {empty.get(), empty.get(), empty.get(), flagArg.get()});
}

CallResult Record::mex(int nlhs, const std::vector<const mxArray*>& rhs) {
    auto pointer = pointerArgument();
    std::vector<const mxArray*> args;
    for (const mxArray* a : rhs) args.push_back(a ? a : pointer.get());
    std::vector<mxArray*> lhs(static_cast<size_t>(std::max(nlhs, 1)) + 1, nullptr);
    if (nlhs < 0) lhs[1] = reinterpret_cast<mxArray*>(&record_);
    if (nlhs >= 0 && args.size() > 1 && args[1] == pointer.get()) {
        sized_ = true;
        terminated_ = false;
    }
    return call(nlhs, lhs.data(), args);
}

const PortShadow* Record::inputShadow(int port) const {
    return port >= 0 && static_cast<size_t>(port) < inputShadow_.size() ? &inputShadow_[port] : nullptr;
}

const PortShadow* Record::outputShadow(int port) const {
    return port >= 0 && static_cast<size_t>(port) < outputShadow_.size() ? &outputShadow_[port] : nullptr;
}

std::optional<std::string> Record::dworkName(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= dworkNames_.size()) return std::nullopt;
    return dworkNames_[static_cast<size_t>(index)];
}

std::vector<std::string> Record::installedMethods() const {
    const ssMethodEntries& e = record_.methods;
    const bool dims = (static_cast<uint32_t>(record_.sizes[SZ_FLAGS]) & SZ_FLAG_DIMENSION_METHODS) != 0;
    std::vector<std::string> names;
    auto add = [&](bool present, const char* name) {
        if (present) names.emplace_back(name);
    };
    add(e.mdlInitializeSizes, "mdlInitializeSizes");
    add(e.mdlInitializeSampleTimes, "mdlInitializeSampleTimes");
    add(e.mdlOutputs, "mdlOutputs");
    add(e.mdlUpdate, "mdlUpdate");
    add(e.mdlTerminate, "mdlTerminate");
    add(e.mdlRTW, "mdlRTW");
    add(e.mdlGetTimeOfNextVarHit, "mdlGetTimeOfNextVarHit");
    add(e.mdlZeroCrossings, "mdlZeroCrossings");
    add(e.mdlSetInputPortDataType, "mdlSetInputPortDataType");
    add(e.mdlSetOutputPortDataType, "mdlSetOutputPortDataType");
    add(e.mdlSetDefaultPortDataTypes, "mdlSetDefaultPortDataTypes");
    add(e.inputPortShape.width && !dims, "mdlSetInputPortWidth");
    add(e.outputPortShape.width && !dims, "mdlSetOutputPortWidth");
    add(e.inputPortShape.dims && dims, "mdlSetInputPortDimensionInfo");
    add(e.outputPortShape.dims && dims, "mdlSetOutputPortDimensionInfo");
    add(e.mdlSetDefaultPortDimensionInfo, "mdlSetDefaultPortDimensionInfo");
    add(e.mdlSetWorkWidths, "mdlSetWorkWidths");
    add(e.mdlCheckParameters, "mdlCheckParameters");
    add(e.mdlSetInputPortComplexSignal, "mdlSetInputPortComplexSignal");
    add(e.mdlSetOutputPortComplexSignal, "mdlSetOutputPortComplexSignal");
    add(e.mdlSetInputPortSampleTime, "mdlSetInputPortSampleTime");
    add(e.mdlSetOutputPortSampleTime, "mdlSetOutputPortSampleTime");
    add(e.mdlSetInputPortFrameData, "mdlSetInputPortFrameData");
    add(e.mdlSetDefaultPortComplexSignals, "mdlSetDefaultPortComplexSignals");
    add(e.mdlInitializePropagationPass, "mdlInitializePropagationPass");
    return names;
}

namespace {

json portJson(const ssPortRecord& p, const PortShadow& s, bool input) {
    auto field = [&](uint32_t bit, int32_t value) { return (p.setMask & bit) ? json(value) : json(nullptr); };
    json j;
    j["width"] = field(PORT_SET_WIDTH, p.width);
    j["dtype"] = field(PORT_SET_DTYPE, p.dataType);
    j["dims"] = optional(s.dims);
    j["feedthrough"] = input ? field(PORT_SET_FEEDTHROUGH, p.directFeedThrough) : json(nullptr);
    j["contiguous"] = input ? field(PORT_SET_CONTIGUOUS, p.requiredContiguous) : json(nullptr);
    j["overwritable"] = input ? field(PORT_SET_OVERWRITABLE, p.overWritable) : json(nullptr);
    j["optim"] = field(PORT_SET_OPTIM, p.optimOpts);
    j["complex"] = field(PORT_SET_COMPLEX, p.complexSignal);
    j["acceptExpr"] = input ? field(PORT_SET_ACCEPT_EXPR, p.acceptExprInRTW) : json(nullptr);
    j["outputExpr"] = input ? json(nullptr) : field(PORT_SET_OUTPUT_EXPR, p.outputExprInRTW);
    j["busAsStruct"] = optional(s.busAsStruct);
    j["busMode"] = optional(s.busMode);
    j["busName"] = optional(s.busName);
    return j;
}

}  // namespace

json Record::toJson() const {
    const SimStruct& S = record_;
    json j;
    json sizes = json::array();
    for (int i = 0; i < kNumSizes; ++i) {
        const bool asUnsigned = (i >= 15 && i <= 18) || i == SZ_OPTIONS;
        sizes.push_back(asUnsigned ? json(static_cast<uint32_t>(S.sizes[i])) : json(S.sizes[i]));
    }
    j["sizes"] = sizes;
    j["paramsGiven"] = S.numParamsGiven;
    json notTunable = json::array();
    for (size_t i = 0; i < paramAttributes_.size(); ++i) {
        if (paramAttributes_[i] & 1u) notTunable.push_back(i);
    }
    j["notTunable"] = notTunable;
    j["inputs"] = json::array();
    for (size_t i = 0; i < inputs_.size(); ++i) j["inputs"].push_back(portJson(inputs_[i], inputShadow_[i], true));
    j["outputs"] = json::array();
    for (size_t i = 0; i < outputs_.size(); ++i)
        j["outputs"].push_back(portJson(outputs_[i], outputShadow_[i], false));
    j["dwork"] = json::array();
    for (size_t i = 0; i < dwork_.size(); ++i) {
        const ssDWorkRecord& d = dwork_[i];
        auto field = [&](uint32_t bit, int32_t v) { return (d.setMask & bit) ? json(v) : json(nullptr); };
        j["dwork"].push_back({{"width", field(DWORK_SET_WIDTH, d.width)},
                              {"dtype", field(DWORK_SET_DTYPE, d.dataType)},
                              {"name", optional(dworkNames_[i])},
                              {"usage", field(DWORK_SET_USAGE, d.usageType)}});
    }
    json times = json::array();
    for (int i = 0; i < S.numSampleTimeSlots && i < 16; ++i) {
        const bool period = S.sampleTimeSetMask & (1u << (2 * i));
        const bool offset = S.sampleTimeSetMask & (1u << (2 * i + 1));
        if (period || offset) {
            times.push_back({period ? number(S.sampleTimes[i]) : json(nullptr),
                             offset ? number(S.offsetTimes[i]) : json(nullptr)});
        }
    }
    j["sampleTimes"] = times;
    json calls = json::array();
    for (int i = 0; i < S.numCallSystemSlots; ++i) {
        if (S.callSystemOutputs[i]) calls.push_back(i);
    }
    j["callSystemOutputs"] = calls;
    json resolution = nullptr;
    if (auto it = async_.resolution.find(0); it != async_.resolution.end()) resolution = number(it->second);
    j["async"] = {{"timeSource", optional(async_.timeSource)},
                  {"resolution", resolution},
                  {"timerDataType", optional(async_.timerDataType)},
                  {"priorities", optional(async_.priorities)}};
    j["userData"] = S.userData != nullptr;
    j["dimensionMethods"] = (static_cast<uint32_t>(S.sizes[SZ_FLAGS]) & SZ_FLAG_DIMENSION_METHODS) != 0;
    j["methods"] = installedMethods();
    return j;
}

json callToJson(const CallResult& r) {
    json j;
    j["ops"] = r.ops;
    j["error"] = optional(r.errorStatus);
    j["mexError"] = optional(r.mexError);
    j["mexErrorId"] = optional(r.mexErrorId);
    j["printed"] = r.printed;
    if (auto s = r.sizes()) {
        json v = json::array();
        for (double d : *s) v.push_back(number(d));
        j["sizesVector"] = v;
    }
    return j;
}

const char* sizesEntryName(int index) {
    switch (index) {
        case 0: return "continuous states";
        case 1: return "discrete states";
        case 2: return "output ports";
        case 3: return "input ports";
        case 4: return "port-index argument";
        case 6: return "sample times";
        case 7: return "expected parameters";
        case 8: return "integer work";
        case 9: return "real work";
        case 10: return "pointer work";
        case 19: return "record version";
        case 20: return "nonsampled zero crossings";
        case 22: return "modes";
        case 23: return "options";
        case 28: return "work vectors";
        case 31: return "sizes flags";
        default: return "(host)";
    }
}

HostOptions HostOptions::fromJson(const json& j) {
    HostOptions o;
    if (j.is_null()) return o;
    if (!j.is_object()) throw std::invalid_argument("\"host\" must be an object");
    for (auto& item : j.items()) {
        // Named, not bound: a lambda may not capture a structured binding
        // in every compiler the project builds with.
        const std::string& key = item.key();
        const json& value = item.value();
        auto boolean = [&](bool& field) {
            if (!value.is_boolean()) throw std::invalid_argument("host option \"" + key + "\" must be true or false");
            field = value.get<bool>();
        };
        if (key == "modelName") {
            if (!value.is_string()) throw std::invalid_argument("host option \"modelName\" must be text");
            o.modelName = value.get<std::string>();
        } else if (key == "blockLink") {
            boolean(o.blockLink);
        } else if (key == "genericFunction") {
            boolean(o.genericFunction);
        } else if (key == "dworkRegistration") {
            boolean(o.dworkRegistration);
        } else if (key == "dimensionSetter") {
            boolean(o.dimensionSetter);
        } else if (key == "sizesCallOnly") {
            boolean(o.sizesCallOnly);
        } else if (key == "refuseInputPorts") {
            boolean(o.refuseInputPorts);
        } else if (key == "refuseOutputPorts") {
            boolean(o.refuseOutputPorts);
        } else if (key == "dimensionSetterFails") {
            boolean(o.dimensionSetterFails);
        } else if (key == "maxDWork") {
            if (!value.is_number_integer()) throw std::invalid_argument("host option \"maxDWork\" must be an integer");
            o.maxDWork = value.get<int>();
        } else if (key == "busTypes") {
            if (!value.is_object()) throw std::invalid_argument("host option \"busTypes\" must be an object");
            for (auto& [name, id] : value.items()) {
                if (!id.is_number_integer()) throw std::invalid_argument("bus type \"" + name + "\" needs an integer id");
                o.busTypes[name] = id.get<int>();
            }
        } else {
            throw std::invalid_argument("unknown host option \"" + key + "\"");
        }
    }
    return o;
}

}  // namespace zevk::host
