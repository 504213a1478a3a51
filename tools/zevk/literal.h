// MATLAB literals typed on the command line or written in test tables,
// turned into host arrays: numbers, matrices, char vectors, logicals,
// cell arrays and numeric class casts such as int8([1 2]).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "host/mxarray.h"

namespace zevk::cli {

struct LiteralError {
    size_t position = 0;  // 0-based offset into the text
    std::string message;
};

// Returns nullptr on malformed input and, when error is given, says where
// and why.
zevk::host::ArrayPtr parseLiteral(std::string_view text, LiteralError* error);

}  // namespace zevk::cli
