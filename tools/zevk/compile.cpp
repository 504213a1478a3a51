#include "tools/zevk/compile.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <iomanip>
#include <map>
#include <sstream>

namespace zevk::cli {

using host::CallResult;
using host::Record;
using nlohmann::json;

namespace {

constexpr int kFlagSampleTimes = 101;
constexpr int kFlagTerminate = 107;
constexpr int kFlagInputType = 113;
constexpr int kFlagOutputType = 114;
constexpr int kFlagInputDims = 126;
constexpr int kFlagOutputDims = 127;
constexpr int kFlagDefaultDims = 131;
constexpr int kFlagDefaultTypes = 132;

const char* builtinTypeName(int id) {
    static constexpr const char* names[] = {"double", "single", "int8",   "uint8",  "int16",
                                            "uint16", "int32",  "uint32", "boolean", "fcn_call"};
    return id >= 0 && id <= SS_FCN_CALL ? names[id] : nullptr;
}

struct Shape {
    int32_t width = DYNAMICALLY_SIZED;
    std::vector<int32_t> dims;  // empty: a plain width

    // Matrices must agree dimension by dimension; anything else by width.
    bool sameAs(const Shape& o) const {
        if (dims.size() >= 2 && o.dims.size() >= 2) return dims == o.dims;
        return width == o.width;
    }
    std::string text() const {
        if (dims.size() >= 2) {
            std::string s;
            for (size_t i = 0; i < dims.size(); ++i) s += (i ? "x" : "") + std::to_string(dims[i]);
            return s;
        }
        return std::to_string(width);
    }
};

enum class Attr { Type, Shape };

struct SampleTime {
    enum Kind { None, Discrete, Continuous, Constant, Inherited, Async, Triggered } kind = None;
    double period = -1.0;
    double offset = 0.0;
    std::string task;  // Triggered: the task instance; Async: the instance itself
    std::string via;   // inherited from this instance
    bool invalid = false;

    bool resolved() const { return kind != Inherited && kind != None; }
    bool sameRate(const SampleTime& o) const {
        return kind == o.kind && period == o.period && offset == o.offset && task == o.task;
    }
    static std::string num(double v) {
        std::ostringstream s;
        s << std::setprecision(10) << v;
        return s.str();
    }
    // As a dialog writes it.
    static std::string given(double period, double offset) {
        return "[" + num(period) + (offset == 0 ? "" : " " + num(offset)) + "]";
    }
    std::string text() const {
        switch (kind) {
            case None: return "none";
            case Discrete: return offset == 0 ? num(period) : "[" + num(period) + " " + num(offset) + "]";
            case Continuous: return "continuous";
            case Constant: return "constant";
            case Inherited: return invalid ? "invalid" : "inherited";
            case Async: return "async";
            case Triggered: return "task " + task;
        }
        return "";
    }
    json toJson() const {
        static constexpr const char* kinds[] = {"none",      "discrete", "continuous", "constant",
                                                "inherited", "async",    "triggered"};
        json j{{"kind", kinds[kind]}, {"text", text()}};
        if (kind == Discrete || kind == Continuous) {
            j["period"] = host::jsonNumber(period);
            j["offset"] = host::jsonNumber(offset);
        }
        if (!task.empty()) j["task"] = task;
        if (!via.empty()) j["inheritedFrom"] = via;
        return j;
    }
};

// What the host keeps beside a port while it compiles.
struct PortState {
    bool typeSettled = false;
    bool shapeSettled = false;
    // A block refused what the line offered, or the port is invalid: it is
    // reported once and nothing more is proposed to it.
    bool typeRejected = false;
    bool shapeRejected = false;
};

struct Instance {
    const ModelBlock* model = nullptr;
    std::unique_ptr<Record> record;
    bool ok = false;  // sized: its ports can take part
    bool has[8] = {};  // by kMethodSlot
    int numIn = 0, numOut = 0;
    size_t inBase = 0, outBase = 0;
    SampleTime sampleTime;
};

enum MethodSlot { kInType, kOutType, kDefTypes, kInDims, kOutDims, kDefDims };

struct Line {
    size_t src, dst;  // instances
    int srcPort, dstPort;
    const ModelLine* model;
    bool valid = false;
};

struct WorkItem {
    size_t line;
    Attr attr;
    bool forward;  // from the output to the input
};

class Compiler {
public:
    Compiler(const Model& model, const CompileOptions& options) : m_(model), options_(options) {
        for (const auto& [name, id] : m_.busTypes) busNames_[id] = name;
    }

    json run() {
        load();
        connect();
        propagate();
        defaults(false);
        defaults(true);
        sampleTimes();
        check();
        terminate();
        return result();
    }

private:
    // ---- diagnostics -------------------------------------------------

    void diagnose(const char* severity, std::optional<size_t> inst, const std::string& pointer,
                  const std::string& message, const std::string& during = {}) {
        json d;
        d["severity"] = severity;
        if (inst) {
            d["instance"] = m_.name + "/" + m_.blocks[*inst].name;
            d["block"] = m_.blocks[*inst].block;
        } else {
            d["instance"] = m_.name;
        }
        d["message"] = message;
        if (!during.empty()) d["during"] = during;
        d["pointer"] = pointer;
        const int line = m_.source.lineOf(pointer);
        d["line"] = line > 0 ? json(line) : json(nullptr);
        const std::string level = severity;
        if (level == "error") ++errors_;
        if (level == "warning") ++warnings_;
        diagnostics_.push_back(std::move(d));
    }

    // Returns true when the block refused: an error status or a MEX error.
    bool collect(size_t inst, const CallResult& r, const std::string& during) {
        const std::string& pointer = m_.blocks[inst].pointer;
        std::istringstream printed(r.printed);
        for (std::string line; std::getline(printed, line);) {
            if (line.rfind("Error: ", 0) == 0) {
                diagnose("error", inst, pointer, line.substr(7), during + " (printed)");
            } else if (!line.empty()) {
                diagnose("note", inst, pointer, line, during + " (printed)");
            }
        }
        if (r.mexError) {
            std::string text = "MATLAB error: " + *r.mexError;
            if (r.mexErrorId && !r.mexErrorId->empty()) text += " (" + *r.mexErrorId + ")";
            diagnose("error", inst, pointer, text, during);
        }
        if (r.errorStatus) diagnose("error", inst, pointer, *r.errorStatus, during);
        return r.mexError || r.errorStatus;
    }

    std::string typeName(int id) const {
        if (const char* b = builtinTypeName(id)) return b;
        if (id == DYNAMICALLY_TYPED) return "dynamic";
        if (auto it = busNames_.find(id); it != busNames_.end()) return it->second;
        return "id " + std::to_string(id);
    }
    bool knownType(int id) const { return builtinTypeName(id) || busNames_.count(id); }

    std::string endpoint(size_t inst, int port) const { return m_.blocks[inst].name + ":" + std::to_string(port); }

    // ---- ports ---------------------------------------------------------

    ssPortRecord& rec(size_t inst, bool input, int port) {
        SimStruct* S = instances_[inst].record->raw();
        return input ? S->inputs[port] : S->outputs[port];
    }
    PortState& state(size_t inst, bool input, int port) {
        const Instance& in = instances_[inst];
        return ports_[(input ? in.inBase : in.outBase) + static_cast<size_t>(port)];
    }

    bool typeUnset(size_t inst, bool input, int port) {
        return !(rec(inst, input, port).setMask & PORT_SET_DTYPE);
    }
    bool typeSettledNow(size_t inst, bool input, int port) {
        const ssPortRecord& p = rec(inst, input, port);
        return (p.setMask & PORT_SET_DTYPE) && p.dataType != DYNAMICALLY_TYPED;
    }
    bool shapeUnset(size_t inst, bool input, int port) {
        return !(rec(inst, input, port).setMask & PORT_SET_WIDTH);
    }
    Shape shape(size_t inst, bool input, int port) {
        Shape s;
        const ssPortRecord& p = rec(inst, input, port);
        if (p.setMask & PORT_SET_WIDTH) s.width = p.width;
        const Record& r = *instances_[inst].record;
        const host::PortShadow* shadow = input ? r.inputShadow(port) : r.outputShadow(port);
        if (shadow && shadow->dims) s.dims = *shadow->dims;
        return s;
    }
    bool shapeSettledNow(size_t inst, bool input, int port) {
        if (shapeUnset(inst, input, port)) return false;
        Shape s = shape(inst, input, port);
        return s.width >= 0 && std::none_of(s.dims.begin(), s.dims.end(), [](int32_t d) { return d < 0; });
    }

    void enqueue(size_t inst, bool input, int port, Attr attr) {
        if (input) {
            const long l = inLine_[instances_[inst].inBase + static_cast<size_t>(port)];
            if (l >= 0) work_.push_back({static_cast<size_t>(l), attr, false});
        } else {
            for (size_t l : outLines_[instances_[inst].outBase + static_cast<size_t>(port)]) {
                work_.push_back({l, attr, true});
            }
        }
    }

    // After anything ran on an instance: ports it settled feed their lines.
    void rescan(size_t inst) {
        Instance& in = instances_[inst];
        for (int side = 0; side < 2; ++side) {
            const bool input = side == 0;
            const int n = input ? in.numIn : in.numOut;
            for (int p = 0; p < n; ++p) {
                PortState& ps = state(inst, input, p);
                if (!ps.typeSettled && typeSettledNow(inst, input, p)) {
                    ps.typeSettled = true;
                    enqueue(inst, input, p, Attr::Type);
                }
                if (!ps.shapeSettled && shapeSettledNow(inst, input, p)) {
                    ps.shapeSettled = true;
                    enqueue(inst, input, p, Attr::Shape);
                }
            }
        }
    }

    void hostSetType(size_t inst, bool input, int port, int type) {
        ssPortRecord& p = rec(inst, input, port);
        p.dataType = type;
        p.setMask |= PORT_SET_DTYPE;
    }

    void hostSetShape(size_t inst, bool input, int port, const Shape& s) {
        SimStruct* S = instances_[inst].record->raw();
        ssSetPortDimsFcn setter = input ? S->setInputPortDimensionInfoFcn : S->setOutputPortDimensionInfoFcn;
        if (s.dims.size() >= 2 && setter) {
            std::vector<int32_t> dims = s.dims;
            DimsInfo_T info{s.width, static_cast<int32_t>(dims.size()), dims.data(), nullptr};
            if (setter(S, port, &info)) return;
        }
        ssPortRecord& p = rec(inst, input, port);
        p.width = s.width;
        p.setMask |= PORT_SET_WIDTH;
    }

    std::string portText(bool input, int port) const {
        return std::string(input ? "input " : "output ") + std::to_string(port);
    }

    // Offers the type or shape of the far end of a line to an open port:
    // through the block's method when it installed one, else the host
    // settles the port itself.
    void offer(size_t inst, bool input, int port, Attr attr, size_t fromInst, int fromPort) {
        Instance& in = instances_[inst];
        PortState& ps = state(inst, input, port);
        const bool type = attr == Attr::Type;
        if (type ? (ps.typeSettled || ps.typeRejected) : (ps.shapeSettled || ps.shapeRejected)) return;
        const bool unset = type ? typeUnset(inst, input, port) : shapeUnset(inst, input, port);
        const bool method = type ? in.has[input ? kInType : kOutType] : in.has[input ? kInDims : kOutDims];
        const int value = type ? rec(fromInst, !input, fromPort).dataType : 0;
        Shape offered = type ? Shape{} : shape(fromInst, !input, fromPort);
        if (method) {
            const int flag = type ? (input ? kFlagInputType : kFlagOutputType) : (input ? kFlagInputDims : kFlagOutputDims);
            std::string during = "flag " + std::to_string(flag) + ", " + portText(input, port) + " offered " +
                                 (type ? typeName(value) : offered.text()) + " from " + endpoint(fromInst, fromPort);
            CallResult r;
            if (type) {
                r = in.record->method(flag, port, value);
            } else {
                std::vector<int32_t> dims = offered.dims.empty() ? std::vector<int32_t>{offered.width} : offered.dims;
                DimsInfo_T info{offered.width, static_cast<int32_t>(dims.size()), dims.data(), nullptr};
                r = in.record->method(flag, port, 0, &info);
            }
            const bool refused = collect(inst, r, during);
            rescan(inst);
            if (refused && !(type ? ps.typeSettled : ps.shapeSettled)) {
                (type ? ps.typeRejected : ps.shapeRejected) = true;
                return;
            }
            // A port the block never gave a type or size is the host's to
            // settle, method or not.
            if ((type ? ps.typeSettled : ps.shapeSettled) || !unset) return;
        }
        if (type) {
            hostSetType(inst, input, port, value);
        } else {
            hostSetShape(inst, input, port, offered);
        }
        rescan(inst);
    }

    void drain() {
        while (!work_.empty()) {
            WorkItem w = work_.front();
            work_.pop_front();
            const Line& l = lines_[w.line];
            const bool type = w.attr == Attr::Type;
            if (w.forward) {
                const PortState& from = state(l.src, false, l.srcPort);
                if (type ? from.typeSettled : from.shapeSettled) offer(l.dst, true, l.dstPort, w.attr, l.src, l.srcPort);
            } else {
                const PortState& from = state(l.dst, true, l.dstPort);
                if (type ? from.typeSettled : from.shapeSettled) offer(l.src, false, l.srcPort, w.attr, l.dst, l.dstPort);
            }
        }
    }

    // ---- phases --------------------------------------------------------

    void load() {
        instances_.resize(m_.blocks.size());
        for (size_t i = 0; i < m_.blocks.size(); ++i) {
            const ModelBlock& mb = m_.blocks[i];
            Instance& in = instances_[i];
            in.model = &mb;
            auto it = deliverables_.find(mb.block);
            if (it == deliverables_.end()) {
                std::string error;
                auto d = host::Deliverable::load(options_.blockDir, mb.block, &error);
                it = deliverables_.emplace(mb.block, std::move(d)).first;
                if (!it->second) loadErrors_[mb.block] = error;
            }
            if (!it->second) {
                diagnose("error", i, mb.pointer + "/block", loadErrors_[mb.block]);
                continue;
            }
            std::vector<host::ArrayPtr> params;
            for (const auto& p : mb.params) params.push_back(host::clone(p.get()));
            host::HostOptions options;
            options.busTypes = m_.busTypes;
            in.record = std::make_unique<Record>(*it->second, std::move(params), std::move(options));
            CallResult r = in.record->sizesQuery();
            const bool refused = collect(i, r, "sizes query");
            if (r.mexError) continue;
            SimStruct* S = in.record->raw();
            bool countDeclared = false;
            for (const auto& op : r.ops) {
                if (op[0] == "ssSetNumSFcnParams") countDeclared = true;
                if (op[0] == "request" && op[1] == GEN_REGISTER_TYPE_FROM_NAMED_OBJECT && op[3].is_string() &&
                    !m_.busTypes.count(op[3].get<std::string>())) {
                    diagnose("error", i, mb.pointer + "/params",
                             "bus type \"" + op[3].get<std::string>() +
                                 "\" is not one the host knows; add it to the model's \"busTypes\"",
                             "sizes query");
                }
            }
            if (countDeclared && S->sizes[SZ_NUM_SFCN_PARAMS] != S->numParamsGiven) {
                diagnose("error", i, mb.pointer + "/params",
                         "expects " + std::to_string(S->sizes[SZ_NUM_SFCN_PARAMS]) + " dialog parameters, " +
                             std::to_string(S->numParamsGiven) + " given");
                continue;
            }
            (void)refused;
            for (const auto& name : in.record->installedMethods()) {
                if (name == "mdlSetInputPortDataType") in.has[kInType] = true;
                if (name == "mdlSetOutputPortDataType") in.has[kOutType] = true;
                if (name == "mdlSetDefaultPortDataTypes") in.has[kDefTypes] = true;
                if (name == "mdlSetInputPortDimensionInfo") in.has[kInDims] = true;
                if (name == "mdlSetOutputPortDimensionInfo") in.has[kOutDims] = true;
                if (name == "mdlSetDefaultPortDimensionInfo") in.has[kDefDims] = true;
            }
            in.numIn = std::max(0, S->sizes[SZ_NUM_INPUT_PORTS]);
            in.numOut = std::max(0, S->sizes[SZ_NUM_OUTPUT_PORTS]);
            in.ok = true;
        }
        // Ports are laid out once every instance is sized.
        size_t total = 0;
        for (auto& in : instances_) {
            in.inBase = total;
            total += static_cast<size_t>(in.numIn);
            in.outBase = total;
            total += static_cast<size_t>(in.numOut);
        }
        ports_.assign(total, PortState{});
        inLine_.assign(total, -1);
        outLines_.assign(total, {});
        for (size_t i = 0; i < instances_.size(); ++i) {
            if (instances_[i].ok) validatePorts(i);
        }
    }

    // The host's own judgement of what a block declared.
    void validatePorts(size_t inst) {
        Instance& in = instances_[inst];
        for (int side = 0; side < 2; ++side) {
            const bool input = side == 0;
            const int n = input ? in.numIn : in.numOut;
            for (int p = 0; p < n; ++p) {
                const ssPortRecord& r = rec(inst, input, p);
                PortState& ps = state(inst, input, p);
                if ((r.setMask & PORT_SET_DTYPE) && r.dataType != DYNAMICALLY_TYPED && !knownType(r.dataType)) {
                    diagnose("error", inst, in.model->pointer + "/params",
                             portText(input, p) + " is declared with data type id " + std::to_string(r.dataType) +
                                 ", which is neither a built-in type nor one of the model's bus types");
                    ps.typeRejected = true;
                }
                if ((r.setMask & PORT_SET_WIDTH) && r.width < DYNAMICALLY_SIZED) {
                    diagnose("error", inst, in.model->pointer + "/params",
                             portText(input, p) + " is declared with width " + std::to_string(r.width));
                    ps.shapeRejected = true;
                }
            }
        }
    }

    void connect() {
        lines_.reserve(m_.lines.size());
        for (const auto& ml : m_.lines) {
            Line l{ml.from.block, ml.to.block, ml.from.port, ml.to.port, &ml};
            const Instance& src = instances_[l.src];
            const Instance& dst = instances_[l.dst];
            // An instance that failed is already reported; its lines say nothing more.
            if (src.ok && dst.ok) {
                if (l.srcPort >= src.numOut) {
                    diagnose("error", l.src, ml.pointer,
                             "line from " + endpoint(l.src, l.srcPort) + ": " + src.model->block + " instance has " +
                                 std::to_string(src.numOut) + " output port(s) with these parameters");
                } else if (l.dstPort >= dst.numIn) {
                    diagnose("error", l.dst, ml.pointer,
                             "line to " + endpoint(l.dst, l.dstPort) + ": " + dst.model->block + " instance has " +
                                 std::to_string(dst.numIn) + " input port(s) with these parameters");
                } else {
                    long& in = inLine_[dst.inBase + static_cast<size_t>(l.dstPort)];
                    if (in >= 0) {
                        diagnose("error", l.dst, ml.pointer,
                                 portText(true, l.dstPort) + " is already driven by " +
                                     endpoint(lines_[static_cast<size_t>(in)].src, lines_[static_cast<size_t>(in)].srcPort) +
                                     "; an input takes one line");
                    } else {
                        l.valid = true;
                        in = static_cast<long>(lines_.size());
                        outLines_[src.outBase + static_cast<size_t>(l.srcPort)].push_back(lines_.size());
                    }
                }
            }
            lines_.push_back(l);
        }
    }

    void propagate() {
        for (size_t i = 0; i < instances_.size(); ++i) {
            if (instances_[i].ok) rescan(i);
        }
        drain();
    }

    // Drivers before the blocks they drive (Kahn's algorithm over the
    // lines); a loop is entered at its first instance in model order.
    std::vector<size_t> dataflowOrder() {
        const size_t n = instances_.size();
        std::vector<size_t> pending(n, 0), order;
        order.reserve(n);
        for (const Line& l : lines_) {
            if (l.valid) ++pending[l.dst];
        }
        std::vector<bool> done(n, false);
        std::deque<size_t> ready;
        for (size_t i = 0; i < n; ++i) {
            if (pending[i] == 0) ready.push_back(i);
        }
        size_t next = 0;  // first instance not yet ordered, for breaking loops
        while (order.size() < n) {
            if (ready.empty()) {
                while (done[next]) ++next;
                ready.push_back(next);
            }
            const size_t i = ready.front();
            ready.pop_front();
            if (done[i]) continue;
            done[i] = true;
            order.push_back(i);
            const Instance& in = instances_[i];
            for (int p = 0; p < in.numOut; ++p) {
                for (size_t l : outLines_[in.outBase + static_cast<size_t>(p)]) {
                    const size_t d = lines_[l].dst;
                    if (!done[d] && pending[d] > 0 && --pending[d] == 0) ready.push_back(d);
                }
            }
        }
        return order;
    }

    // Open ports after propagation: first every block's own default methods,
    // then the host's defaults (double, width 1) for ports no block method
    // answers for. Blocks go in dataflow order and each step propagates
    // before the next block, so a default reaches the ports it drives before
    // they are defaulted themselves.
    void defaults(bool host) {
        if (order_.empty()) order_ = dataflowOrder();
        for (size_t i : order_) {
            Instance& in = instances_[i];
            if (!in.ok) continue;
            if (!host) {
                if (in.has[kDefDims] && anyOpen(i, Attr::Shape)) {
                    collect(i, in.record->method(kFlagDefaultDims), "flag 131, default dimensions");
                    rescan(i);
                }
                if (in.has[kDefTypes] && anyOpen(i, Attr::Type)) {
                    collect(i, in.record->method(kFlagDefaultTypes), "flag 132, default data types");
                    rescan(i);
                }
            } else {
                for (int side = 0; side < 2; ++side) {
                    const bool input = side == 0;
                    for (int p = 0; p < (input ? in.numIn : in.numOut); ++p) {
                        PortState& ps = state(i, input, p);
                        if (!ps.shapeSettled && !ps.shapeRejected && (!in.has[kDefDims] || shapeUnset(i, input, p))) {
                            hostSetShape(i, input, p, Shape{1, {}});
                        }
                        if (!ps.typeSettled && !ps.typeRejected && (!in.has[kDefTypes] || typeUnset(i, input, p))) {
                            hostSetType(i, input, p, SS_DOUBLE);
                        }
                    }
                }
                rescan(i);
            }
            drain();
        }
    }

    bool anyOpen(size_t inst, Attr attr) {
        const Instance& in = instances_[inst];
        for (int side = 0; side < 2; ++side) {
            const bool input = side == 0;
            for (int p = 0; p < (input ? in.numIn : in.numOut); ++p) {
                const PortState& ps = state(inst, input, p);
                if (attr == Attr::Type ? !ps.typeSettled : !ps.shapeSettled) return true;
            }
        }
        return false;
    }

    bool hasCallOutput(size_t inst) {
        const Instance& in = instances_[inst];
        for (int p = 0; p < in.numOut; ++p) {
            const ssPortRecord& r = rec(inst, false, p);
            if ((r.setMask & PORT_SET_DTYPE) && r.dataType == SS_FCN_CALL) return true;
        }
        return false;
    }

    void sampleTimes() {
        std::deque<size_t> resolved;
        for (size_t i = 0; i < instances_.size(); ++i) {
            Instance& in = instances_[i];
            if (!in.ok) continue;
            const ModelBlock& mb = *in.model;
            CallResult r = in.record->method(kFlagSampleTimes);
            collect(i, r, "flag 101, sample times");
            SimStruct* S = in.record->raw();
            SampleTime& st = in.sampleTime;
            if (S->sizes[SZ_NUM_SAMPLE_TIMES] <= 0) {
                st.kind = SampleTime::None;
                continue;
            }
            // A period never written is the host's initial one: inherited.
            st.period = (S->sampleTimeSetMask & 1u) ? S->sampleTimes[0] : -1.0;
            st.offset = (S->sampleTimeSetMask & 2u) ? S->offsetTimes[0] : 0.0;
            const std::string given = SampleTime::given(st.period, st.offset);
            if (st.period == -1.0) {
                bool calls = false;
                for (int k = 0; k < S->numCallSystemSlots; ++k) calls = calls || S->callSystemOutputs[k];
                st.kind = calls ? SampleTime::Async : SampleTime::Inherited;
                if (calls) st.task = mb.name;
            } else if (std::isinf(st.period) && st.period > 0) {
                st.kind = SampleTime::Constant;
            } else if (st.period == 0.0) {
                st.kind = SampleTime::Continuous;
            } else if (st.period > 0 && st.offset >= 0 && st.offset < st.period) {
                st.kind = SampleTime::Discrete;
            } else {
                diagnose("error", i, mb.pointer + "/params",
                         "invalid sample time " + given + ": the period is -1 (inherited), 0, Inf or positive, with 0 <= offset < period");
                st.kind = SampleTime::Inherited;  // keeps it out of the rate checks
                st.invalid = true;
                continue;
            }
            if (mb.task) {
                const size_t t = *mb.task;
                const std::string taskName = m_.blocks[t].name;
                if (!instances_[t].ok || !hasCallOutput(t)) {
                    if (instances_[t].ok) {
                        diagnose("error", i, mb.pointer + "/task",
                                 "task \"" + taskName + "\" has no function-call output to run this block");
                    }
                } else if (st.kind != SampleTime::Inherited) {
                    diagnose("error", i, mb.pointer + "/params",
                             "runs in task \"" + taskName + "\", so its sample time must be inherited (-1); it is " +
                                 given);
                } else {
                    st.kind = SampleTime::Triggered;
                    st.task = taskName;
                }
            }
            if (st.resolved()) resolved.push_back(i);
        }
        // Inherited rates flow along the lines, each line once.
        while (!resolved.empty()) {
            const size_t i = resolved.front();
            resolved.pop_front();
            const Instance& in = instances_[i];
            for (int p = 0; p < in.numOut; ++p) {
                for (size_t l : outLines_[in.outBase + static_cast<size_t>(p)]) {
                    Instance& dst = instances_[lines_[l].dst];
                    if (dst.ok && dst.sampleTime.kind == SampleTime::Inherited && !dst.model->task &&
                        dst.sampleTime.via.empty() && !dst.sampleTime.invalid) {
                        dst.sampleTime = in.sampleTime;
                        if (dst.sampleTime.kind == SampleTime::Async) dst.sampleTime.kind = SampleTime::Triggered;
                        dst.sampleTime.via = in.model->name;
                        resolved.push_back(lines_[l].dst);
                    }
                }
            }
        }
    }

    void check() {
        for (size_t i = 0; i < instances_.size(); ++i) {
            Instance& in = instances_[i];
            if (!in.ok) continue;
            const std::string& pointer = in.model->pointer;
            for (int p = 0; p < in.numIn; ++p) {
                const long l = inLine_[in.inBase + static_cast<size_t>(p)];
                const PortState& ps = state(i, true, p);
                if (l < 0) {
                    diagnose("error", i, pointer, portText(true, p) + " is not connected");
                    continue;
                }
                if (!ps.typeSettled && !ps.typeRejected) {
                    diagnose("error", i, lines_[static_cast<size_t>(l)].model->pointer,
                             "the data type of " + portText(true, p) + " was never settled");
                }
                if (!ps.shapeSettled && !ps.shapeRejected) {
                    diagnose("error", i, lines_[static_cast<size_t>(l)].model->pointer,
                             "the size of " + portText(true, p) + " was never settled");
                }
            }
            if (in.sampleTime.kind == SampleTime::Inherited && in.sampleTime.via.empty() && !in.model->task &&
                !in.sampleTime.invalid) {
                diagnose("warning", i, pointer,
                         "inherits its sample time, but no block drives it at a known rate");
            }
        }
        for (const Line& l : lines_) {
            if (!l.valid) continue;
            const PortState& s = state(l.src, false, l.srcPort);
            const PortState& d = state(l.dst, true, l.dstPort);
            const std::string where = portText(true, l.dstPort) + " <- " + endpoint(l.src, l.srcPort) + ": ";
            const int st = rec(l.src, false, l.srcPort).dataType;
            const int dt = rec(l.dst, true, l.dstPort).dataType;
            if (s.typeSettled && st == SS_FCN_CALL) {
                diagnose("error", l.dst, l.model->pointer,
                         where + "a function-call output runs blocks, it carries no data; name \"" +
                             m_.blocks[l.src].name + "\" as the \"task\" of the blocks it runs");
                continue;
            }
            if (s.typeSettled && d.typeSettled && !s.typeRejected && !d.typeRejected && st != dt) {
                diagnose("error", l.dst, l.model->pointer,
                         where + "data types differ: the output is " + typeName(st) + ", the input " + typeName(dt));
            }
            if (s.shapeSettled && d.shapeSettled && !s.shapeRejected && !d.shapeRejected) {
                Shape a = shape(l.src, false, l.srcPort), b = shape(l.dst, true, l.dstPort);
                if (!a.sameAs(b)) {
                    diagnose("error", l.dst, l.model->pointer,
                             where + "sizes differ: the output is " + a.text() + ", the input " + b.text());
                }
            }
            const Instance& dst = instances_[l.dst];
            const SampleTime& from = instances_[l.src].sampleTime;
            if (dst.sampleTime.resolved() && from.resolved() && !dst.sampleTime.sameRate(from) &&
                dst.sampleTime.via != m_.blocks[l.src].name && dst.sampleTime.via.size()) {
                diagnose("warning", l.dst, l.model->pointer,
                         where + "comes at " + from.text() + " while the block inherited " +
                             dst.sampleTime.text() + " from " + dst.sampleTime.via);
            }
        }
    }

    void terminate() {
        for (size_t i = 0; i < instances_.size(); ++i) {
            Instance& in = instances_[i];
            if (!in.record) continue;
            // Terminate also the instances whose sizes failed: whatever the
            // block allocated must go.
            collect(i, in.record->method(kFlagTerminate), "flag 107, terminate");
        }
    }

    json portJson(size_t inst, bool input, int port) {
        json j;
        j["port"] = port;
        const ssPortRecord& r = rec(inst, input, port);
        const PortState& ps = state(inst, input, port);
        if (r.setMask & PORT_SET_DTYPE) {
            j["type"] = typeName(r.dataType);
            j["typeId"] = r.dataType;
        } else {
            j["type"] = nullptr;
            j["typeId"] = nullptr;
        }
        j["typeSettled"] = ps.typeSettled;
        Shape s = shape(inst, input, port);
        j["width"] = (r.setMask & PORT_SET_WIDTH) ? json(s.width) : json(nullptr);
        j["dims"] = s.dims.size() >= 2 ? json(s.dims) : json(nullptr);
        j["sizeSettled"] = ps.shapeSettled;
        j["sampleTime"] = instances_[inst].sampleTime.text();
        const Instance& in = instances_[inst];
        if (input) {
            const long l = inLine_[in.inBase + static_cast<size_t>(port)];
            j["from"] = l >= 0 ? json(endpoint(lines_[static_cast<size_t>(l)].src, lines_[static_cast<size_t>(l)].srcPort))
                               : json(nullptr);
        } else {
            json to = json::array();
            for (size_t l : outLines_[in.outBase + static_cast<size_t>(port)]) {
                to.push_back(endpoint(lines_[l].dst, lines_[l].dstPort));
            }
            j["to"] = to;
        }
        return j;
    }

    json result() {
        std::vector<json> runs(instances_.size(), json::array());
        for (const auto& mb : m_.blocks) {
            if (mb.task) runs[*mb.task].push_back(mb.name);
        }
        json blocks = json::array();
        for (size_t i = 0; i < instances_.size(); ++i) {
            Instance& in = instances_[i];
            json b;
            b["name"] = in.model->name;
            b["block"] = in.model->block;
            b["params"] = in.model->paramTexts;
            b["compiled"] = in.ok;
            b["sampleTime"] = in.ok ? in.sampleTime.toJson() : json(nullptr);
            if (in.model->task) b["task"] = m_.blocks[*in.model->task].name;
            if (!runs[i].empty()) b["runs"] = std::move(runs[i]);
            json inputs = json::array(), outputs = json::array();
            if (in.ok) {
                for (int p = 0; p < in.numIn; ++p) inputs.push_back(portJson(i, true, p));
                for (int p = 0; p < in.numOut; ++p) outputs.push_back(portJson(i, false, p));
            }
            b["inputs"] = std::move(inputs);
            b["outputs"] = std::move(outputs);
            blocks.push_back(std::move(b));
        }
        json j;
        j["model"] = m_.name;
        j["file"] = m_.file;
        j["status"] = errors_ ? "errors" : "clean";
        j["errors"] = errors_;
        j["warnings"] = warnings_;
        j["blocks"] = std::move(blocks);
        j["lines"] = m_.lines.size();
        j["diagnostics"] = std::move(diagnostics_);
        return j;
    }

    const Model& m_;
    const CompileOptions& options_;
    std::map<int, std::string> busNames_;
    std::map<std::string, std::unique_ptr<host::Deliverable>> deliverables_;
    std::map<std::string, std::string> loadErrors_;
    std::vector<Instance> instances_;
    std::vector<PortState> ports_;
    std::vector<long> inLine_;                 // by input port: its line, or -1
    std::vector<std::vector<size_t>> outLines_;  // by output port: its lines
    std::vector<Line> lines_;
    std::deque<WorkItem> work_;
    std::vector<size_t> order_;  // of the default passes
    json diagnostics_ = json::array();
    int errors_ = 0, warnings_ = 0;
};

}  // namespace

json compileModel(const Model& model, const CompileOptions& options) { return Compiler(model, options).run(); }

int compileExitStatus(const json& compiled) { return compiled.value("errors", 0) > 0 ? 1 : 0; }

namespace {

std::string show(const json& v) {
    if (v.is_null()) return "-";
    if (v.is_string()) return v.get<std::string>();
    return v.dump();
}

std::string sizeText(const json& port) {
    if (port["dims"].is_array()) {
        std::string s;
        for (const auto& d : port["dims"]) s += (s.empty() ? "" : "x") + d.dump();
        return s;
    }
    return port["width"].is_null() ? "-" : port["width"].dump();
}

}  // namespace

void printCompileReport(std::ostream& out, const json& c) {
    out << "Model " << c["model"].get<std::string>() << " (" << c["file"].get<std::string>() << "): "
        << c["blocks"].size() << " blocks, " << c["lines"].get<size_t>() << " connections\n";
    for (const auto& b : c["blocks"]) {
        out << "\n" << b["name"].get<std::string>() << "  " << b["block"].get<std::string>();
        if (!b["compiled"].get<bool>()) {
            out << "  (not compiled)\n";
            continue;
        }
        out << "  sample time " << b["sampleTime"]["text"].get<std::string>();
        if (b["sampleTime"].contains("inheritedFrom")) {
            out << " (from " << b["sampleTime"]["inheritedFrom"].get<std::string>() << ")";
        }
        out << "\n";
        if (b["inputs"].empty() && b["outputs"].empty()) out << "  no ports\n";
        for (const char* side : {"inputs", "outputs"}) {
            const bool input = side[0] == 'i';
            for (const auto& p : b[side]) {
                std::string type = show(p["type"]);
                if (!p["typeSettled"].get<bool>()) type += "?";
                std::string size = sizeText(p);
                if (!p["sizeSettled"].get<bool>()) size += "?";
                std::ostringstream row;
                row << "  " << (input ? "in  " : "out ") << std::left << std::setw(3) << p["port"].get<int>() << " "
                    << std::setw(10) << type << " " << std::setw(6) << size << " " << std::setw(14)
                    << p["sampleTime"].get<std::string>() << std::right;
                if (input) row << " <- " << show(p["from"]);
                if (!input && p["typeId"] == SS_FCN_CALL && b.contains("runs")) {
                    row << " runs";
                    for (size_t k = 0; k < b["runs"].size(); ++k) row << (k ? ", " : " ") << b["runs"][k].get<std::string>();
                }
                if (!input && !p["to"].empty()) {
                    row << " ->";
                    for (size_t k = 0; k < p["to"].size(); ++k) row << (k ? ", " : " ") << p["to"][k].get<std::string>();
                }
                std::string text = row.str();
                text.erase(text.find_last_not_of(' ') + 1);
                out << text << "\n";
            }
        }
    }
    out << "\n";
    const auto& diags = c["diagnostics"];
    if (!diags.empty()) {
        out << "Diagnostics:\n";
        for (const auto& d : diags) {
            out << "  " << d["severity"].get<std::string>() << ": " << d["instance"].get<std::string>();
            if (d.contains("block")) out << " (" << d["block"].get<std::string>() << ")";
            out << ": " << d["message"].get<std::string>();
            if (d.contains("during")) out << " [" << d["during"].get<std::string>() << "]";
            if (!d["line"].is_null()) out << " (line " << d["line"].get<int>() << ")";
            out << "\n";
        }
        out << "\n";
    }
    const int errors = c["errors"].get<int>(), warnings = c["warnings"].get<int>();
    out << c["model"].get<std::string>() << ": ";
    if (errors == 0) {
        out << "compiled clean";
    } else {
        out << errors << (errors == 1 ? " error" : " errors");
    }
    if (warnings) out << ", " << warnings << (warnings == 1 ? " warning" : " warnings");
    out << "\n";
}

int compileCommand(const std::filesystem::path& blockDir, const std::string& file, bool asJson, std::ostream& out,
                   std::ostream& err) {
    Model model;
    try {
        model = readModel(file);
    } catch (const ModelError& e) {
        err << e.what();
        return 2;
    }
    CompileOptions options;
    options.blockDir = blockDir;
    json compiled = compileModel(model, options);
    if (asJson) {
        out << compiled.dump(2) << "\n";
    } else {
        printCompileReport(out, compiled);
    }
    return compileExitStatus(compiled);
}

}  // namespace zevk::cli
