// Writes the fuzzer's seed corpus: every session of the given scripts (the
// `zevk run` format, one script or a list of them per file) as one input.
//
//   fuzz_corpus OUT_DIR SCRIPT_OR_DIR...
//
// Beside the script calls, a seed may hold {"commandLine": true} (the
// command-line sizes query with the session's parameters) or
// {"commandLine": ["literal", ...]}, and {"junk": "text"} at the top level.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "fuzz/fuzz_input.h"
#include "glue/numeric.h"
#include "tools/zevk/literal.h"
#include "tools/zevk/script.h"

using namespace zevk;
using namespace zevk::fuzz;
using nlohmann::json;

namespace {

host::ArrayPtr literal(const json& text) {
    cli::LiteralError error;
    auto a = text.is_string() ? cli::parseLiteral(text.get<std::string>(), &error) : nullptr;
    if (!a) throw std::runtime_error("bad literal " + text.dump() + ": " + error.message);
    return a;
}

int32_t integer(const json& call, const char* key) {
    return call.contains(key) ? truncToInt32(call[key].get<double>()) : 0;
}

OfferedDims dims(const json& call) {
    OfferedDims d;
    if (!call.contains("dims")) return d;
    d.present = true;
    int64_t width = 1;
    for (const json& v : call["dims"]) {
        d.sizes.push_back(truncToInt32(v.get<double>()));
        width = std::clamp<int64_t>(width * d.sizes.back(), INT32_MIN, INT32_MAX);
    }
    d.width = call.contains("width") ? integer(call, "width") : static_cast<int32_t>(width);
    d.numDims = static_cast<int32_t>(d.sizes.size());
    if (call.contains("numDims")) {
        d.numDims = integer(call, "numDims");
        if (d.numDims > 0 && d.numDims <= kMaxOfferedSizes) d.sizes.resize(static_cast<size_t>(d.numDims), 1);
    }
    d.sizesNull = call.value("sizesNull", false) || d.numDims > kMaxOfferedSizes || d.sizes.empty();
    return d;
}

Call call(const json& j) {
    Call c;
    if (j.contains("mex")) {
        c.kind = Call::Kind::Mex;
        c.nlhs = j["mex"]["nlhs"].get<int>();
        for (const json& arg : j["mex"].value("rhs", json::array())) {
            RhsItem r;
            if (arg == "record") {
                r.kind = RhsItem::Kind::RecordPointer;
            } else {
                r.kind = RhsItem::Kind::Array;
                r.array = literal(arg);
            }
            c.rhs.push_back(std::move(r));
        }
    } else if (j.contains("commandLine")) {
        c.kind = Call::Kind::CommandLine;
        c.nlhs = j.value("nlhs", 1);
        if (j["commandLine"].is_array()) {
            for (const json& arg : j["commandLine"]) {
                RhsItem r;
                r.kind = RhsItem::Kind::Array;
                r.array = literal(arg);
                c.rhs.push_back(std::move(r));
            }
        }
    } else {
        c.flag = j.at("flag").get<double>();
        if (c.flag == 0.0 && !j.value("method", false)) {
            c.kind = Call::Kind::Sizes;
            return c;
        }
        c.kind = Call::Kind::Method;
        c.port = integer(j, "port");
        c.value = integer(j, "value");
        c.dims = dims(j);
        if (j.contains("time")) {
            c.sampleTime = j["time"][0].get<double>();
            c.offsetTime = j["time"][1].get<double>();
        }
    }
    return c;
}

Session session(const json& script) {
    Session s;
    const std::string name = script.at("block").get<std::string>();
    auto it = std::find(kBlocks.begin(), kBlocks.end(), name);
    if (it == kBlocks.end()) throw std::runtime_error("unknown block " + name);
    s.block = static_cast<size_t>(it - kBlocks.begin());
    s.options = host::HostOptions::fromJson(script.value("host", json(nullptr)));
    for (const json& p : script.value("params", json::array())) s.params.push_back(literal(p));
    const std::string junk = script.value("junk", std::string());
    s.junk.assign(junk.begin(), junk.end());
    for (const json& j : script.value("calls", json::array())) {
        Call c = call(j);
        // A command-line query without its own arguments takes the session's.
        if (c.kind == Call::Kind::CommandLine && !j["commandLine"].is_array()) {
            for (size_t k = 0; k < s.params.size(); ++k) {
                RhsItem r;
                r.kind = RhsItem::Kind::Param;
                r.param = k;
                c.rhs.push_back(std::move(r));
            }
        }
        s.calls.push_back(std::move(c));
    }
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: fuzz_corpus OUT_DIR SCRIPT_OR_DIR...\n";
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out);
    std::vector<std::filesystem::path> files;
    for (int i = 2; i < argc; ++i) {
        const std::filesystem::path p = argv[i];
        if (std::filesystem::is_directory(p)) {
            for (const auto& e : std::filesystem::directory_iterator(p)) {
                if (e.path().extension() == ".json") files.push_back(e.path());
            }
        } else {
            files.push_back(p);
        }
    }
    std::sort(files.begin(), files.end());
    size_t written = 0;
    try {
        for (const auto& file : files) {
            json scripts = cli::readScript(file);
            if (!scripts.is_array()) scripts = json::array({scripts});
            size_t n = 0;
            for (const json& script : scripts) {
                const std::vector<uint8_t> bytes = encode(session(script));
                // The fuzzer must read back the very session the script wrote.
                const Session back = decode(bytes.data(), bytes.size());
                if (encode(back) != bytes) throw std::runtime_error(file.string() + ": session does not round-trip");
                const auto path = out / (file.stem().string() + "-" + std::to_string(n++));
                std::ofstream(path, std::ios::binary)
                    .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
                ++written;
            }
        }
    } catch (const std::exception& e) {
        std::cerr << "fuzz_corpus: " << e.what() << "\n";
        return 1;
    }
    std::cout << written << " seeds in " << out.string() << "\n";
    return 0;
}
