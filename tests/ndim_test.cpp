// The N-dimensional blocks as the host drives them: shapes from dimension
// records, dimension offers, defaults for what stays open, the options
// words, and the life of the dimension table they keep as user data.
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>

#include "tests/support.h"
#include "tools/zevk/script.h"

namespace zevk::test {
namespace {

const char kLcd[] = "ZEVK_Lcd_Output";
const char kCall[] = "ZEVK_C_function_Call";
const char kInputMismatch[] = "ZEVK blockset: Error setting input port dimension";
const char kOutputMismatch[] = "ZEVK blockset: Error setting Output port dimension";

// A dimension record of ten numbers: the leading ones given, zeros after.
std::string rec(const std::string& head) {
    std::istringstream in(head);
    std::string word, text;
    int n = 0;
    while (in >> word) {
        text += (n++ ? " " : "") + word;
    }
    for (; n < 10; ++n) text += " 0";
    return text;
}

struct Dialog {
    std::string inCodes = "[]", outCodes = "[]";
    std::string inRecords = "[]", outRecords = "[]";
    std::string options = "0";
    std::string buses = "{}";

    std::vector<ArrayPtr> params() const {
        return lits({inCodes, outCodes, inRecords, outRecords, buses, "[0.01 0]", options});
    }
};

Sized sizedDialog(const char* name, const Dialog& d, HostOptions options = {}) {
    return sized(name, d.params(), std::move(options));
}

// An offered DimsInfo_T whose sizes live as long as the offer.
struct Offer {
    std::vector<int32_t> sizes = {};
    std::optional<int32_t> width = std::nullopt;    // default: the product of the sizes
    std::optional<int32_t> numDims = std::nullopt;  // default: the number of sizes
    bool nullSizes = false;
    DimsInfo_T info{};

    const DimsInfo_T* get() {
        int64_t product = 1;
        for (int32_t s : sizes) product *= s;
        info.width = width.value_or(static_cast<int32_t>(product));
        info.numDims = numDims.value_or(static_cast<int32_t>(sizes.size()));
        info.dims = nullSizes || sizes.empty() ? nullptr : sizes.data();
        info.nextSigDims = nullptr;
        return &info;
    }
};

// --- mdlInitializeSizes ------------------------------------------------------

TEST(NdimSizes, ShapeOfEachKindOfRecordOnBothSides) {
    struct Case {
        std::string record;  // the whole parameter
        int width;
        json dims;  // null: no shape registered
        bool dynamic;
    };
    const json none = nullptr;
    const std::vector<Case> cases = {
        {rec("2 3 4"), 12, {3, 4}, false},
        {rec("2 -1 4"), -1, {-1, -1}, false},
        {rec("3 2 4 -1"), -1, {-1, -1, -1}, false},
        {rec("2 3.7 4.2"), 12, {3, 4}, false},
        {rec("2.9 3 4"), 12, {3, 4}, false},
        {rec("1 5"), 5, {5}, false},
        {"9 1 2 1 1 1 1 1 1 3", 6, {1, 2, 1, 1, 1, 1, 1, 1, 3}, false},
        // Wider than 32 bits: not a width the host could hold.
        {rec("2 100000 100000"), -1, {100000, 100000}, false},
        {rec("0 7 7"), 1, none, false},
        {rec("0.5 7"), 1, none, false},
        {rec("-1 3 4"), -1, json::array(), true},
        {rec("-0.5"), -1, json::array(), true},
        // Counts the dialog never produces: nothing reads past nine sizes.
        {rec("10 2 2"), -1, json::array(), true},
        {rec("1e10 2"), -1, json::array(), true},
        {rec("NaN 2"), -1, json::array(), true},
        {rec("Inf 2"), -1, json::array(), true},
        // Too short: a missing size is not fixed, a missing count dynamic.
        {"2 3", -1, {-1, -1}, false},
        {"", -1, json::array(), true},
    };
    for (const char* name : {kLcd, kCall}) {
        for (const Case& c : cases) {
            const std::string records = "[" + c.record + "]";
            for (bool input : {true, false}) {
                Dialog d;
                (input ? d.inCodes : d.outCodes) = "[0]";
                (input ? d.inRecords : d.outRecords) = records;
                auto s = sizedDialog(name, d);
                const std::string what = std::string(name) + (input ? " input " : " output ") + records;
                const json port = input ? s.input(0) : s.output(0);
                EXPECT_EQ(port["width"], c.width) << what;
                EXPECT_EQ(port["dims"], c.dims) << what;
                EXPECT_EQ(port["dtype"], 0) << what;
                const auto requests = opsNamed(s.sizes, "request");
                const int dynamicCode = input ? 106 : 107;
                int dynamicRequests = 0;
                for (const json& r : requests) {
                    if (r[1] == dynamicCode) {
                        ++dynamicRequests;
                        EXPECT_EQ(r, json({"request", dynamicCode, 0, 0})) << what;
                    }
                }
                EXPECT_EQ(dynamicRequests, c.dynamic ? 1 : 0) << what;
                if (input) {
                    EXPECT_EQ(port["contiguous"], c.dims.is_null() ? 0 : 1) << what;
                    EXPECT_EQ(port["feedthrough"], 1) << what;
                } else {
                    EXPECT_EQ(port["contiguous"], nullptr) << what;
                    EXPECT_EQ(port["feedthrough"], nullptr) << what;
                }
                EXPECT_EQ(s.state()["sizes"][6], 1) << what;
            }
        }
    }
}

TEST(NdimSizes, SequenceOfADynamicInput) {
    Dialog d;
    d.inCodes = "[0]";
    d.inRecords = "[" + rec("-1") + "]";
    auto s = sizedDialog(kLcd, d);
    std::vector<json> seen;
    for (const json& op : s.sizes.ops) {
        const std::string name = op[0];
        if (name.rfind("ssSetInputPort", 0) == 0 || (name == "request" && op[1] != 280)) seen.push_back(op);
    }
    EXPECT_EQ(json(seen), json::parse(R"([["request", 122, 1, null],
        ["ssSetInputPortDimensionInfo", 0], ["request", 106, 0, 0], ["ssSetInputPortWidth", 0, -1],
        ["ssSetInputPortRequiredContiguous", 0, 1], ["ssSetInputPortDataType", 0, 0],
        ["ssSetInputPortDirectFeedThrough", 0, 1]])"));
}

TEST(NdimSizes, TypeCodesAndBusPorts) {
    Dialog d;
    d.inCodes = "[-1 -7 0 8 9 100 101 5.9]";
    d.inRecords = "[" + rec("0") + " " + rec("0") + " " + rec("0") + " " + rec("0") + " " + rec("0") + " " +
                  rec("0") + " " + rec("0") + " " + rec("2 2 2") + "]";
    d.outCodes = "[-7 5 100]";
    d.outRecords = "[" + rec("0") + " " + rec("0") + " " + rec("1 3") + "]";
    d.buses = "{'BusA'}";
    HostOptions host;
    host.busTypes = {{"BusA", 20}};
    auto s = sizedDialog(kLcd, d, host);
    const json in = s.state()["inputs"];
    const json expectedTypes = {nullptr, nullptr, 0, 8, nullptr, 20, nullptr, 5};
    for (size_t i = 0; i < expectedTypes.size(); ++i) {
        EXPECT_EQ(in[i]["dtype"], expectedTypes[i]) << "input " << i;
        EXPECT_EQ(in[i]["feedthrough"], 1) << "input " << i;
    }
    // The bus input's record is a scalar one, yet a bus port is contiguous.
    EXPECT_EQ(in[4]["contiguous"], 0);
    EXPECT_EQ(in[5]["contiguous"], 1);
    EXPECT_EQ(in[5]["busAsStruct"], true);
    EXPECT_EQ(in[5]["busMode"], 1);
    EXPECT_EQ(in[7]["contiguous"], 1);
    const json out = s.state()["outputs"];
    EXPECT_EQ(out[0]["dtype"], nullptr);
    EXPECT_EQ(out[1]["dtype"], 5);
    EXPECT_EQ(out[2]["dtype"], 20);
    EXPECT_EQ(out[2]["busName"], "BusA");
    EXPECT_EQ(out[2]["dims"], json({3}));
}

TEST(NdimSizes, MissingBusCellAndFailedRegistration) {
    {  // A cell that holds no array: message, the port keeps its shape.
        Dialog d;
        d.inCodes = "[100 0]";
        d.inRecords = "[" + rec("2 3 4") + " " + rec("0") + "]";
        auto params = d.params();
        params[4] = host::makeCell(1, 1);
        auto s = sized(kLcd, std::move(params));
        EXPECT_EQ(s.sizes.printed, "Error: C Function Call: Error Registering Bus Datatype\n");
        EXPECT_FALSE(s.sizes.errorStatus);
        EXPECT_EQ(s.input(0)["dims"], json({3, 4}));
        EXPECT_EQ(s.input(0)["dtype"], nullptr);
        EXPECT_EQ(s.input(0)["feedthrough"], 1);
        EXPECT_EQ(s.input(1)["dtype"], 0);
        EXPECT_NE(s.state()["sizes"][23], 0);
    }
    {  // A name the host cannot register ends the description there.
        Dialog d;
        d.inCodes = "[0 100 0]";
        d.inRecords = "[" + rec("0") + " " + rec("1 2") + " " + rec("0") + "]";
        d.outCodes = "[0]";
        d.outRecords = "[" + rec("0") + "]";
        d.buses = "{'Unknown'}";
        auto s = sizedDialog(kCall, d);
        EXPECT_EQ(s.input(0)["feedthrough"], 1);
        EXPECT_EQ(s.input(1)["dims"], json({2}));
        EXPECT_EQ(s.input(1)["feedthrough"], nullptr);
        EXPECT_EQ(s.input(2)["width"], nullptr);
        EXPECT_TRUE(opsNamed(s.sizes, "ssSetNumOutputPorts").empty());
        EXPECT_TRUE(opsNamed(s.sizes, "ssSetOptions").empty());
        EXPECT_TRUE(opsNamed(s.sizes, "ssSetNumSampleTimes").empty());
        // The table was attached first, so terminate still has it to free.
        EXPECT_TRUE(s.state()["userData"]);
        s->method(107);
        EXPECT_FALSE(s.state()["userData"]);
    }
}

TEST(NdimSizes, OptionBitsAddBooleanPortsAfterTheLists) {
    Dialog d;
    d.inCodes = "[0]";
    d.inRecords = "[" + rec("2 3 4") + "]";
    d.outCodes = "[1]";
    d.outRecords = "[" + rec("-1") + "]";
    d.options = "3.7";
    auto s = sizedDialog(kLcd, d);
    ASSERT_EQ(s.state()["inputs"].size(), 2u);
    ASSERT_EQ(s.state()["outputs"].size(), 2u);
    EXPECT_EQ(s.input(1)["width"], 1);
    EXPECT_EQ(s.input(1)["dtype"], 8);
    EXPECT_EQ(s.input(1)["feedthrough"], 1);
    EXPECT_EQ(s.input(1)["dims"], nullptr);
    EXPECT_EQ(s.output(1)["width"], 1);
    EXPECT_EQ(s.output(1)["dtype"], 8);
    EXPECT_EQ(s.output(0)["dtype"], 1);
}

TEST(NdimSizes, OptionsWords) {
    struct Case {
        const char* block;
        const char* outCodes;
        const char* options;
        uint32_t word;
        size_t outputs;
    };
    const std::vector<Case> cases = {
        {kLcd, "[]", "0", 0x2001006u, 0},
        {kLcd, "[0 0]", "0", 0x2001006u, 2},
        {kCall, "[]", "0", 0x2001006u, 0},
        {kCall, "[]", "2", 0x2001006u, 1},  // the boolean output is not a listed one
        {kCall, "[0]", "0", 0x20u, 1},
        {kCall, "[0]", "2", 0x20u, 2},
    };
    for (const Case& c : cases) {
        Dialog d;
        d.outCodes = c.outCodes;
        d.outRecords = "[" + rec("0") + " " + rec("0") + "]";
        d.options = c.options;
        auto s = sizedDialog(c.block, d);
        const std::string what = std::string(c.block) + " " + c.outCodes + " bits " + c.options;
        EXPECT_EQ(opsNamed(s.sizes, "ssSetOptions"), std::vector<json>{json({"ssSetOptions", c.word})}) << what;
        EXPECT_EQ(s.state()["outputs"].size(), c.outputs) << what;
        // The answer carries the glue's own bit as well.
        const std::string records = "[" + rec("0") + " " + rec("0") + "]";
        const auto v = sizesVector(c.block, {"[]", c.outCodes, "[]", records, "{}", "0.01", c.options});
        ASSERT_EQ(v.size(), 40u);
        EXPECT_EQ(v[23], static_cast<double>(c.word | 0x2000u)) << what;
        EXPECT_EQ(v[2], static_cast<double>(c.outputs)) << what;
    }
}

TEST(NdimSizes, WrongParameterCountDeclaresOnlyTheCount) {
    for (size_t n : {0u, 6u, 8u}) {
        Dialog d;
        auto params = d.params();
        params.resize(n < params.size() ? n : params.size());
        while (params.size() < n) params.push_back(lit("0"));
        auto s = sized(kLcd, std::move(params));
        EXPECT_EQ(s.state()["sizes"][7], 7) << n;
        EXPECT_EQ(s.state()["sizes"][23], 0x2000) << n;
        EXPECT_FALSE(s.state()["userData"]) << n;
        EXPECT_TRUE(opsNamed(s.sizes, "ssSetNumInputPorts").empty()) << n;
        EXPECT_TRUE(s.state()["notTunable"].empty()) << n;
    }
}

TEST(NdimSizes, HostsThatRefuseOrLackWhatTheBlockAsksFor) {
    Dialog d;
    d.inCodes = "[0 0 0]";
    d.inRecords = "[" + rec("0") + " " + rec("2 3 4") + " " + rec("-1") + "]";
    d.outCodes = "[0]";
    d.outRecords = "[" + rec("1 2") + "]";
    {  // No dimension setter: every registration counts as accepted.
        HostOptions host;
        host.dimensionSetter = false;
        auto s = sizedDialog(kLcd, d, host);
        EXPECT_EQ(s.input(1)["dims"], nullptr);
        EXPECT_EQ(s.input(1)["contiguous"], 1);
        EXPECT_EQ(s.input(2)["width"], -1);
        EXPECT_EQ(s.output(0)["dtype"], 0);
        EXPECT_EQ(opsNamed(s.sizes, "ssSetOptions").size(), 1u);
    }
    {  // A refused shape ends the description at that port.
        HostOptions host;
        host.dimensionSetterFails = true;
        auto s = sizedDialog(kLcd, d, host);
        EXPECT_EQ(s.input(0)["width"], 1);
        EXPECT_EQ(s.input(0)["feedthrough"], 1);
        EXPECT_EQ(s.input(1)["contiguous"], nullptr);
        EXPECT_EQ(s.input(1)["dtype"], nullptr);
        EXPECT_EQ(s.input(2)["width"], nullptr);
        EXPECT_TRUE(opsNamed(s.sizes, "ssSetNumOutputPorts").empty());
        EXPECT_TRUE(opsNamed(s.sizes, "ssSetOptions").empty());
        EXPECT_TRUE(s.state()["userData"]);
    }
    {  // Without the generic function the requests are skipped, nothing else.
        HostOptions host;
        host.genericFunction = false;
        auto s = sizedDialog(kLcd, d, host);
        EXPECT_TRUE(opsNamed(s.sizes, "request").empty());
        EXPECT_EQ(s.input(2)["width"], -1);
        EXPECT_EQ(opsNamed(s.sizes, "ssSetOptions").size(), 1u);
    }
    {  // Refused port counts: the table is there already, for terminate.
        HostOptions host;
        host.refuseInputPorts = true;
        auto s = sizedDialog(kLcd, d, host);
        EXPECT_TRUE(s.state()["userData"]);
        EXPECT_TRUE(s.state()["inputs"].empty());
        EXPECT_TRUE(opsNamed(s.sizes, "ssSetNumOutputPorts").empty());
        host.refuseInputPorts = false;
        host.refuseOutputPorts = true;
        auto t = sizedDialog(kLcd, d, host);
        EXPECT_EQ(t.input(2)["width"], -1);
        EXPECT_TRUE(t.state()["outputs"].empty());
        EXPECT_TRUE(opsNamed(t.sizes, "ssSetOptions").empty());
    }
}

// --- dimension propagation ---------------------------------------------------

TEST(NdimPropagation, OffersAgainstTheRecord) {
    struct Case {
        bool input;
        std::string record;  // port 0's record
        int32_t port;
        Offer offer;
        const char* error;  // nullptr: none
        bool passed;        // handed to the host's setter
        json dimsAfter;     // the host's view of the port afterwards
        const char* options = "0";
        bool nullOffer = false;
    };
    const json none = nullptr;
    const json empty = json::array();
    std::vector<Case> cases = {
        {true, rec("2 -1 4"), 0, {{7, 4}}, nullptr, true, {7, 4}},
        {true, rec("2 -1 4"), 0, {{7, 5}}, kInputMismatch, false, {-1, -1}},
        {true, rec("2 -1 4"), 0, {{7}}, kInputMismatch, false, {-1, -1}},
        {true, rec("2 -1 4"), 0, {{7, 4, 1}}, kInputMismatch, false, {-1, -1}},
        {true, rec("2 3 4"), 0, {{3, 4}}, nullptr, true, {3, 4}},
        {true, rec("2 3 4"), 0, {{4, 3}}, kInputMismatch, false, {3, 4}},
        // Compared with the dialog's numbers, not with the truncated table.
        {true, rec("2 3.5 4"), 0, {{3, 4}}, kInputMismatch, false, {3, 4}},
        // The second size mismatches and so does the third: one message.
        {true, rec("3 2 3 4"), 0, {{2, 9, 9}}, kInputMismatch, false, {2, 3, 4}},
        {true, rec("2 3 4"), 0, {{3, 4}, {}, {}, true}, kInputMismatch, false, {3, 4}},
        {true, rec("2 3 4"), 0, {{3, 4}, {}, -3}, kInputMismatch, false, {3, 4}},
        {true, rec("2 3 4"), 0, {{3, 4}, {}, 1 << 30}, kInputMismatch, false, {3, 4}},
        {true, "2 3", 0, {{3, 9}}, nullptr, true, {3, 9}},
        {true, "2 3", 0, {{4, 9}}, kInputMismatch, false, {-1, -1}},
        {true, rec("0"), 0, {{1}}, nullptr, true, {1}},
        {true, rec("0"), 0, {{1, 1}}, nullptr, true, {1, 1}},
        {true, rec("0"), 0, {{2}}, nullptr, false, none},
        {true, rec("-1"), 0, {{5, 6, 7}}, nullptr, true, {5, 6, 7}},
        {true, rec("12 1 1"), 0, {{4}}, nullptr, true, {4}},
        // Passed on unchecked; the host refuses what it cannot take.
        {true, rec("-1"), 0, {{2, 2}, {}, {}, true}, nullptr, true, empty},
        {true, rec("-1"), 0, {{}, 3, -5}, nullptr, true, empty},
        {true, rec("-1"), 0, {{}, 3, 100000}, nullptr, true, empty},
        {true, rec("-1"), 0, {}, nullptr, false, empty, "0", true},
        // Ports without a record: the extra boolean one, one never declared.
        {true, rec("2 3 4"), 1, {{1}}, nullptr, true, {1}, "1"},
        {true, rec("2 3 4"), 1, {{3}}, nullptr, false, none, "1"},
        {true, rec("2 3 4"), 5, {{1}}, nullptr, true, none},
        {true, rec("2 3 4"), 5, {{2}}, nullptr, false, none},
        {true, rec("2 3 4"), -1, {{1}}, nullptr, true, none},
        {false, rec("2 3 4"), 0, {{3, 5}}, kOutputMismatch, false, {3, 4}},
        {false, rec("2 -1 4"), 0, {{8, 4}}, nullptr, true, {8, 4}},
        {false, rec("0"), 0, {{2}}, nullptr, false, none},
        {false, rec("-1"), 0, {{2, 5}}, nullptr, true, {2, 5}},
        {false, rec("1 2"), 1, {{1}}, nullptr, true, {1}, "2"},
    };
    for (Case& c : cases) {
        Dialog d;
        (c.input ? d.inCodes : d.outCodes) = "[0]";
        (c.input ? d.inRecords : d.outRecords) = "[" + c.record + "]";
        d.options = c.options;
        auto s = sizedDialog(kLcd, d);
        std::ostringstream what;
        what << (c.input ? "input " : "output ") << "[" << c.record << "] port " << c.port << " offer "
             << json(c.offer.sizes);
        CallResult r = s->method(c.input ? 126 : 127, c.port, 0, c.nullOffer ? nullptr : c.offer.get());
        EXPECT_EQ(r.errorStatus.value_or(""), c.error ? c.error : "") << what.str();
        EXPECT_EQ(opsNamed(r, "ssSetErrorStatus").size(), c.error ? 1u : 0u) << what.str();
        const char* setter = c.input ? "ssSetInputPortDimensionInfo" : "ssSetOutputPortDimensionInfo";
        EXPECT_EQ(opsNamed(r, setter).size(), c.passed ? 1u : 0u) << what.str();
        const json ports = s.state()[c.input ? "inputs" : "outputs"];
        if (c.port >= 0 && static_cast<size_t>(c.port) < ports.size()) {
            EXPECT_EQ(ports[static_cast<size_t>(c.port)]["dims"], c.dimsAfter) << what.str();
        }
    }
}

TEST(NdimPropagation, WithoutASetterAnOfferCountsAsTaken) {
    Dialog d;
    d.inCodes = "[0]";
    d.inRecords = "[" + rec("2 -1 4") + "]";
    HostOptions host;
    host.dimensionSetter = false;
    auto s = sizedDialog(kLcd, d, host);
    Offer fits{{6, 4}}, misfit{{6, 5}};
    EXPECT_FALSE(s->method(126, 0, 0, fits.get()).errorStatus);
    EXPECT_EQ(s->method(126, 0, 0, misfit.get()).errorStatus.value_or(""), kInputMismatch);
}

// --- defaults ------------------------------------------------------------------

Dialog openDialog() {
    Dialog d;
    d.inCodes = "[0 0 0 0]";
    d.inRecords = "[" + rec("-1") + " " + rec("-1") + " " + rec("2 3 4") + " " + rec("2 -1 4") + "]";
    d.outCodes = "[0 0]";
    d.outRecords = "[" + rec("-1") + " " + rec("0") + "]";
    d.options = "3";
    return d;
}

TEST(NdimDefaults, ListedPortsStillOpenBecomeOneByOne) {
    auto s = sizedDialog(kLcd, openDialog());
    Offer five{{5}};
    ASSERT_FALSE(s->method(126, 1, 0, five.get()).errorStatus);
    CallResult r = s->method(131);
    EXPECT_FALSE(r.errorStatus);
    EXPECT_EQ(opsNamed(r, "ssSetInputPortDimensionInfo"),
              (std::vector<json>{{"ssSetInputPortDimensionInfo", 0}, {"ssSetInputPortDimensionInfo", 3}}));
    EXPECT_EQ(opsNamed(r, "ssSetOutputPortDimensionInfo"),
              std::vector<json>{json({"ssSetOutputPortDimensionInfo", 0})});
    const json in = s.state()["inputs"], out = s.state()["outputs"];
    EXPECT_EQ(in[0]["dims"], json({1, 1}));
    EXPECT_EQ(in[0]["width"], 1);
    EXPECT_EQ(in[1]["dims"], json({5}));
    EXPECT_EQ(in[2]["dims"], json({3, 4}));
    EXPECT_EQ(in[3]["dims"], json({1, 1}));
    EXPECT_EQ(in[4]["dims"], nullptr);  // the boolean port is never touched
    EXPECT_EQ(out[0]["dims"], json({1, 1}));
    EXPECT_EQ(out[1]["width"], 1);
    // Nothing left open: a second pass does nothing.
    EXPECT_TRUE(opsNamed(s->method(131), "ssSetInputPortDimensionInfo").empty());
}

TEST(NdimDefaults, StopsAtTheFirstRefusal) {
    auto s = sizedDialog(kLcd, openDialog());
    // The host turns to refusing shapes after the block was sized.
    s->raw()->setInputPortDimensionInfoFcn = [](SimStruct*, int, const DimsInfo_T*) { return 0; };
    CallResult r = s->method(131);
    EXPECT_FALSE(r.errorStatus);
    EXPECT_EQ(opsNamed(r, "ssSetInputPortDimensionInfo").size(), 1u);
    EXPECT_TRUE(opsNamed(r, "ssSetOutputPortDimensionInfo").empty());
    EXPECT_EQ(s.output(0)["width"], -1);
}

// --- the dimension table and the method table ------------------------------------

Dialog arrayDialog() {
    Dialog d;
    d.inCodes = "[0 0]";
    d.inRecords = "[" + rec("2 3 4") + " " + rec("-1") + "]";
    d.outCodes = "[0]";
    d.outRecords = "[" + rec("3 2 -1 2") + "]";
    return d;
}

TEST(NdimLifecycle, TerminateFreesTheTableOnce) {
    for (const char* name : {kLcd, kCall}) {
        auto s = sizedDialog(name, arrayDialog());
        EXPECT_TRUE(s.state()["userData"]) << name;
        EXPECT_FALSE(s->method(107).errorStatus) << name;
        EXPECT_FALSE(s.state()["userData"]) << name;
        // The host kept its own copy of the sizes that pointed into the table.
        EXPECT_EQ(s.input(0)["dims"], json({3, 4})) << name;
        EXPECT_EQ(s.output(0)["dims"], json({-1, -1, -1})) << name;
        EXPECT_FALSE(s->method(107).errorStatus) << name;
        EXPECT_FALSE(s.state()["userData"]) << name;
    }
    Record never(block(kLcd), arrayDialog().params());
    EXPECT_FALSE(never.method(107).errorStatus);
    EXPECT_FALSE(never.method(107).errorStatus);
}

TEST(NdimLifecycle, SecondSizesQueryReplacesTheTable) {
    auto s = sizedDialog(kCall, arrayDialog());
    for (int round = 0; round < 3; ++round) {
        CallResult again = s->sizesQuery();
        EXPECT_FALSE(again.errorStatus);
        EXPECT_EQ(opsNamed(again, "ssSetUserData"), std::vector<json>{json({"ssSetUserData", 1})});
        EXPECT_EQ(s.input(0)["dims"], json({3, 4}));
    }
    Offer offer{{7}};
    EXPECT_FALSE(s->method(126, 1, 0, offer.get()).errorStatus);
    s->method(107);
    EXPECT_FALSE(s.state()["userData"]);
}

// Under LeakSanitizer this is the check that a query with no terminate to
// follow leaves nothing behind.
TEST(NdimLifecycle, CommandLineQueriesLeaveNothingBehind) {
    const std::string records = "[" + rec("2 3 4") + " " + rec("-1") + "]";
    for (int i = 0; i < 3000; ++i) {
        CallResult r = commandLine(i % 2 ? kLcd : kCall,
                                   {"[0 1]", "[]", records, "[]", "{}", "0.01", "1"});
        ASSERT_FALSE(r.mexError) << *r.mexError;
        ASSERT_TRUE(r.sizes());
        ASSERT_EQ((*r.sizes())[3], 3);
        ASSERT_EQ((*r.sizes())[23], 0x2003006);
    }
}

TEST(NdimLifecycle, MethodTableAndSampleTime) {
    auto s = sizedDialog(kLcd, arrayDialog());
    EXPECT_TRUE(s.state()["dimensionMethods"]);
    EXPECT_EQ(s.state()["methods"],
              json({"mdlInitializeSizes", "mdlInitializeSampleTimes", "mdlOutputs", "mdlUpdate", "mdlTerminate",
                    "mdlRTW", "mdlGetTimeOfNextVarHit", "mdlZeroCrossings", "mdlSetInputPortDimensionInfo",
                    "mdlSetOutputPortDimensionInfo", "mdlSetDefaultPortDimensionInfo"}));
    EXPECT_EQ(s->method(115).errorStatus.value_or(""), "Unexpected call to mdlSetInputPortWidth");
    EXPECT_EQ(s->method(116).errorStatus.value_or(""), "Unexpected call to mdlSetOutputPortWidth");
    EXPECT_EQ(s->method(113).errorStatus.value_or(""), "Unexpected call to mdlSetInputPortDataType");
    EXPECT_EQ(s->method(132).errorStatus.value_or(""), "Unexpected call to mdlSetDefaultPortDataTypes");
    EXPECT_FALSE(s->method(105).errorStatus);
    EXPECT_FALSE(s->method(101).errorStatus);
    EXPECT_EQ(s.state()["sampleTimes"], json::parse("[[0.01, 0]]"));
    EXPECT_EQ(s.state()["notTunable"], json({0, 1, 2, 3, 4, 5, 6}));
}

TEST(NdimLifecycle, RunScriptOfTheExample) {
    const auto file = std::filesystem::path(__FILE__).parent_path() / "scripts" / "ndim_dims.json";
    const json out = cli::runScript(cli::readScript(file), ZEVK_TEST_MEX_DIR);
    std::vector<std::string> errors;
    for (const json& step : out["steps"]) {
        errors.push_back(step["error"].is_null() ? std::string("-") : step["error"].get<std::string>());
    }
    EXPECT_EQ(errors, (std::vector<std::string>{"-", "-", kInputMismatch, kInputMismatch, "-", kInputMismatch, "-",
                                                "-", "-", "Unexpected call to mdlSetInputPortWidth", "-"}));
    const json first = out["steps"][0]["record"];
    EXPECT_EQ(first["inputs"][0]["width"], 12);
    EXPECT_EQ(first["inputs"][1]["dims"], json({-1, -1}));
    const json last = out["steps"].back()["record"];
    EXPECT_EQ(last["inputs"][1]["dims"], json({7, 4}));
    EXPECT_EQ(last["inputs"][2]["dims"], json({1, 1}));
    EXPECT_EQ(last["outputs"][0]["dims"], json({1, 1}));
    EXPECT_FALSE(last["userData"]);
}

}  // namespace
}  // namespace zevk::test
