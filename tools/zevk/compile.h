// `zevk compile`: what the host does to a model of these blocks when it
// updates the diagram. One host record per instance, sizes first, then data
// types and dimensions settled along the lines to a fixed point, defaults,
// sample times, the checks of every line and port, and terminate. Every
// complaint of a block or of the host becomes a diagnostic tagged with the
// instance it concerns.
#pragma once

#include <filesystem>
#include <ostream>

#include <nlohmann/json.hpp>

#include "host/host.h"
#include "tools/zevk/model.h"

namespace zevk::cli {

struct CompileOptions {
    std::filesystem::path blockDir = host::Deliverable::defaultDirectory();
};

// The compiled model: every instance with its ports (settled data type,
// size, sample time, connections) and the diagnostics. See
// docs/model-format.md for the fields.
nlohmann::json compileModel(const Model& model, const CompileOptions& options = {});

// 0 when the compile found no error, 1 otherwise.
int compileExitStatus(const nlohmann::json& compiled);

void printCompileReport(std::ostream& out, const nlohmann::json& compiled);

// The whole `zevk compile FILE`: the report (or JSON) on out, a file that is
// not a model on err. Returns the exit status: 0 clean, 1 errors, 2 not a
// valid model.
int compileCommand(const std::filesystem::path& blockDir, const std::string& file, bool asJson, std::ostream& out,
                   std::ostream& err);

}  // namespace zevk::cli
