// zevk: the blockset's deliverables driven from the command line by the
// host of our own.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "host/host.h"
#include "tools/zevk/compile.h"
#include "tools/zevk/literal.h"
#include "tools/zevk/report.h"
#include "tools/zevk/script.h"

using nlohmann::json;
using namespace zevk::host;
using namespace zevk::cli;

namespace {

constexpr int kExitMexError = 1;
constexpr int kExitUsage = 2;

struct BadArgument {
    std::string message;
};

std::vector<ArrayPtr> parseParams(const std::vector<std::string>& texts) {
    std::vector<ArrayPtr> params;
    for (size_t i = 0; i < texts.size(); ++i) {
        LiteralError error;
        auto a = parseLiteral(texts[i], &error);
        if (!a) {
            throw BadArgument{"parameter " + std::to_string(i) + " (" + texts[i] + "): at position " +
                              std::to_string(error.position) + ": " + error.message};
        }
        params.push_back(std::move(a));
    }
    return params;
}

std::unique_ptr<Deliverable> loadBlock(const std::string& dir, const std::string& name) {
    std::string error;
    auto block = Deliverable::load(dir, name, &error);
    if (!block) throw BadArgument{error};
    return block;
}

int sizesCommand(const std::string& dir, const std::string& name, const std::vector<std::string>& texts,
                 bool asJson) {
    auto params = parseParams(texts);
    auto block = loadBlock(dir, name);
    std::vector<const mxArray*> args;
    for (auto& p : params) args.push_back(p.get());
    CallResult r = commandLineSizes(*block, args);
    std::cout << r.printed;
    if (r.mexError) {
        std::cerr << *r.mexError << "\n";
        return kExitMexError;
    }
    auto sizes = r.sizes().value_or(std::vector<double>{});
    if (asJson) {
        json out = json::array();
        for (double v : sizes) out.push_back(jsonNumber(v));
        std::cout << json{{"sizes", out}}.dump() << "\n";
    } else {
        printSizes(std::cout, sizes);
    }
    return 0;
}

int describeCommand(const std::string& dir, const std::string& name, const std::vector<std::string>& texts,
                    bool asJson) {
    auto params = parseParams(texts);
    auto block = loadBlock(dir, name);
    Record record(*block, std::move(params));
    std::vector<CallResult> calls;
    calls.push_back(record.sizesQuery());
    if (!calls.back().mexError) calls.push_back(record.method(101));
    json described = describeRecord(record, calls);
    if (asJson) {
        std::cout << described.dump(2) << "\n";
    } else {
        printDescription(std::cout, name, described);
    }
    return calls.front().mexError ? kExitMexError : 0;
}

int runCommand(const std::string& dir, const std::string& file, bool asJson) {
    json result;
    try {
        result = runScript(readScript(file), dir);
    } catch (const ScriptError& e) {
        throw BadArgument{e.what()};
    }
    if (asJson) {
        std::cout << result.dump(2) << "\n";
    } else {
        printRun(std::cout, result);
    }
    return 0;
}

// The parameters of `sizes` and `describe` are MATLAB literals and go to the
// block untouched: an argument parser would split "[1,2]" into a list and
// read -1 as an option. They are everything after the block name except
// this tool's own --json. Returns the rest, in CLI11's reversed order.
std::vector<std::string> splitParams(int argc, char** argv, std::vector<std::string>* params) {
    std::vector<std::string> kept;
    int i = 1;
    for (; i < argc; ++i) {
        std::string a = argv[i];
        kept.push_back(a);
        if (a == "--blocks" && i + 1 < argc) {
            kept.push_back(argv[++i]);
        } else if (a == "sizes" || a == "describe") {
            break;
        }
    }
    bool blockSeen = false;
    for (++i; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--json" || a == "--help" || a == "-h") {
            kept.push_back(a);
        } else if (a == "--blocks" && i + 1 < argc) {
            kept.push_back(a);
            kept.push_back(argv[++i]);
        } else if (!blockSeen) {
            kept.push_back(a);
            blockSeen = true;
        } else {
            params->push_back(a);
        }
    }
    std::reverse(kept.begin(), kept.end());
    return kept;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"zevk: describe the blockset's deliverables through the host of our own"};
    app.require_subcommand(1);
    // Paths such as /tmp/model.json are arguments, not "/option"s, on every system.
    app.allow_windows_style_options(false);
    std::string blockDir = Deliverable::defaultDirectory().string();
    app.add_option("--blocks", blockDir, "Folder of the deliverables")->capture_default_str();

    bool asJson = false;
    std::string block;  // PARAM ... follows it
    std::vector<std::string> params;

    auto* sizes = app.add_subcommand("sizes", "The command-line sizes query: BLOCK([],[],[],0,PARAM...)");
    sizes->add_option("block", block, "Block name")->required();
    sizes->footer("PARAM ...: dialog parameters as MATLAB literals (0.01, [3 5], {'BusA'}, int32(7), -Inf)");
    sizes->add_flag("--json", asJson, "Print {\"sizes\": [...]}");

    auto* describe = app.add_subcommand("describe", "What a block declares on a fresh host record");
    describe->add_option("block", block, "Block name")->required();
    describe->footer("PARAM ...: dialog parameters as MATLAB literals");
    describe->add_flag("--json", asJson, "Print the record as JSON");

    std::string script;
    auto* run = app.add_subcommand("run", "A scripted host session");
    run->add_option("script", script, "Script file (JSON)")->required();
    run->add_flag("--json", asJson, "Print the steps as JSON");

    std::string modelFile;
    auto* compile = app.add_subcommand("compile", "Compile a model: settle every port, check every line");
    compile->add_option("model", modelFile, "Model file (JSON, see docs/model-format.md)")->required();
    compile->add_flag("--json", asJson, "Print the compiled model as JSON");
    compile->footer("Exit status: 0 clean, 1 errors in the model, 2 not a valid model file");

    std::vector<std::string> args = splitParams(argc, argv, &params);
    try {
        app.parse(args);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : kExitUsage;
    }

    try {
        if (*sizes) return sizesCommand(blockDir, block, params, asJson);
        if (*describe) return describeCommand(blockDir, block, params, asJson);
        if (*run) return runCommand(blockDir, script, asJson);
        if (*compile) return compileCommand(blockDir, modelFile, asJson, std::cout, std::cerr);
    } catch (const BadArgument& e) {
        std::cerr << "zevk: " << e.message << "\n";
        return kExitUsage;
    }
    return kExitUsage;
}
