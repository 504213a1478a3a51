// The eighteen generic blocks, each checked against its catalogue row, and
// the ZEVK_TCC_PWM walk-through both on a record and through a script.
#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "tests/generic_dialog.h"
#include "tools/zevk/script.h"

namespace zevk::test {
namespace {

enum class Variant { DynamicCode, FixedCode, AllDynamic };
enum class Rules { None, Unsigned, Integer, AllDynamic };

struct CatalogueRow {
    const char* name;
    int params;
    Variant variant;
    Rules rules;
    bool update;
};
void PrintTo(const CatalogueRow& r, std::ostream* os) { *os << r.name; }

const CatalogueRow kCatalogue[] = {
    {"ZEVK_TCC_PWM", 7, Variant::DynamicCode, Rules::Unsigned, true},
    {"ZEVK_PDEC", 7, Variant::DynamicCode, Rules::Integer, true},
    {"ZEVK_MSI", 7, Variant::DynamicCode, Rules::Unsigned, true},
    {"ZEVK_AFEC_QOR7x", 7, Variant::DynamicCode, Rules::Unsigned, true},
    {"ZEVK_OP_AMP", 7, Variant::DynamicCode, Rules::Unsigned, true},
    {"ZEVK_SECONDARY_CORE", 7, Variant::DynamicCode, Rules::Unsigned, true},
    {"ZEVK_PWM_QOR7x", 7, Variant::DynamicCode, Rules::Unsigned, true},
    {"ZEVK_MCPWM", 7, Variant::DynamicCode, Rules::Unsigned, true},
    {"ZEVK_ACC_QORx", 7, Variant::DynamicCode, Rules::Unsigned, true},
    {"ZEVK_BUS_SPI", 8, Variant::FixedCode, Rules::None, false},
    {"ZEVK_ADC_HighSpeed_SAR_tvREN", 7, Variant::FixedCode, Rules::None, false},
    {"ZEVK_BUS_I2C_MASTER", 8, Variant::FixedCode, Rules::None, false},
    {"ZEVK_HighSpeed_AnalogComparator", 7, Variant::FixedCode, Rules::None, false},
    {"ZEVK_PGA", 7, Variant::FixedCode, Rules::None, false},
    {"ZEVK_MCU_OVERLOAD", 7, Variant::FixedCode, Rules::None, false},
    {"ZEVK_ADC_HighSpeed_SAR", 7, Variant::FixedCode, Rules::None, false},
    {"ZEVK_Tasks_State", 7, Variant::FixedCode, Rules::None, false},
    {"ZEVK_PWM_HighSpeed_Override", 7, Variant::AllDynamic, Rules::AllDynamic, false},
};

// Codes that tell the variants apart: -1, -7, a bus and a built-in type.
Dialog probe(const CatalogueRow& row) {
    return Dialog{.inCodes = "[-1 -7 100 2]", .outCodes = "[100 3]", .inWidths = "[1 2 3 4]",
                  .outWidths = "[5 6]", .busNames = "{'BusA'}", .sampleTime = "[0.001 0.0005]", .options = "3",
                  .extra = row.params == 8 ? "0" : ""};
}

HostOptions knowsBusA() {
    HostOptions o;
    o.busTypes = {{"BusA", 40}};
    return o;
}

class Catalogue : public testing::TestWithParam<CatalogueRow> {};

TEST_P(Catalogue, MethodTable) {
    const CatalogueRow& row = GetParam();
    auto s = sized(row.name, probe(row), knowsBusA());
    std::vector<std::string> expected = {"mdlInitializeSizes", "mdlInitializeSampleTimes", "mdlOutputs"};
    if (row.update) expected.push_back("mdlUpdate");
    for (const char* m : {"mdlTerminate", "mdlRTW", "mdlGetTimeOfNextVarHit", "mdlZeroCrossings"}) {
        expected.push_back(m);
    }
    if (row.rules != Rules::None) {
        expected.push_back("mdlSetInputPortDataType");
        expected.push_back("mdlSetDefaultPortDataTypes");
    }
    EXPECT_EQ(s->installedMethods(), expected);
    EXPECT_EQ(s.state()["methods"], json(expected));
    EXPECT_EQ(s.state()["dimensionMethods"], false);

    EXPECT_EQ(s->method(105).errorStatus,
              row.update ? std::nullopt : std::optional<std::string>("Invalid flag encountered in simulink"));
    EXPECT_EQ(s->method(114).errorStatus, "Unexpected call to mdlSetOutputPortDataType");
    EXPECT_EQ(s->method(115).errorStatus, "Unexpected call to mdlSetInputPortWidth");
    EXPECT_EQ(s->method(126).errorStatus, "Unexpected call to mdlSetInputPortDimensionInfo");
    EXPECT_FALSE(s->method(119).errorStatus);
    EXPECT_FALSE(s->method(104).errorStatus);
    EXPECT_FALSE(s->method(107).errorStatus);
}

TEST_P(Catalogue, ParameterCountAndSizes) {
    const CatalogueRow& row = GetParam();
    auto s = sized(row.name, probe(row), knowsBusA());
    EXPECT_FALSE(s.sizes.mexError);
    const auto v = s.sizes.sizes().value();
    EXPECT_EQ(v[kSizesParams], row.params);
    EXPECT_EQ(v[kSizesInputs], 5);
    EXPECT_EQ(v[kSizesOutputs], 3);
    EXPECT_EQ(v[kSizesSampleTimes], 1);
    EXPECT_EQ(v[kSizesOptions], 0x2002);
    EXPECT_EQ(v[19], 8480229);
    EXPECT_EQ(s.state()["notTunable"].size(), static_cast<size_t>(row.params));

    // Sample time from parameter 5.
    EXPECT_FALSE(s->method(101).errorStatus);
    EXPECT_EQ(s.state()["sampleTimes"], json::parse("[[0.001, 0.0005]]"));

    // One parameter too few or too many: the expected count alone.
    for (int given : {row.params - 1, row.params + 1}) {
        auto p = probe(row).params();
        while (p.size() < static_cast<size_t>(given)) p.push_back(lit("0"));
        p.resize(static_cast<size_t>(given));
        auto wrong = sized(row.name, std::move(p), knowsBusA());
        const json st = wrong.state();
        EXPECT_EQ(st["sizes"][kSizesParams], row.params) << "given " << given;
        EXPECT_EQ(st["sizes"][kSizesInputs], 0) << "given " << given;
        EXPECT_EQ(st["sizes"][kSizesSampleTimes], 0) << "given " << given;
    }
}

TEST_P(Catalogue, Variant) {
    const CatalogueRow& row = GetParam();
    auto s = sized(row.name, probe(row), knowsBusA());
    const json st = s.state();
    std::vector<json> inputs;
    for (const auto& p : st["inputs"]) inputs.push_back(p["dtype"]);
    std::vector<json> expected;
    switch (row.variant) {
        case Variant::DynamicCode: expected = {-1, -1, 40, 2, 8}; break;
        case Variant::FixedCode: expected = {nullptr, nullptr, 40, 2, 8}; break;
        case Variant::AllDynamic: expected = {-1, -1, -1, -1, 8}; break;
    }
    EXPECT_EQ(inputs, expected);
    EXPECT_EQ(st["inputs"][2]["busAsStruct"], row.variant == Variant::AllDynamic ? json(nullptr) : json(true));
    EXPECT_EQ(st["outputs"][0]["dtype"], 40);
    EXPECT_EQ(st["outputs"][0]["busName"], "BusA");
    EXPECT_EQ(st["outputs"][1]["dtype"], 3);
    EXPECT_EQ(st["outputs"][2]["dtype"], 8);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(st["inputs"][i]["width"], i + 1);
}

TEST_P(Catalogue, RuleSet) {
    const CatalogueRow& row = GetParam();
    std::vector<int> taken;
    for (int proposal = 0; proposal <= 9; ++proposal) {
        auto s = sized(row.name, probe(row), knowsBusA());
        const CallResult r = s->method(113, 1, proposal);  // input 1 has code -7
        if (row.rules == Rules::None) {
            EXPECT_EQ(r.errorStatus, "Unexpected call to mdlSetInputPortDataType");
        } else if (!r.errorStatus) {
            taken.push_back(proposal);
        } else {
            EXPECT_EQ(r.errorStatus, "Invalid input or output port data type");
        }
    }
    auto s = sized(row.name, probe(row), knowsBusA());
    const CallResult defaults = s->method(132);
    switch (row.rules) {
        case Rules::None:
            EXPECT_EQ(defaults.errorStatus, "Unexpected call to mdlSetDefaultPortDataTypes");
            break;
        case Rules::Unsigned:
            EXPECT_EQ(taken, (std::vector<int>{3, 5, 7}));
            EXPECT_EQ(s.input(0)["dtype"], 0);
            EXPECT_EQ(s.input(1)["dtype"], 7);
            break;
        case Rules::Integer:
            EXPECT_EQ(taken, (std::vector<int>{2, 3, 4, 5, 6, 7, 8}));
            EXPECT_EQ(s.input(0)["dtype"], 0);
            EXPECT_EQ(s.input(1)["dtype"], 7);
            break;
        case Rules::AllDynamic:
            EXPECT_EQ(taken, (std::vector<int>{3, 5}));
            EXPECT_EQ(s.input(0)["dtype"], 5);
            EXPECT_EQ(s.input(1)["dtype"], 5);
            break;
    }
}

TEST_P(Catalogue, CommandLineQuery) {
    const CatalogueRow& row = GetParam();
    const auto params = probe(row).params();
    std::vector<const mxArray*> raw;
    for (const auto& a : params) raw.push_back(a.get());
    const CallResult r = host::commandLineSizes(block(row.name), raw);
    ASSERT_FALSE(r.mexError) << *r.mexError;
    const auto v = r.sizes().value();
    EXPECT_EQ(v[kSizesParams], row.params);
    EXPECT_EQ(v[kSizesInputs], 5);
    EXPECT_EQ(v[kSizesOutputs], 3);
    EXPECT_EQ(v[kSizesOptions], 0x2002);
    EXPECT_EQ(v[31], 2) << "the port-count flag of the standalone record";
}

INSTANTIATE_TEST_SUITE_P(Generic, Catalogue, testing::ValuesIn(kCatalogue),
                         [](const testing::TestParamInfo<CatalogueRow>& info) { return std::string(info.param.name); });

// --- ZEVK_TCC_PWM walk-through ----------------------------------------------------

const Dialog kExample{.inCodes = "[-7]", .outCodes = "[5]", .inWidths = "[1]", .outWidths = "[1]",
                      .busNames = "{}", .sampleTime = "0.001", .options = "1"};

TEST(GenericExample, TccPwmOnAHostRecord) {
    auto s = sized("ZEVK_TCC_PWM", kExample);
    const auto v = s.sizes.sizes().value();
    EXPECT_EQ(v[kSizesParams], 7);
    EXPECT_EQ(v[kSizesInputs], 2);
    EXPECT_EQ(v[kSizesOutputs], 1);
    EXPECT_EQ(v[kSizesSampleTimes], 1);
    EXPECT_EQ(v[kSizesOptions], 8194);
    EXPECT_EQ(s.input(0)["dtype"], -1);
    EXPECT_EQ(s.input(0)["width"], 1);
    EXPECT_EQ(s.input(1)["dtype"], 8);
    EXPECT_EQ(s.output(0)["dtype"], 5);

    EXPECT_EQ(s->method(113, 0, SS_INT32).errorStatus, "Invalid input or output port data type");
    EXPECT_FALSE(s->method(113, 0, SS_UINT16).errorStatus);
    EXPECT_EQ(s.input(0)["dtype"], 5);
    const CallResult defaults = s->method(132);
    EXPECT_TRUE(opsNamed(defaults, "ssSetInputPortDataType").empty()) << "nothing left open";
    EXPECT_FALSE(s->method(101).errorStatus);
    EXPECT_EQ(s.state()["sampleTimes"][0][0], 0.001);
    for (double flag : {104.0, 107.0}) {
        const CallResult r = s->method(flag);
        EXPECT_FALSE(r.errorStatus);
        EXPECT_TRUE(r.ops.empty());
    }
}

TEST(GenericExample, TccPwmThroughAScript) {
    const auto file = std::filesystem::path(__FILE__).parent_path() / "scripts" / "tcc_pwm_example.json";
    const json out = cli::runScript(cli::readScript(file), ZEVK_TEST_MEX_DIR);
    const json& steps = out["steps"];
    ASSERT_EQ(steps.size(), 7u);
    EXPECT_EQ(steps[0]["sizesVector"][kSizesOptions], 8194);
    EXPECT_EQ(steps[0]["record"]["inputs"][0]["dtype"], -1);
    EXPECT_EQ(steps[1]["error"], "Invalid input or output port data type");
    EXPECT_EQ(steps[1]["record"]["inputs"][0]["dtype"], -1);
    EXPECT_EQ(steps[2]["error"], nullptr);
    EXPECT_EQ(steps[2]["record"]["inputs"][0]["dtype"], 5);
    EXPECT_EQ(steps[3]["ops"], json::parse(R"([["ssGetSFcnParam", 0], ["ssGetInputPortDataType", 0]])"));
    EXPECT_EQ(steps[4]["record"]["sampleTimes"][0][0], 0.001);
    for (int i : {5, 6}) {
        EXPECT_EQ(steps[i]["ops"], json::array());
        EXPECT_EQ(steps[i]["error"], nullptr);
    }
}

}  // namespace
}  // namespace zevk::test
