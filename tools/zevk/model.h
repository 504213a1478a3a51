// A model file: block instances of the blockset, the lines between their
// ports and the named bus types the host knows. Reading one checks its
// shape completely, so that the compile only meets mistakes that need the
// blocks to find.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/mxarray.h"

namespace zevk::cli {

struct ModelBlock {
    std::string name;   // instance name, unique in the model
    std::string block;  // deliverable
    std::vector<host::ArrayPtr> params;
    std::vector<std::string> paramTexts;  // as written, for the report
    std::optional<size_t> task;           // instance whose function-call output runs this one
    std::string pointer;                  // JSON pointer of the instance, e.g. /blocks/3
};

struct ModelEndpoint {
    size_t block = 0;
    int port = 0;
};

// One source feeding one destination; "to" lists expand to several.
struct ModelLine {
    ModelEndpoint from, to;
    std::string pointer;  // of the destination entry, e.g. /lines/2 or /lines/2/to/1
};

// Where each value of the model text starts, found on demand.
class SourceMap {
public:
    explicit SourceMap(std::string text = {}) : text_(std::move(text)) {}
    // 1-based line and column of the value at `pointer`, {0, 0} when unknown.
    std::pair<int, int> locate(const std::string& pointer) const;
    int lineOf(const std::string& pointer) const { return locate(pointer).first; }
    // 1-based line and column of a 0-based byte offset.
    std::pair<int, int> position(size_t offset) const;

private:
    std::string text_;
    mutable std::unique_ptr<std::map<std::string, size_t>> offsets_;
    mutable std::vector<size_t> lineStarts_;
};

struct Model {
    std::string name;
    std::string file;  // as given, for messages
    std::map<std::string, int> busTypes;
    std::vector<ModelBlock> blocks;
    std::vector<ModelLine> lines;
    SourceMap source;

    Model() = default;
    Model(Model&&) = default;
    Model& operator=(Model&&) = default;
};

// Why a text is not a model: where, and what is wrong.
struct ModelProblem {
    std::string pointer;  // empty for a syntax error
    int line = 0;
    int column = 0;
    std::string message;
};

struct ModelError {
    std::string file;
    std::vector<ModelProblem> problems;
    // "FILE:LINE:COL: POINTER: message", one per line.
    std::string what() const;
};

// Reads a model from JSON text; throws ModelError.
Model parseModel(std::string text, std::string file = "model");
// Reads a model file; throws ModelError (also when the file cannot be read).
Model readModel(const std::string& path);

}  // namespace zevk::cli
