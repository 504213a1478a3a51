#include "tests/support.h"

#include <map>

#include "tests/block_names.h"
#include "tools/zevk/literal.h"

namespace zevk::test {

const host::Deliverable& block(const std::string& name) {
    static std::map<std::string, std::unique_ptr<host::Deliverable>> loaded;
    auto it = loaded.find(name);
    if (it == loaded.end()) {
        std::string error;
        auto d = host::Deliverable::load(ZEVK_TEST_MEX_DIR, name, &error);
        if (!d) {
            ADD_FAILURE() << error;
            throw std::runtime_error(error);
        }
        it = loaded.emplace(name, std::move(d)).first;
    }
    return *it->second;
}

ArrayPtr lit(std::string_view text) {
    cli::LiteralError error;
    auto a = cli::parseLiteral(text, &error);
    if (!a) {
        ADD_FAILURE() << "bad literal " << text << ": " << error.message;
        return host::makeEmpty();
    }
    return a;
}

std::vector<ArrayPtr> lits(std::initializer_list<std::string_view> texts) {
    std::vector<ArrayPtr> out;
    for (auto t : texts) out.push_back(lit(t));
    return out;
}

Sized sized(const std::string& name, std::vector<ArrayPtr> params, HostOptions options) {
    Sized s;
    s.record = std::make_unique<Record>(block(name), std::move(params), std::move(options));
    s.sizes = s.record->sizesQuery();
    return s;
}

Sized sized(const std::string& name, std::initializer_list<std::string_view> params, HostOptions options) {
    return sized(name, lits(params), std::move(options));
}

CallResult commandLine(const std::string& name, std::initializer_list<std::string_view> params) {
    auto arrays = lits(params);
    std::vector<const mxArray*> raw;
    for (auto& a : arrays) raw.push_back(a.get());
    return host::commandLineSizes(block(name), raw);
}

std::vector<double> sizesVector(const std::string& name, std::initializer_list<std::string_view> params) {
    CallResult r = commandLine(name, params);
    EXPECT_FALSE(r.mexError) << *r.mexError;
    return r.sizes().value_or(std::vector<double>{});
}

std::vector<json> opsNamed(const CallResult& r, std::string_view op) {
    std::vector<json> out;
    for (const auto& o : r.ops) {
        if (o[0] == op) out.push_back(o);
    }
    return out;
}

const std::vector<std::string>& allBlocks() {
    static const std::vector<std::string> names(kBlockNames.begin(), kBlockNames.end());
    return names;
}

}  // namespace zevk::test
