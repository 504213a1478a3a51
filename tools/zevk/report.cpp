#include "tools/zevk/report.h"

#include <cstdio>
#include <iomanip>
#include <sstream>

namespace zevk::cli {

using nlohmann::json;

namespace {

std::string show(const json& v) {
    if (v.is_null()) return "-";
    if (v.is_string()) return v.get<std::string>();
    return v.dump();
}

const char* typeName(const json& id) {
    if (!id.is_number_integer()) return "";
    switch (id.get<int>()) {
        case 0: return " (double)";
        case 1: return " (single)";
        case 2: return " (int8)";
        case 3: return " (uint8)";
        case 4: return " (int16)";
        case 5: return " (uint16)";
        case 6: return " (int32)";
        case 7: return " (uint32)";
        case 8: return " (boolean)";
        case 9: return " (function call)";
        case -1: return " (dynamic)";
        default: return "";
    }
}

void printPort(std::ostream& out, const char* kind, size_t index, const json& p) {
    out << "  " << kind << " " << index << ": width " << show(p["width"]) << ", dtype " << show(p["dtype"])
        << typeName(p["dtype"]);
    if (!p["dims"].is_null()) out << ", dims " << p["dims"].dump();
    for (const char* key : {"feedthrough", "contiguous", "overwritable", "optim", "complex", "acceptExpr",
                            "outputExpr", "busAsStruct", "busMode", "busName"}) {
        if (!p[key].is_null()) out << ", " << key << " " << show(p[key]);
    }
    out << "\n";
}

}  // namespace

void printSizes(std::ostream& out, const std::vector<double>& sizes) {
    for (size_t i = 0; i < sizes.size(); ++i) {
        char value[64];
        std::snprintf(value, sizeof value, "%.17g", sizes[i]);
        out << std::setw(2) << i << "  " << std::left << std::setw(26) << host::sizesEntryName(static_cast<int>(i))
            << std::right << value;
        if (i == 23) {
            std::snprintf(value, sizeof value, "  (0x%llX)", static_cast<unsigned long long>(sizes[i]));
            out << value;
        }
        out << "\n";
    }
}

json describeRecord(const host::Record& record, const std::vector<host::CallResult>& calls) {
    json j = record.toJson();
    j["block"] = record.block().name();
    json errors = json::array(), requests = json::array();
    std::string printed;
    json mexError = nullptr, mexErrorId = nullptr;
    for (const auto& c : calls) {
        if (c.errorStatus) errors.push_back(*c.errorStatus);
        if (c.mexError) {
            mexError = *c.mexError;
            mexErrorId = *c.mexErrorId;
        }
        printed += c.printed;
        for (const auto& op : c.ops) {
            if (op[0] == "request") requests.push_back(op);
        }
    }
    j["errors"] = errors;
    j["mexError"] = mexError;
    j["mexErrorId"] = mexErrorId;
    j["printed"] = printed;
    j["requests"] = requests;
    return j;
}

void printDescription(std::ostream& out, const std::string& block, const json& d) {
    const json& sizes = d["sizes"];
    out << block << "\n";
    if (!d["mexError"].is_null()) out << "  MEX error: " << show(d["mexError"]) << "\n";
    out << "  parameters: expected " << sizes[7] << ", given " << d["paramsGiven"] << ", not tunable "
        << d["notTunable"].dump() << "\n";
    for (size_t i = 0; i < d["inputs"].size(); ++i) printPort(out, "input", i, d["inputs"][i]);
    for (size_t i = 0; i < d["outputs"].size(); ++i) printPort(out, "output", i, d["outputs"][i]);
    for (size_t i = 0; i < d["dwork"].size(); ++i) {
        const json& w = d["dwork"][i];
        out << "  work vector " << i << ": name " << show(w["name"]) << ", width " << show(w["width"]) << ", dtype "
            << show(w["dtype"]) << ", usage " << show(w["usage"]) << "\n";
    }
    out << "  sample times: " << sizes[6] << " declared";
    for (const json& t : d["sampleTimes"]) out << ", [" << show(t[0]) << ", " << show(t[1]) << "]";
    out << "\n";
    char options[64];
    std::snprintf(options, sizeof options, "0x%X", sizes[23].get<unsigned>());
    out << "  options: " << options << ", sizes flags " << sizes[31] << "\n";
    const json& a = d["async"];
    if (!a["timeSource"].is_null() || !a["priorities"].is_null()) {
        out << "  async: time source " << show(a["timeSource"]) << ", resolution " << show(a["resolution"])
            << ", timer data type " << show(a["timerDataType"]) << ", priorities " << show(a["priorities"]) << "\n";
    }
    if (!d["callSystemOutputs"].empty()) out << "  call-system outputs: " << d["callSystemOutputs"].dump() << "\n";
    for (const json& e : d["errors"]) out << "  error status: " << show(e) << "\n";
    if (!d["printed"].get<std::string>().empty()) out << "  printed: " << json(d["printed"]).dump() << "\n";
    for (const json& r : d["requests"]) out << "  request " << r.dump() << "\n";
    out << "  methods: ";
    for (size_t i = 0; i < d["methods"].size(); ++i) out << (i ? ", " : "") << show(d["methods"][i]);
    out << "\n";
}

void printRun(std::ostream& out, const json& run) {
    out << run["block"].get<std::string>() << "\n";
    size_t n = 0;
    for (const json& step : run["steps"]) {
        out << "step " << n++ << ": " << step["call"].dump() << "\n";
        for (const json& op : step["ops"]) out << "    " << op.dump() << "\n";
        if (!step["error"].is_null()) out << "  error status: " << show(step["error"]) << "\n";
        if (!step["mexError"].is_null()) {
            out << "  MEX error: " << show(step["mexError"]);
            if (!step["mexErrorId"].get<std::string>().empty()) out << " (" << show(step["mexErrorId"]) << ")";
            out << "\n";
        }
        if (!step["printed"].get<std::string>().empty()) out << "  printed: " << step["printed"].dump() << "\n";
        if (step.contains("sizesVector")) out << "  sizes: " << step["sizesVector"].dump() << "\n";
    }
}

}  // namespace zevk::cli
