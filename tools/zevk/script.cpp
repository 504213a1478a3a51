#include "tools/zevk/script.h"

#include <fstream>
#include <sstream>

#include "glue/numeric.h"
#include "host/host.h"
#include "tools/zevk/literal.h"

namespace zevk::cli {

using nlohmann::json;
using namespace zevk::host;

namespace {

ArrayPtr literal(const json& text, const std::string& what) {
    if (!text.is_string()) throw ScriptError(what + " must be a MATLAB literal in a string");
    LiteralError error;
    auto a = parseLiteral(text.get<std::string>(), &error);
    if (!a) {
        throw ScriptError(what + " " + text.dump() + ": at position " + std::to_string(error.position) + ": " +
                          error.message);
    }
    return a;
}

int32_t integer(const json& call, const char* key, int32_t fallback) {
    if (!call.contains(key)) return fallback;
    const json& v = call[key];
    if (!v.is_number()) throw ScriptError(std::string("\"") + key + "\" must be a number");
    return truncToInt32(v.get<double>());
}

// The DimsInfo_T a call offers, with storage that outlives the call.
struct OfferedDims {
    std::vector<int32_t> sizes;
    DimsInfo_T info{};
};

std::optional<OfferedDims> offeredDims(const json& call) {
    if (!call.contains("dims")) return std::nullopt;
    const json& d = call["dims"];
    if (!d.is_array()) throw ScriptError("\"dims\" must be a list of sizes");
    OfferedDims o;
    for (const json& v : d) {
        if (!v.is_number()) throw ScriptError("\"dims\" must hold numbers");
        o.sizes.push_back(truncToInt32(v.get<double>()));
    }
    int64_t width = 1;
    for (int32_t s : o.sizes) width = std::clamp<int64_t>(width * s, INT32_MIN, INT32_MAX);
    o.info.width = static_cast<int32_t>(width);
    o.info.numDims = static_cast<int32_t>(o.sizes.size());
    if (call.contains("width")) o.info.width = integer(call, "width", 0);
    if (call.contains("numDims")) {
        // A host may claim more sizes than it lists; the storage still holds
        // as many as it claims (up to a bound) so the claim is honest.
        o.info.numDims = integer(call, "numDims", 0);
        if (o.info.numDims > 0 && static_cast<size_t>(o.info.numDims) > o.sizes.size()) {
            o.sizes.resize(std::min<size_t>(static_cast<size_t>(o.info.numDims), 1u << 16), 1);
            o.info.numDims = static_cast<int32_t>(o.sizes.size());
        }
    }
    o.info.dims = o.sizes.empty() ? nullptr : o.sizes.data();
    if (call.value("sizesNull", false)) o.info.dims = nullptr;
    return o;
}

json runCall(Record& record, const json& call) {
    if (!call.is_object()) throw ScriptError("each call must be an object");
    CallResult result;
    if (call.contains("mex")) {
        const json& m = call["mex"];
        if (!m.is_object() || !m.contains("nlhs") || !m["nlhs"].is_number_integer())
            throw ScriptError("\"mex\" needs an integer \"nlhs\"");
        std::vector<ArrayPtr> owned;
        std::vector<const mxArray*> rhs;
        if (m.contains("rhs")) {
            if (!m["rhs"].is_array()) throw ScriptError("\"rhs\" must be a list");
            for (const json& arg : m["rhs"]) {
                if (arg == "record") {
                    rhs.push_back(nullptr);
                } else {
                    owned.push_back(literal(arg, "right-hand argument"));
                    rhs.push_back(owned.back().get());
                }
            }
        }
        result = record.mex(m["nlhs"].get<int>(), rhs);
    } else if (call.contains("flag")) {
        if (!call["flag"].is_number()) throw ScriptError("\"flag\" must be a number");
        const double flag = call["flag"].get<double>();
        if (flag == 0.0 && !call.value("method", false)) {
            result = record.sizesQuery();
        } else {
            auto dims = offeredDims(call);
            double time = 0.0, offset = 0.0;
            if (call.contains("time")) {
                const json& t = call["time"];
                if (!t.is_array() || t.size() != 2 || !t[0].is_number() || !t[1].is_number())
                    throw ScriptError("\"time\" must be [sampleTime, offset]");
                time = t[0].get<double>();
                offset = t[1].get<double>();
            }
            result = record.method(flag, integer(call, "port", 0), integer(call, "value", 0),
                                   dims ? &dims->info : nullptr, time, offset);
        }
    } else {
        throw ScriptError("a call needs \"flag\" or \"mex\"");
    }
    json step = callToJson(result);
    step["call"] = call;
    step["record"] = record.toJson();
    return step;
}

}  // namespace

json readScript(const std::filesystem::path& file) {
    std::ifstream in(file);
    if (!in) throw ScriptError("cannot read " + file.string());
    try {
        return json::parse(in, nullptr, true, /*ignore_comments=*/true);
    } catch (const json::parse_error& e) {
        throw ScriptError(file.string() + ": " + e.what());
    }
}

json runScript(const json& script, const std::filesystem::path& blockDir) {
    if (!script.is_object() || !script.contains("block") || !script["block"].is_string())
        throw ScriptError("a script is an object with a \"block\" name");
    const std::string name = script["block"].get<std::string>();
    std::vector<ArrayPtr> params;
    if (script.contains("params")) {
        if (!script["params"].is_array()) throw ScriptError("\"params\" must be a list of MATLAB literals");
        size_t i = 0;
        for (const json& p : script["params"]) params.push_back(literal(p, "parameter " + std::to_string(i++)));
    }
    HostOptions options;
    try {
        options = HostOptions::fromJson(script.value("host", json(nullptr)));
    } catch (const std::invalid_argument& e) {
        throw ScriptError(e.what());
    }
    if (script.contains("calls") && !script["calls"].is_array()) throw ScriptError("\"calls\" must be a list");

    std::string error;
    auto block = Deliverable::load(blockDir, name, &error);
    if (!block) throw ScriptError(error);
    json steps = json::array();
    {
        Record record(*block, std::move(params), options);
        for (const json& call : script.value("calls", json::array())) steps.push_back(runCall(record, call));
    }
    return {{"block", name}, {"steps", steps}};
}

}  // namespace zevk::cli
