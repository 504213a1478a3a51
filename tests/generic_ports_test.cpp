// The typed port lists of the generic blocks, as the host sees them after
// its sizes query: type codes by variant, widths, option bits, parameter
// classes and counts, bus ports and their failures, long lists.
#include <cstdint>
#include <optional>
#include <ostream>

#include "tests/generic_dialog.h"

namespace zevk::test {
namespace {

const char kMissingBusName[] = "Error: C Function Call: Error Registering Bus Datatype\n";
const json kNone = nullptr;

HostOptions withBuses() {
    HostOptions o;
    o.busTypes = {{"BusA", 40}, {"BusB", 41}, {"BusC", 42}};
    return o;
}

// --- type codes ---------------------------------------------------------------

struct CodeRow {
    const char* code;
    const char* buses;
    json dynamicInput;  // input of the dynamic-code variant
    json fixed;         // input of the fixed-code variant, and every output
};
void PrintTo(const CodeRow& r, std::ostream* os) { *os << "code " << r.code << " with names " << r.buses; }

class TypeCodes : public testing::TestWithParam<CodeRow> {};

TEST_P(TypeCodes, DecodeByVariant) {
    const CodeRow& row = GetParam();
    const Dialog d{.inCodes = row.code, .outCodes = row.code, .inWidths = "[1]", .outWidths = "[1]",
                   .busNames = row.buses};
    auto dynamic = sized("ZEVK_TCC_PWM", d, withBuses());
    auto fixed = sized("ZEVK_PGA", d, withBuses());
    auto allDynamic = sized("ZEVK_PWM_HighSpeed_Override", d, withBuses());

    EXPECT_EQ(dynamic.input(0)["dtype"], row.dynamicInput);
    EXPECT_EQ(dynamic.output(0)["dtype"], row.fixed);
    EXPECT_EQ(fixed.input(0)["dtype"], row.fixed);
    EXPECT_EQ(fixed.output(0)["dtype"], row.fixed);
    // Only the element count of parameter 0 matters here: never a bus input.
    EXPECT_EQ(allDynamic.input(0)["dtype"], -1);
    EXPECT_EQ(allDynamic.input(0)["busAsStruct"], kNone);
    EXPECT_EQ(allDynamic.output(0)["dtype"], row.fixed);
    for (auto* s : {&dynamic, &fixed, &allDynamic}) {
        EXPECT_EQ(s->input(0)["feedthrough"], 1) << "every listed input, whatever its type";
        EXPECT_EQ(s->sizes.printed, "") << "no code is worth a message";
        EXPECT_FALSE(s->sizes.errorStatus);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Generic, TypeCodes,
    testing::Values(CodeRow{"0", "{}", 0, 0}, CodeRow{"5", "{}", 5, 5}, CodeRow{"8", "{}", 8, 8},
                    CodeRow{"8.9", "{}", 8, 8}, CodeRow{"-0.5", "{}", 0, 0}, CodeRow{"-0", "{}", 0, 0},
                    CodeRow{"-1", "{}", -1, kNone}, CodeRow{"-7", "{}", -1, kNone},
                    CodeRow{"-7.9", "{}", -1, kNone}, CodeRow{"-2", "{}", kNone, kNone},
                    CodeRow{"-100", "{'BusA'}", kNone, kNone}, CodeRow{"9", "{}", kNone, kNone},
                    CodeRow{"99", "{'BusA'}", kNone, kNone}, CodeRow{"100", "{}", kNone, kNone},
                    CodeRow{"100", "{'BusA','BusB'}", 40, 40}, CodeRow{"101", "{'BusA','BusB'}", 41, 41},
                    CodeRow{"101.7", "{'BusA','BusB'}", 41, 41}, CodeRow{"102", "{'BusA','BusB'}", kNone, kNone},
                    CodeRow{"NaN", "{'BusA'}", kNone, kNone}, CodeRow{"Inf", "{'BusA'}", kNone, kNone},
                    CodeRow{"-Inf", "{'BusA'}", kNone, kNone}, CodeRow{"1e300", "{'BusA'}", kNone, kNone},
                    CodeRow{"2147483648", "{'BusA'}", kNone, kNone},
                    CodeRow{"-2147483549", "{'BusA'}", kNone, kNone},
                    CodeRow{"4294967296", "{'BusA'}", kNone, kNone},
                    // Other classes are read by their value.
                    CodeRow{"int32(-7)", "{}", -1, kNone}, CodeRow{"single(3.5)", "{}", 3, 3},
                    CodeRow{"logical(1)", "{}", 1, 1}, CodeRow{"uint8(101)", "{'BusA','BusB'}", 41, 41}));

// --- widths -------------------------------------------------------------------

struct WidthRow {
    const char* entry;
    int32_t width;
};
void PrintTo(const WidthRow& r, std::ostream* os) { *os << "width entry " << r.entry; }

class Widths : public testing::TestWithParam<WidthRow> {};

TEST_P(Widths, TestedAsDoubleThenTruncated) {
    const std::string entry = std::string("[") + GetParam().entry + "]";
    auto s = sized("ZEVK_TCC_PWM", Dialog{.inCodes = "[0]", .outCodes = "[0]", .inWidths = entry, .outWidths = entry});
    EXPECT_EQ(s.input(0)["width"], GetParam().width);
    EXPECT_EQ(s.output(0)["width"], GetParam().width);
}

INSTANTIATE_TEST_SUITE_P(Generic, Widths,
                         testing::Values(WidthRow{"-3", -1}, WidthRow{"-0.5", -1}, WidthRow{"-Inf", -1},
                                         WidthRow{"0", 1}, WidthRow{"-0", 1}, WidthRow{"0.5", 0},
                                         WidthRow{"4", 4}, WidthRow{"2.7", 2}, WidthRow{"int8(-3)", -1},
                                         WidthRow{"uint16(300)", 300}, WidthRow{"single(2.5)", 2},
                                         // Beyond 32 bits: the one truncation helper's answer.
                                         WidthRow{"NaN", INT32_MIN}, WidthRow{"Inf", INT32_MIN},
                                         WidthRow{"1e300", INT32_MIN}, WidthRow{"2147483648", INT32_MIN},
                                         WidthRow{"2147483647", INT32_MAX}));

TEST(GenericWidths, ShortWidthListLeavesTheRestDynamicallySized) {
    auto s = sized("ZEVK_TCC_PWM",
                   Dialog{.inCodes = "[0 0 0]", .outCodes = "[5 5]", .inWidths = "[4]", .outWidths = "[]"});
    EXPECT_EQ(s.input(0)["width"], 4);
    EXPECT_EQ(s.input(1)["width"], -1);
    EXPECT_EQ(s.input(2)["width"], -1);
    EXPECT_EQ(s.output(0)["width"], -1);
    EXPECT_EQ(s.output(1)["width"], -1);
    EXPECT_EQ(s.input(2)["dtype"], 0) << "the rest of the port is set up as usual";
}

TEST(GenericWidths, ExtraWidthEntriesAreIgnored) {
    auto s = sized("ZEVK_PGA", Dialog{.inCodes = "[3]", .inWidths = "[2 9 9]"});
    EXPECT_EQ(s.state()["sizes"][kSizesInputs], 1);
    EXPECT_EQ(s.input(0)["width"], 2);
}

TEST(GenericWidths, NonNumericWidthListHasNoEntries) {
    auto s = sized("ZEVK_TCC_PWM", Dialog{.inCodes = "[0 1]", .inWidths = "{2, 3}"});
    EXPECT_EQ(s.input(0)["width"], -1);
    EXPECT_EQ(s.input(1)["width"], -1);
}

// --- option bits --------------------------------------------------------------

struct OptionRow {
    const char* bits;
    int extraInput;
    int extraOutput;
};
void PrintTo(const OptionRow& r, std::ostream* os) { *os << "option bits " << r.bits; }

class Options : public testing::TestWithParam<OptionRow> {};

TEST_P(Options, AddExtraBooleanPorts) {
    const OptionRow& row = GetParam();
    auto s = sized("ZEVK_MSI",
                   Dialog{.inCodes = "[-1 3]", .outCodes = "[4]", .inWidths = "[2 2]", .outWidths = "[2]",
                          .options = row.bits});
    const json st = s.state();
    ASSERT_EQ(st["sizes"][kSizesInputs], 2 + row.extraInput);
    ASSERT_EQ(st["sizes"][kSizesOutputs], 1 + row.extraOutput);
    if (row.extraInput) {
        EXPECT_EQ(s.input(2)["dtype"], 8);
        EXPECT_EQ(s.input(2)["width"], 1);
        EXPECT_EQ(s.input(2)["feedthrough"], 1);
        EXPECT_EQ(s.input(2)["contiguous"], kNone);
    }
    if (row.extraOutput) {
        EXPECT_EQ(s.output(1)["dtype"], 8);
        EXPECT_EQ(s.output(1)["width"], 1);
    }
    EXPECT_EQ(st["sizes"][kSizesOptions], 0x2002) << "the options word replaces the bits, it is not ORed in";
}

INSTANTIATE_TEST_SUITE_P(Generic, Options,
                         testing::Values(OptionRow{"0", 0, 0}, OptionRow{"1", 1, 0}, OptionRow{"2", 0, 1},
                                         OptionRow{"3", 1, 1}, OptionRow{"2.9", 0, 1}, OptionRow{"4", 0, 0},
                                         OptionRow{"7", 1, 1}, OptionRow{"-1", 1, 1}, OptionRow{"-0.5", 0, 0},
                                         OptionRow{"[]", 0, 0}, OptionRow{"[1 2]", 1, 0},
                                         OptionRow{"NaN", 0, 0}, OptionRow{"Inf", 0, 0}, OptionRow{"1e300", 0, 0},
                                         OptionRow{"2147483651", 0, 0}, OptionRow{"int32(3)", 1, 1},
                                         OptionRow{"logical(1)", 1, 0}, OptionRow{"single(2)", 0, 1},
                                         OptionRow{"{3}", 0, 0}));

TEST(GenericOptions, EmptyInputListWithExtraInput) {
    auto s = sized("ZEVK_TCC_PWM", Dialog{.options = "1"});
    EXPECT_EQ(portOps(s.sizes), json::parse(R"([
        ["ssSetNumInputPorts", 1],
        ["ssSetInputPortDataType", 0, 8], ["ssSetInputPortWidth", 0, 1], ["ssSetInputPortDirectFeedThrough", 0, 1],
        ["ssSetNumOutputPorts", 0],
        ["ssSetNumSampleTimes", 1], ["ssSetOptions", 2]])"));
}

// --- parameters ----------------------------------------------------------------

TEST(GenericParams, OtherClassesAreReadByValue) {
    auto s = sized("ZEVK_TCC_PWM", Dialog{.inCodes = "int32([-7 5])", .outCodes = "uint8([2])",
                                          .inWidths = "single([2.7 -1])", .outWidths = "logical([1])",
                                          .options = "int16(3)"});
    EXPECT_EQ(s.input(0), json::parse(R"({"width": 2, "dtype": -1, "dims": null, "feedthrough": 1,
        "contiguous": null, "overwritable": null, "optim": null, "complex": null, "acceptExpr": null,
        "outputExpr": null, "busAsStruct": null, "busMode": null, "busName": null})"));
    EXPECT_EQ(s.input(1)["width"], -1);
    EXPECT_EQ(s.input(1)["dtype"], 5);
    EXPECT_EQ(s.input(2)["dtype"], 8);
    EXPECT_EQ(s.output(0)["dtype"], 2);
    EXPECT_EQ(s.output(0)["width"], 1);
    EXPECT_EQ(s.output(1)["dtype"], 8);
}

TEST(GenericParams, NonNumericCodeListsListNoPorts) {
    std::vector<ArrayPtr> cases;
    cases.push_back(lit("{1, 2}"));
    cases.push_back(host::makeStruct());
    auto sparse = host::makeDouble({1, 2});
    sparse->sparse = true;
    cases.push_back(std::move(sparse));
    for (auto& codes : cases) {
        auto p = Dialog{.inWidths = "[1 1]", .outWidths = "[1 1]", .options = "3"}.params();
        p[0] = host::clone(codes.get());
        p[1] = host::clone(codes.get());
        auto s = sized("ZEVK_TCC_PWM", std::move(p));
        SCOPED_TRACE(host::toLiteral(codes.get()));
        const json st = s.state();
        EXPECT_EQ(st["sizes"][kSizesInputs], 1) << "only the extra input";
        EXPECT_EQ(st["sizes"][kSizesOutputs], 1) << "only the extra output";
        EXPECT_EQ(s.input(0)["dtype"], 8);
        EXPECT_EQ(st["sizes"][kSizesSampleTimes], 1);
    }
}

struct CountRow {
    const char* block;
    int given;
    int expected;
};
void PrintTo(const CountRow& r, std::ostream* os) { *os << r.block << " given " << r.given; }

class ParamCounts : public testing::TestWithParam<CountRow> {};

TEST_P(ParamCounts, WrongCountDeclaresTheExpectedCountOnly) {
    const CountRow& row = GetParam();
    auto p = Dialog{.inCodes = "[0]", .outCodes = "[0]", .inWidths = "[1]", .outWidths = "[1]", .options = "3",
                    .extra = "0"}
                 .params();
    p.resize(static_cast<size_t>(row.given));
    auto s = sized(row.block, std::move(p));
    const json st = s.state();
    EXPECT_EQ(st["sizes"][kSizesParams], row.expected);
    EXPECT_EQ(st["sizes"][kSizesInputs], 0);
    EXPECT_EQ(st["sizes"][kSizesOutputs], 0);
    EXPECT_EQ(st["sizes"][kSizesSampleTimes], 0);
    EXPECT_EQ(st["sizes"][kSizesOptions], 0x2000) << "the glue's bit alone";
    EXPECT_EQ(st["notTunable"], json::array());
    EXPECT_EQ(portOps(s.sizes), json::array());
    EXPECT_FALSE(s.sizes.errorStatus);
    EXPECT_EQ(s.sizes.printed, "");
    // The command line agrees.
    auto p2 = Dialog{.extra = "0"}.params();
    p2.resize(static_cast<size_t>(row.given));
    std::vector<const mxArray*> raw;
    for (auto& a : p2) raw.push_back(a.get());
    auto v = host::commandLineSizes(block(row.block), raw).sizes();
    ASSERT_TRUE(v);
    EXPECT_EQ((*v)[kSizesParams], row.expected);
    EXPECT_EQ((*v)[kSizesInputs], 0);
}

INSTANTIATE_TEST_SUITE_P(Generic, ParamCounts,
                         testing::Values(CountRow{"ZEVK_TCC_PWM", 6, 7}, CountRow{"ZEVK_TCC_PWM", 8, 7},
                                         CountRow{"ZEVK_TCC_PWM", 0, 7}, CountRow{"ZEVK_BUS_SPI", 7, 8},
                                         CountRow{"ZEVK_BUS_I2C_MASTER", 7, 8},
                                         CountRow{"ZEVK_ADC_HighSpeed_SAR", 8, 7},
                                         CountRow{"ZEVK_PWM_HighSpeed_Override", 8, 7}));

TEST(GenericParams, EightParameterBlocksNeverReadParameterSeven) {
    json first;
    for (const char* extra : {"0", "NaN", "{'x', 3}", "[1 2 3]", "'text'"}) {
        Dialog d{.inCodes = "[100 6]", .outCodes = "[3]", .inWidths = "[2 3]", .outWidths = "[4]",
                 .busNames = "{'BusA'}", .options = "3", .extra = extra};
        auto s = sized("ZEVK_BUS_SPI", d, withBuses());
        const json st = s.state();
        EXPECT_EQ(st["sizes"][kSizesParams], 8);
        EXPECT_EQ(st["notTunable"], json::parse("[0, 1, 2, 3, 4, 5, 6, 7]"));
        for (const auto& o : s.sizes.ops) EXPECT_NE(o, json::parse(R"(["ssGetSFcnParam", 7])"));
        if (first.is_null()) first = st;
        EXPECT_EQ(st, first) << "parameter 7 = " << extra;
    }
}

// --- bus ports ------------------------------------------------------------------

const Dialog kBusDialog{.inCodes = "[100]", .outCodes = "[101]", .inWidths = "[3]", .outWidths = "[2]",
                        .busNames = "{'BusA', 'BusB'}", .options = "3"};

TEST(GenericBus, FullHostSetsUpBothDirections) {
    for (const char* name : {"ZEVK_TCC_PWM", "ZEVK_PGA"}) {
        auto s = sized(name, kBusDialog, withBuses());
        SCOPED_TRACE(name);
        EXPECT_EQ(portOps(s.sizes), json::parse(R"([
            ["ssSetNumInputPorts", 2],
            ["ssSetInputPortWidth", 0, 3],
            ["request", 40, 0, "BusA"],
            ["ssSetInputPortDataType", 0, 40],
            ["request", 86, 0, true],
            ["request", 129, 0, 1],
            ["ssSetInputPortRequiredContiguous", 0, 1],
            ["ssSetInputPortDirectFeedThrough", 0, 1],
            ["ssSetInputPortDataType", 1, 8], ["ssSetInputPortWidth", 1, 1], ["ssSetInputPortDirectFeedThrough", 1, 1],
            ["ssSetNumOutputPorts", 2],
            ["ssSetOutputPortWidth", 0, 2],
            ["request", 40, 0, "BusB"],
            ["ssSetOutputPortDataType", 0, 41],
            ["request", 80, 0, "BusB"],
            ["request", 81, 0, true],
            ["request", 130, 0, 1],
            ["ssSetOutputPortDataType", 1, 8], ["ssSetOutputPortWidth", 1, 1],
            ["ssSetNumSampleTimes", 1],
            ["ssSetOptions", 2]])"));
        EXPECT_EQ(s.input(0)["busAsStruct"], true);
        EXPECT_EQ(s.input(0)["busMode"], 1);
        EXPECT_EQ(s.input(0)["contiguous"], 1);
        EXPECT_EQ(s.output(0)["busName"], "BusB");
        EXPECT_EQ(s.output(0)["busAsStruct"], true);
        EXPECT_EQ(s.output(0)["busMode"], 1);
        EXPECT_EQ(s.input(1)["busAsStruct"], kNone);
        EXPECT_EQ(s.input(1)["contiguous"], kNone) << "required contiguous only on bus inputs";
        EXPECT_EQ(s.sizes.callocReclaimed, 0u) << "every name buffer was freed by the block";
    }
}

TEST(GenericBus, BusModesOnlyWithTheBlockLink) {
    HostOptions o = withBuses();
    o.blockLink = false;
    auto s = sized("ZEVK_TCC_PWM", kBusDialog, o);
    for (const auto& op : s.sizes.ops) {
        EXPECT_FALSE(op[0] == "request" && (op[1] == 129 || op[1] == 130 || op[1] == 280)) << op;
    }
    EXPECT_EQ(s.input(0)["dtype"], 40);
    EXPECT_EQ(s.input(0)["busAsStruct"], true);
    EXPECT_EQ(s.input(0)["busMode"], kNone);
    EXPECT_EQ(s.output(0)["busName"], "BusB");
}

TEST(GenericBus, SizesCallOnlySkipsRegistrationAlone) {
    HostOptions o = withBuses();
    o.sizesCallOnly = true;
    auto s = sized("ZEVK_TCC_PWM", Dialog{.inCodes = "[100]", .outCodes = "[101]", .inWidths = "[3]",
                                          .outWidths = "[2]", .busNames = "{'BusA', 'BusB'}"},
                   o);
    EXPECT_EQ(portOps(s.sizes), json::parse(R"([
        ["ssSetNumInputPorts", 1],
        ["ssSetInputPortWidth", 0, 3],
        ["request", 86, 0, true],
        ["request", 129, 0, 1],
        ["ssSetInputPortRequiredContiguous", 0, 1],
        ["ssSetInputPortDirectFeedThrough", 0, 1],
        ["ssSetNumOutputPorts", 1],
        ["ssSetOutputPortWidth", 0, 2],
        ["request", 80, 0, "BusB"],
        ["request", 81, 0, true],
        ["request", 130, 0, 1],
        ["ssSetNumSampleTimes", 1],
        ["ssSetOptions", 2]])"));
    EXPECT_EQ(s.input(0)["dtype"], kNone);
    EXPECT_EQ(s.output(0)["dtype"], kNone);
}

TEST(GenericBus, SizesCallOnlyStillConvertsTheName) {
    HostOptions o;
    o.sizesCallOnly = true;
    auto s = sized("ZEVK_TCC_PWM", Dialog{.inCodes = "[100]", .inWidths = "[1]", .busNames = "{7}"}, o);
    EXPECT_EQ(s.sizes.mexErrorId, "MATLAB:explore:invalidStringArray");
}

TEST(GenericBus, CommandLineQueryMakesNoRequests) {
    auto r = commandLine("ZEVK_TCC_PWM", {"[100 -7]", "[101]", "[3 1]", "[2]", "{'BusA', 'BusB'}", "0.001", "3"});
    ASSERT_FALSE(r.mexError) << *r.mexError;
    const auto v = r.sizes().value();
    EXPECT_EQ(v[kSizesInputs], 3);
    EXPECT_EQ(v[kSizesOutputs], 2);
    EXPECT_EQ(v[kSizesSampleTimes], 1);
    EXPECT_EQ(v[kSizesOptions], 0x2002);
}

TEST(GenericBus, MissingNameIsPrintedAndTheListGoesOn) {
    auto p = Dialog{.inCodes = "[100 101]", .outCodes = "[100 5]", .inWidths = "[2 3]", .outWidths = "[4 5]"}
                 .params();
    auto cell = host::makeCell(1, 2);  // element 0 never assigned
    host::setCell(cell.get(), 1, host::makeChar("BusB"));
    p[4] = std::move(cell);
    auto s = sized("ZEVK_TCC_PWM", std::move(p), withBuses());
    EXPECT_EQ(s.sizes.printed, std::string(kMissingBusName) + kMissingBusName);
    EXPECT_FALSE(s.sizes.errorStatus);
    EXPECT_EQ(s.input(0)["width"], 2);
    EXPECT_EQ(s.input(0)["dtype"], kNone);
    EXPECT_EQ(s.input(0)["feedthrough"], 1);
    EXPECT_EQ(s.input(0)["busAsStruct"], kNone);
    EXPECT_EQ(s.input(1)["dtype"], 41);
    EXPECT_EQ(s.output(0)["width"], 4);
    EXPECT_EQ(s.output(0)["dtype"], kNone);
    EXPECT_EQ(s.output(0)["busName"], kNone);
    EXPECT_EQ(s.output(1)["dtype"], 5);
    EXPECT_EQ(s.state()["sizes"][kSizesSampleTimes], 1);
}

TEST(GenericBus, NamesThatAreNotACellAreAllMissing) {
    for (const char* names : {"[7 8]", "'AB'"}) {
        SCOPED_TRACE(names);
        auto s = sized("ZEVK_PGA", Dialog{.inCodes = "[101 102]", .inWidths = "[1 1]", .busNames = names},
                       withBuses());
        // 101 is within the element count, so it is a bus code whose name is missing; 102 is beyond it.
        EXPECT_EQ(s.sizes.printed, kMissingBusName);
        EXPECT_EQ(s.input(0)["dtype"], kNone);
        EXPECT_EQ(s.input(1)["dtype"], kNone);
        EXPECT_EQ(s.input(1)["feedthrough"], 1);
        EXPECT_EQ(s.state()["sizes"][kSizesOptions], 0x2002);
    }
}

TEST(GenericBus, NameThatIsNotTextRaisesAndLeaksNothing) {
    struct Row {
        const char* codesIn;
        const char* codesOut;
        const char* names;
        int inputsSetUp;  // inputs whose width was set before the error
    };
    for (const Row& row : {Row{"[0 100]", "[]", "{5}", 2}, Row{"[100]", "[]", "{{'BusA'}}", 1},
                           Row{"[0]", "[100]", "{int8(65)}", 1}}) {
        SCOPED_TRACE(row.names);
        auto s = sized("ZEVK_TCC_PWM",
                       Dialog{.inCodes = row.codesIn, .outCodes = row.codesOut, .inWidths = "[1 1]",
                              .outWidths = "[1]", .busNames = row.names},
                       withBuses());
        EXPECT_EQ(s.sizes.mexErrorId, "MATLAB:explore:invalidStringArray");
        EXPECT_EQ(s.sizes.mexError, "Could not convert string data.");
        EXPECT_EQ(s.sizes.callocReclaimed, 0u) << "the name buffer is freed before the error";
        EXPECT_EQ(opsNamed(s.sizes, "ssSetInputPortWidth").size(), static_cast<size_t>(row.inputsSetUp));
        EXPECT_TRUE(opsNamed(s.sizes, "ssSetNumSampleTimes").empty()) << "nothing after the error runs";
        EXPECT_TRUE(opsNamed(s.sizes, "ssSetOptions").empty());
    }
    auto r = commandLine("ZEVK_PGA", {"[100]", "[]", "[1]", "[]", "{[]}", "0.001", "0"});
    EXPECT_EQ(r.mexErrorId, "MATLAB:explore:invalidStringArray");
}

TEST(GenericBus, RegistrationFailingOnSecondOfThreeInputs) {
    HostOptions o;
    o.busTypes = {{"BusA", 40}, {"BusC", 42}};
    auto s = sized("ZEVK_TCC_PWM",
                   Dialog{.inCodes = "[100 101 102]", .outCodes = "[0]", .inWidths = "[1 2 3]", .outWidths = "[1]",
                          .busNames = "{'BusA', 'BusB', 'BusC'}"},
                   o);
    EXPECT_EQ(portOps(s.sizes), json::parse(R"([
        ["ssSetNumInputPorts", 3],
        ["ssSetInputPortWidth", 0, 1],
        ["request", 40, 0, "BusA"],
        ["ssSetInputPortDataType", 0, 40],
        ["request", 86, 0, true],
        ["request", 129, 0, 1],
        ["ssSetInputPortRequiredContiguous", 0, 1],
        ["ssSetInputPortDirectFeedThrough", 0, 1],
        ["ssSetInputPortWidth", 1, 2],
        ["request", 40, 0, "BusB"]])"));
    const json st = s.state();
    EXPECT_EQ(st["sizes"][kSizesInputs], 3);
    EXPECT_EQ(st["sizes"][kSizesOutputs], 0);
    EXPECT_EQ(st["sizes"][kSizesSampleTimes], 0);
    EXPECT_EQ(st["sizes"][kSizesOptions], 0x2000);
    EXPECT_EQ(s.input(1)["dtype"], kNone);
    EXPECT_EQ(s.input(1)["feedthrough"], kNone);
    EXPECT_EQ(s.input(2)["width"], kNone);
    EXPECT_FALSE(s.sizes.errorStatus) << "no message of the block's own";
    EXPECT_EQ(s.sizes.printed, "");
    EXPECT_EQ(s.sizes.callocReclaimed, 0u);
}

TEST(GenericBus, RegistrationFailingOnAnOutput) {
    auto s = sized("ZEVK_PWM_HighSpeed_Override",
                   Dialog{.inCodes = "[100]", .outCodes = "[3 100 4]", .inWidths = "[1]", .outWidths = "[1 1 1]",
                          .busNames = "{'Unknown'}", .options = "3"});
    const json st = s.state();
    EXPECT_EQ(st["sizes"][kSizesInputs], 2);
    EXPECT_EQ(st["sizes"][kSizesOutputs], 4);
    EXPECT_EQ(s.input(1)["dtype"], 8);
    EXPECT_EQ(s.output(0)["dtype"], 3);
    EXPECT_EQ(s.output(1)["width"], 1);
    EXPECT_EQ(s.output(1)["busName"], kNone);
    EXPECT_EQ(s.output(2)["width"], kNone);
    EXPECT_EQ(s.output(3)["dtype"], kNone) << "the extra output is not reached";
    EXPECT_EQ(st["sizes"][kSizesSampleTimes], 0);
}

// --- port counts ------------------------------------------------------------------

TEST(GenericPortCounts, RefusedCountEndsTheMethod) {
    HostOptions in;
    in.refuseInputPorts = true;
    auto s = sized("ZEVK_TCC_PWM", Dialog{.inCodes = "[0]", .outCodes = "[0]", .inWidths = "[1]", .outWidths = "[1]"},
                   in);
    EXPECT_EQ(portOps(s.sizes), json::parse(R"([["ssSetNumInputPorts", 1]])"));

    HostOptions out;
    out.refuseOutputPorts = true;
    s = sized("ZEVK_TCC_PWM", Dialog{.inCodes = "[0]", .outCodes = "[0]", .inWidths = "[1]", .outWidths = "[1]"},
              out);
    const json ops = portOps(s.sizes);
    EXPECT_EQ(ops.back(), json::parse(R"(["ssSetNumOutputPorts", 1])"));
    EXPECT_EQ(s.input(0)["dtype"], 0);
    EXPECT_EQ(s.state()["sizes"][kSizesSampleTimes], 0);
}

struct LongRow {
    size_t entries;
    const char* options;
    int inputs;
    int outputs;
};
void PrintTo(const LongRow& r, std::ostream* os) { *os << r.entries << " entries, option bits " << r.options; }

class LongLists : public testing::TestWithParam<LongRow> {};

// Port counts are full 32-bit counts: no list is wrapped at 256.
TEST_P(LongLists, CountEveryEntry) {
    const LongRow& row = GetParam();
    const std::string codes = repeated("3", row.entries);
    const std::string widths = repeated("2", row.entries);
    const Dialog d{.inCodes = codes, .outCodes = codes, .inWidths = widths, .outWidths = widths,
                   .options = row.options};
    auto s = sized("ZEVK_PGA", d);
    const json st = s.state();
    ASSERT_EQ(st["sizes"][kSizesInputs], row.inputs);
    ASSERT_EQ(st["sizes"][kSizesOutputs], row.outputs);
    const size_t last = row.entries - 1;
    EXPECT_EQ(s.input(last)["dtype"], 3);
    EXPECT_EQ(s.input(last)["width"], 2);
    EXPECT_EQ(s.output(last)["dtype"], 3);
    if (row.inputs > static_cast<int>(row.entries)) {
        EXPECT_EQ(s.input(row.entries)["dtype"], 8);
        EXPECT_EQ(s.input(row.entries)["width"], 1);
    }
    if (row.outputs > static_cast<int>(row.entries)) {
        EXPECT_EQ(s.output(row.entries)["dtype"], 8);
    }
    EXPECT_EQ(opsNamed(s.sizes, "ssSetInputPortDirectFeedThrough").size(), static_cast<size_t>(row.inputs));

    const auto params = d.params();
    std::vector<const mxArray*> raw;
    for (auto& a : params) raw.push_back(a.get());
    const auto v = host::commandLineSizes(block("ZEVK_PGA"), raw).sizes();
    ASSERT_TRUE(v);
    EXPECT_EQ((*v)[kSizesInputs], row.inputs) << "the standalone record counts the same";
}

INSTANTIATE_TEST_SUITE_P(Generic, LongLists,
                         testing::Values(LongRow{255, "3", 256, 256}, LongRow{256, "0", 256, 256},
                                         LongRow{300, "0", 300, 300}, LongRow{300, "1", 301, 300}));

}  // namespace
}  // namespace zevk::test
