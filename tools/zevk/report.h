// Readable and JSON forms of what a block declared.
#pragma once

#include <ostream>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/host.h"

namespace zevk::cli {

void printSizes(std::ostream& out, const std::vector<double>& sizes);
// The record after the calls, with their error texts, printed text and
// generic requests.
nlohmann::json describeRecord(const host::Record& record, const std::vector<host::CallResult>& calls);
void printDescription(std::ostream& out, const std::string& block, const nlohmann::json& described);
void printRun(std::ostream& out, const nlohmann::json& run);

}  // namespace zevk::cli
