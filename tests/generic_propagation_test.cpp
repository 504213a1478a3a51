// The rule sets that settle dynamically typed inputs of the generic blocks:
// proposals (flag 113) and defaults (flag 132), driven through the loader.
#include <algorithm>
#include <cstdint>
#include <ostream>
#include <vector>

#include "tests/generic_dialog.h"

namespace zevk::test {
namespace {

const char kInvalidType[] = "Invalid input or output port data type";
const char kInvalidPort[] = "Invalid call to mdlSetInputPortDataType";
const char kUnknownCode[] = "Error: Datatye not recognized\n";

constexpr int kSetInputType = 113;
constexpr int kDefaults = 132;

// Every id a host could propose, the odd ones included.
const std::vector<int32_t> kProposals = {INT32_MIN, -10, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 100};

Dialog dialogWithCodes(const std::string& codes, const std::string& options = "0") {
    return Dialog{.inCodes = codes, .outCodes = "[6]", .inWidths = "[1 1 1 1]", .outWidths = "[1]",
                  .options = options};
}

struct ProposalRow {
    const char* block;
    const char* codes;
    int32_t port;
    std::vector<int32_t> taken;  // empty: every proposal is ignored without a word
};
void PrintTo(const ProposalRow& r, std::ostream* os) { *os << r.block << " " << r.codes << " port " << r.port; }

class Proposals : public testing::TestWithParam<ProposalRow> {};

TEST_P(Proposals, TakenRejectedOrIgnored) {
    const ProposalRow& row = GetParam();
    for (int32_t proposal : kProposals) {
        SCOPED_TRACE(testing::Message() << "proposal " << proposal);
        auto s = sized(row.block, dialogWithCodes(row.codes));
        const json before = s.input(static_cast<size_t>(row.port))["dtype"];
        const CallResult r = s->method(kSetInputType, row.port, proposal);
        const bool taken = std::find(row.taken.begin(), row.taken.end(), proposal) != row.taken.end();
        if (row.taken.empty()) {
            EXPECT_FALSE(r.errorStatus);
            EXPECT_TRUE(opsNamed(r, "ssSetInputPortDataType").empty());
            EXPECT_EQ(s.input(static_cast<size_t>(row.port))["dtype"], before);
        } else if (taken) {
            EXPECT_FALSE(r.errorStatus) << *r.errorStatus;
            EXPECT_EQ(s.input(static_cast<size_t>(row.port))["dtype"], proposal);
        } else {
            EXPECT_EQ(r.errorStatus, kInvalidType);
            EXPECT_TRUE(opsNamed(r, "ssSetInputPortDataType").empty());
            EXPECT_EQ(s.input(static_cast<size_t>(row.port))["dtype"], -1) << "the port stays dynamically typed";
        }
        EXPECT_EQ(r.printed, "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Generic, Proposals,
    testing::Values(ProposalRow{"ZEVK_TCC_PWM", "[-1 -7 4 9]", 0, {0, 1}},
                    ProposalRow{"ZEVK_TCC_PWM", "[-1 -7 4 9]", 1, {3, 5, 7}},
                    ProposalRow{"ZEVK_TCC_PWM", "[-1 -7 4 9]", 2, {}},
                    ProposalRow{"ZEVK_TCC_PWM", "[-1 -7 4 9]", 3, {}},
                    ProposalRow{"ZEVK_MCPWM", "int8([-7])", 0, {3, 5, 7}},
                    ProposalRow{"ZEVK_PDEC", "[-1 -7 4 100]", 0, {0, 1}},
                    ProposalRow{"ZEVK_PDEC", "[-1 -7 4 100]", 1, {2, 3, 4, 5, 6, 7, 8}},
                    ProposalRow{"ZEVK_PDEC", "[-1 -7 4 100]", 2, {}},
                    ProposalRow{"ZEVK_PDEC", "[-1 -7 4 100]", 3, {}},
                    // The all-dynamic rule set never reads the codes.
                    ProposalRow{"ZEVK_PWM_HighSpeed_Override", "[0 8 -1 -7]", 0, {3, 5}},
                    ProposalRow{"ZEVK_PWM_HighSpeed_Override", "[0 8 -1 -7]", 3, {3, 5}}));

struct PortRow {
    const char* block;
    const char* codes;
    const char* options;
    int32_t port;
};
void PrintTo(const PortRow& r, std::ostream* os) {
    *os << r.block << " " << r.codes << " options " << r.options << " port " << r.port;
}

class PortRange : public testing::TestWithParam<PortRow> {};

// Only the listed inputs are settled; a negative index counts as too large.
TEST_P(PortRange, OutsideTheListIsAnInvalidCall) {
    const PortRow& row = GetParam();
    auto s = sized(row.block, dialogWithCodes(row.codes, row.options));
    const json before = s.state()["inputs"];
    const CallResult r = s->method(kSetInputType, row.port, SS_UINT8);
    EXPECT_EQ(r.errorStatus, kInvalidPort);
    EXPECT_TRUE(opsNamed(r, "ssSetInputPortDataType").empty());
    EXPECT_EQ(s.state()["inputs"], before);
}

INSTANTIATE_TEST_SUITE_P(Generic, PortRange,
                         testing::Values(PortRow{"ZEVK_TCC_PWM", "[-7 -7]", "1", 2},  // the extra boolean input
                                         PortRow{"ZEVK_TCC_PWM", "[-7 -7]", "0", 3},
                                         PortRow{"ZEVK_TCC_PWM", "[-7 -7]", "0", -1},
                                         PortRow{"ZEVK_PDEC", "[-7]", "0", INT32_MIN},
                                         PortRow{"ZEVK_PDEC", "[]", "1", 0},
                                         PortRow{"ZEVK_PWM_HighSpeed_Override", "[0]", "1", 1},
                                         PortRow{"ZEVK_PWM_HighSpeed_Override", "[0]", "0", -1},
                                         PortRow{"ZEVK_PWM_HighSpeed_Override", "{1, 2}", "0", 0}));

// --- defaults -----------------------------------------------------------------

std::vector<json> inputTypes(const Sized& s) {
    const json state = s.state();
    std::vector<json> out;
    for (const auto& p : state["inputs"]) out.push_back(p["dtype"]);
    return out;
}

TEST(GenericDefaults, DynamicCodesSettleByCode) {
    for (const char* name : {"ZEVK_TCC_PWM", "ZEVK_PDEC"}) {
        SCOPED_TRACE(name);
        auto s = sized(name, dialogWithCodes("[-1 -7 4]", "3"));
        const CallResult r = s->method(kDefaults);
        EXPECT_FALSE(r.errorStatus);
        EXPECT_EQ(r.printed, "");
        EXPECT_EQ(inputTypes(s), (std::vector<json>{0, 7, 4, 8}));
        EXPECT_EQ(s.output(0)["dtype"], 6);
        EXPECT_EQ(s.output(1)["dtype"], 8);
    }
}

TEST(GenericDefaults, TakenProposalsStay) {
    auto s = sized("ZEVK_TCC_PWM", dialogWithCodes("[-1 -7 -7]"));
    s->method(kSetInputType, 0, SS_SINGLE);
    s->method(kSetInputType, 1, SS_UINT8);
    const CallResult r = s->method(kDefaults);
    EXPECT_EQ(opsNamed(r, "ssSetInputPortDataType"), (std::vector<json>{json::parse(R"(["ssSetInputPortDataType", 2, 7])")}));
    EXPECT_EQ(inputTypes(s), (std::vector<json>{1, 3, 7}));
    // A second pass finds nothing left open.
    EXPECT_TRUE(opsNamed(s->method(kDefaults), "ssSetInputPortDataType").empty());
}

TEST(GenericDefaults, AllDynamicSettlesToUint16) {
    auto s = sized("ZEVK_PWM_HighSpeed_Override", dialogWithCodes("[0 8 -1]", "1"));
    EXPECT_EQ(inputTypes(s), (std::vector<json>{-1, -1, -1, 8}));
    s->method(kSetInputType, 1, SS_UINT8);
    const CallResult r = s->method(kDefaults);
    EXPECT_EQ(r.printed, "");
    EXPECT_EQ(inputTypes(s), (std::vector<json>{5, 3, 5, 8}));
}

// A bus input whose registration the host could not answer stays
// dynamically typed; its code is neither -1 nor -7.
TEST(GenericDefaults, UnknownCodeIsPrintedAndThePassGoesOn) {
    HostOptions o;
    o.genericFunction = false;
    for (const char* name : {"ZEVK_TCC_PWM", "ZEVK_PDEC"}) {
        SCOPED_TRACE(name);
        auto s = sized(name,
                       Dialog{.inCodes = "[100 -7 101]", .inWidths = "[1 1 1]", .busNames = "{'BusA', 'BusB'}"}, o);
        ASSERT_EQ(inputTypes(s), (std::vector<json>{-1, -1, -1}));
        const CallResult r = s->method(kDefaults);
        EXPECT_EQ(r.printed, std::string(kUnknownCode) + kUnknownCode);
        EXPECT_FALSE(r.errorStatus);
        EXPECT_EQ(inputTypes(s), (std::vector<json>{-1, 7, -1}));
    }
    auto s = sized("ZEVK_PWM_HighSpeed_Override",
                   Dialog{.inCodes = "[100 -7]", .inWidths = "[1 1]", .busNames = "{'BusA'}"}, o);
    const CallResult r = s->method(kDefaults);
    EXPECT_EQ(r.printed, "");
    EXPECT_EQ(inputTypes(s), (std::vector<json>{5, 5}));
}

// Full-width counters: the 300th port is as much a listed input as the first.
TEST(GenericDefaults, LongListsAreSettledToTheEnd) {
    const std::string codes = repeated("-7", 300);
    auto s = sized("ZEVK_TCC_PWM", Dialog{.inCodes = codes, .inWidths = repeated("1", 300), .options = "1"});
    EXPECT_FALSE(s->method(kSetInputType, 299, SS_UINT16).errorStatus);
    EXPECT_EQ(s->method(kSetInputType, 300, SS_UINT16).errorStatus, kInvalidPort);
    s->method(kDefaults);
    const auto types = inputTypes(s);
    ASSERT_EQ(types.size(), 301u);
    EXPECT_EQ(types[0], 7);
    EXPECT_EQ(types[256], 7);
    EXPECT_EQ(types[299], 5);
    EXPECT_EQ(types[300], 8);
}

}  // namespace
}  // namespace zevk::test
