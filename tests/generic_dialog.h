// The dialog of the generic blocks, written as MATLAB literals, and what the
// generic-block tests read back from a record.
#pragma once

#include <string>
#include <vector>

#include "tests/support.h"

namespace zevk::test {

struct Dialog {
    std::string inCodes = "[]";
    std::string outCodes = "[]";
    std::string inWidths = "[]";
    std::string outWidths = "[]";
    std::string busNames = "{}";
    std::string sampleTime = "0.001";
    std::string options = "0";
    std::string extra = "";  // parameter 7 of the 8-parameter blocks; empty: not given

    std::vector<ArrayPtr> params() const {
        std::vector<ArrayPtr> p = lits({inCodes, outCodes, inWidths, outWidths, busNames, sampleTime, options});
        if (!extra.empty()) p.push_back(lit(extra));
        return p;
    }
};

inline Sized sized(const std::string& name, const Dialog& d, HostOptions options = {}) {
    return sized(name, d.params(), std::move(options));
}

// The port set-up of a sizes query: its ops without the parameter
// bookkeeping and the glue's own calls, so that orders can be compared.
inline json portOps(const CallResult& r) {
    json out = json::array();
    for (const auto& o : r.ops) {
        const std::string name = o[0];
        if (name == "ssGetModelName" || name == "ssGetSFcnParam" || name == "ssGetSFcnParamsCount" ||
            name == "ssSetNumSFcnParams" || name == "ssSetSFcnParamNotTunable" || name == "ssGetSimMode" ||
            (name == "request" && o[1] == 280)) {
            continue;
        }
        out.push_back(o);
    }
    return out;
}

// "[v v v ...]" with n copies of v.
inline std::string repeated(const std::string& v, size_t n) {
    std::string s = "[";
    for (size_t i = 0; i < n; ++i) s += (i ? " " : "") + v;
    return s + "]";
}

inline constexpr int kSizesOutputs = 2;
inline constexpr int kSizesInputs = 3;
inline constexpr int kSizesSampleTimes = 6;
inline constexpr int kSizesParams = 7;
inline constexpr int kSizesOptions = 23;

}  // namespace zevk::test
