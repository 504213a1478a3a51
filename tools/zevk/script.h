// Scripted host sessions for `zevk run`: one record, a list of calls.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

namespace zevk::cli {

struct ScriptError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Runs the script against the deliverables in blockDir and returns
// {"block": NAME, "steps": [...]}. Throws ScriptError for a script that is
// not valid, and for a block that cannot be loaded.
nlohmann::json runScript(const nlohmann::json& script, const std::filesystem::path& blockDir);

// The script read from a file, // comments allowed.
nlohmann::json readScript(const std::filesystem::path& file);

// Host arrays from MATLAB literals; throws ScriptError naming `what`.
}  // namespace zevk::cli
