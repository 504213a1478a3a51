// The host of our own: loads a deliverable by block name and drives its
// mexFunction as the platform's host does, on records it owns, recording
// every operation the deliverable makes.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "glue/simstruct.h"
#include "host/mxarray.h"

namespace zevk::host {

using MexFunction = void (*)(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]);

// One loaded deliverable.
class Deliverable {
public:
    ~Deliverable();
    Deliverable(const Deliverable&) = delete;
    Deliverable& operator=(const Deliverable&) = delete;

    // Opens DIR/BLOCK.<mex suffix>. On failure returns null and says why,
    // naming the path tried.
    static std::unique_ptr<Deliverable> load(const std::filesystem::path& dir, const std::string& block,
                                             std::string* error);
    static std::filesystem::path defaultDirectory();
    static const char* suffix();

    const std::string& name() const { return name_; }
    const std::filesystem::path& path() const { return path_; }
    MexFunction entry() const { return entry_; }

private:
    Deliverable() = default;
    std::string name_;
    std::filesystem::path path_;
    void* handle_ = nullptr;
    MexFunction entry_ = nullptr;
};

// How the host behaves toward a record; the defaults are a full host
// during a normal model compile.
struct HostOptions {
    std::optional<std::string> modelName;  // default: the block name
    bool blockLink = true;
    bool genericFunction = true;
    bool dworkRegistration = true;
    bool dimensionSetter = true;
    bool sizesCallOnly = false;
    std::map<std::string, int> busTypes;
    bool refuseInputPorts = false;
    bool refuseOutputPorts = false;
    std::optional<int> maxDWork;
    bool dimensionSetterFails = false;

    static HostOptions fromJson(const nlohmann::json& j);  // throws std::invalid_argument
};

// What one call into a deliverable did.
struct CallResult {
    nlohmann::json ops = nlohmann::json::array();  // [name, args...] in order
    std::optional<std::string> errorStatus;
    std::optional<std::string> mexError;
    std::optional<std::string> mexErrorId;
    std::string printed;
    std::vector<ArrayPtr> outputs;  // left-hand results of a sizes query
    size_t callocReclaimed = 0;     // mxCalloc blocks the host freed at the end of the call
    size_t foreignFrees = 0;        // mxFree calls on memory this call never handed out

    // The sizes vector, when the call returned one.
    std::optional<std::vector<double>> sizes() const;
};

// Calls mexFunction once, catching a MEX error, capturing printed text and
// reclaiming the call's memory. Arrays a sizes query returns go to outputs.
CallResult invokeMex(MexFunction fn, int nlhs, mxArray** plhs, int nrhs, const mxArray** prhs,
                     SimStruct* traced = nullptr);

// The command-line sizes query: BLOCK([],[],[],0,PARAM...).
CallResult commandLineSizes(const Deliverable& block, const std::vector<const mxArray*>& params, int nlhs = 1);

struct PortShadow {
    std::optional<std::vector<int32_t>> dims;
    std::optional<bool> busAsStruct;
    std::optional<int> busMode;
    std::optional<std::string> busName;
};

struct AsyncShadow {
    std::optional<int> timeSource;
    std::map<int, double> resolution;  // by timer element
    std::optional<int> timerDataType;
    std::optional<std::vector<int32_t>> priorities;
};

// One block instance: the record the host creates for it, its parameters
// and everything the host keeps on the side.
class Record {
public:
    Record(const Deliverable& block, std::vector<ArrayPtr> params, HostOptions options = {});
    ~Record();
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;

    // The host-made sizes query with the record-pointer argument.
    CallResult sizesQuery();
    // A method call: negative nlhs, the record in the second left-hand slot,
    // the flag in the fourth right-hand argument.
    CallResult method(double flag, int32_t port = 0, int32_t value = 0, const DimsInfo_T* dims = nullptr,
                      double sampleTime = 0.0, double offsetTime = 0.0);
    // Any call; a null entry in rhs stands for this record's pointer argument.
    CallResult mex(int nlhs, const std::vector<const mxArray*>& rhs);

    // The record-pointer argument for this record.
    ArrayPtr pointerArgument() const;

    SimStruct* raw() { return &record_; }
    const SimStruct* raw() const { return &record_; }
    const Deliverable& block() const { return block_; }
    const HostOptions& options() const { return options_; }
    const std::vector<ArrayPtr>& params() const { return params_; }
    bool terminated() const { return terminated_; }

    nlohmann::json toJson() const;
    // Installed method entries by name.
    std::vector<std::string> installedMethods() const;

    // Shadows the host keeps beside the record.
    const PortShadow* inputShadow(int port) const;
    const PortShadow* outputShadow(int port) const;
    const AsyncShadow& async() const { return async_; }
    std::optional<std::string> dworkName(int index) const;

private:
    friend struct RecordCallbacks;
    CallResult call(int nlhs, mxArray** plhs, const std::vector<const mxArray*>& rhs);

    const Deliverable& block_;
    HostOptions options_;
    std::string modelName_;
    std::vector<ArrayPtr> params_;
    std::vector<const mxArray*> paramPtrs_;
    std::vector<uint32_t> paramAttributes_;
    SimStruct record_{};
    ssModelInfo info_{};
    std::vector<ssPortRecord> inputs_, outputs_;
    std::vector<PortShadow> inputShadow_, outputShadow_;
    std::vector<ssDWorkRecord> dwork_;
    std::vector<std::optional<std::string>> dworkNames_;
    double sampleTimes_[1] = {0.0};
    double offsetTimes_[1] = {0.0};
    int32_t callSystem_[8] = {};
    AsyncShadow async_;
    int linkToken_ = 0;  // the block link points here
    CallResult* current_ = nullptr;
    bool sized_ = false;
    bool terminated_ = false;
};

// JSON of a call step: ops, error texts, printed text.
nlohmann::json callToJson(const CallResult& r);
// A number as JSON: integral values as integers, NaN and infinities as text.
nlohmann::json jsonNumber(double v);
// The sizes vector with the meaning of each entry.
const char* sizesEntryName(int index);

}  // namespace zevk::host
