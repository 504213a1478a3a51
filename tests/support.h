// What the loader-driven tests share: deliverables loaded once per test
// program, parameters written as MATLAB literals, records sized the way the
// host sizes them.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "host/host.h"

namespace zevk::test {

using host::ArrayPtr;
using host::CallResult;
using host::HostOptions;
using host::Record;
using nlohmann::json;

// The deliverable from the build's mex folder; fails the test if missing.
const host::Deliverable& block(const std::string& name);

// A MATLAB literal as a host array; fails the test if malformed.
ArrayPtr lit(std::string_view text);
std::vector<ArrayPtr> lits(std::initializer_list<std::string_view> texts);

// A fresh host record of `name` after the host-made sizes query.
struct Sized {
    std::unique_ptr<Record> record;
    CallResult sizes;  // the result of the sizes query itself

    Record& operator*() { return *record; }
    Record* operator->() { return record.get(); }
    json state() const { return record->toJson(); }
    json input(size_t i) const { return record->toJson()["inputs"].at(i); }
    json output(size_t i) const { return record->toJson()["outputs"].at(i); }
};
Sized sized(const std::string& name, std::initializer_list<std::string_view> params, HostOptions options = {});
Sized sized(const std::string& name, std::vector<ArrayPtr> params, HostOptions options = {});

// The command-line sizes query BLOCK([],[],[],0,PARAM...).
CallResult commandLine(const std::string& name, std::initializer_list<std::string_view> params);
// Its sizes vector; fails the test on a MEX error.
std::vector<double> sizesVector(const std::string& name, std::initializer_list<std::string_view> params);

// The ops of a call whose name is `op`, e.g. all "ssSetInputPortDataType".
std::vector<json> opsNamed(const CallResult& r, std::string_view op);

// Every block of the blockset's 64-bit build.
const std::vector<std::string>& allBlocks();

}  // namespace zevk::test
