// The three UART blocks through the loader: their layouts, the data types
// each port accepts, the defaults, the receive block's dimension methods,
// and dialogs outside the 0/1 settings.
#include <string>
#include <vector>

#include "tests/support.h"

namespace zevk::test {
namespace {

const char kInvalidType[] = "Invalid input or output port data type";
const char kInvalidInputCall[] = "Invalid call to mdlSetInputPortDataType";
const char kInvalidOutputCall[] = "Invalid call to mdlSetOutputPortDataType";

// Every port the block registered has its width and data type.
void expectEveryPortConfigured(const Sized& s, const std::string& label) {
    const json state = s.state();
    for (const char* side : {"inputs", "outputs"}) {
        for (size_t i = 0; i < state[side].size(); ++i) {
            EXPECT_FALSE(state[side][i]["width"].is_null()) << label << ": " << side << " " << i;
            EXPECT_FALSE(state[side][i]["dtype"].is_null()) << label << ": " << side << " " << i;
        }
    }
}

json port(int width, int dtype) { return {{"width", width}, {"dtype", dtype}}; }

// Width and data type of each port on one side.
json shapes(const Sized& s, const char* side) {
    const json state = s.state();
    json out = json::array();
    for (const json& p : state[side]) out.push_back({{"width", p["width"]}, {"dtype", p["dtype"]}});
    return out;
}

struct Proposal {
    int port;
    int id;
    std::string error;  // empty: accepted
};

// Each proposal on a fresh record, so an accepted one cannot mask the next.
void expectProposals(const std::string& name, std::initializer_list<std::string_view> params, double flag,
                     const std::vector<Proposal>& proposals) {
    for (const Proposal& p : proposals) {
        auto s = sized(name, params);
        const char* side = flag == 113 ? "inputs" : "outputs";
        const json before = s.state()[side];
        CallResult r = s->method(flag, p.port, p.id);
        const std::string label = name + " port " + std::to_string(p.port) + " id " + std::to_string(p.id);
        EXPECT_EQ(r.errorStatus.value_or(""), p.error) << label;
        if (p.error.empty()) {
            EXPECT_EQ(s.state()[side].at(p.port)["dtype"], p.id) << label;
        } else {
            EXPECT_EQ(s.state()[side], before) << label;  // a rejected port keeps its type
        }
    }
}

// --- ZEVK_UART_Rx ------------------------------------------------------------

TEST(UartRx, LeadingPortLayoutAndDefaults) {
    auto s = sized("ZEVK_UART_Rx", {"0.01", "1", "-1", "2"});
    EXPECT_EQ(s.state()["sizes"][3], 0);
    EXPECT_EQ(shapes(s, "outputs"), json({port(1, -1), port(-1, 3), port(1, 8)}));
    EXPECT_EQ(s.state()["sizes"][23], 0x2002u);
    EXPECT_EQ(s.state()["sizes"][6], 1);
    EXPECT_TRUE(s.state()["dimensionMethods"]);

    CallResult dims = s->method(131);
    EXPECT_FALSE(dims.errorStatus);
    EXPECT_EQ(opsNamed(dims, "ssSetOutputPortWidth"), std::vector<json>({{"ssSetOutputPortWidth", 1, 10}}));
    CallResult types = s->method(132);
    EXPECT_FALSE(types.errorStatus);
    EXPECT_EQ(shapes(s, "outputs"), json({port(1, 5), port(10, 3), port(1, 8)}));
}

TEST(UartRx, DataWidthAndDefaultWidth) {
    struct Row {
        std::string_view lead, width;
        int declared, afterDefault;
    };
    for (const Row& row : std::vector<Row>{{"0", "0", 0, 0},
                                           {"0", "5.7", 5, 5},
                                           {"0", "-3", -1, 10},
                                           {"1", "-1", -1, 10},
                                           // Truncated before the sign test.
                                           {"0", "-0.5", 0, 0},
                                           {"0", "NaN", -1, 10},
                                           {"0", "[]", 0, 0},
                                           {"1", "[4 9]", 4, 4}}) {
        auto s = sized("ZEVK_UART_Rx", {"0.01", row.lead, row.width, "0"});
        const int data = row.lead == "0" ? 0 : 1;
        const std::string label = std::string(row.lead) + " / " + std::string(row.width);
        EXPECT_EQ(s.output(data)["width"], row.declared) << label;
        s->method(131);
        EXPECT_EQ(s.output(data)["width"], row.afterDefault) << label;
        if (data == 1) {
            EXPECT_EQ(s.output(0)["width"], 1) << label;
        }
    }
}

TEST(UartRx, OptionBitsAddBooleanPorts) {
    auto s = sized("ZEVK_UART_Rx", {"0.01", "0", "8", "3"});
    ASSERT_EQ(s.state()["inputs"].size(), 1u);
    EXPECT_EQ(s.input(0)["width"], 1);
    EXPECT_EQ(s.input(0)["dtype"], 8);
    EXPECT_EQ(s.input(0)["feedthrough"], 1);
    EXPECT_EQ(shapes(s, "outputs"), json({port(8, 3), port(1, 8)}));
    // The input's type method is there and does nothing.
    CallResult r = s->method(113, 0, 3);
    EXPECT_FALSE(r.errorStatus);
    EXPECT_EQ(s.input(0)["dtype"], 8);
    EXPECT_FALSE(s->method(113, 5, 0).errorStatus);
}

TEST(UartRx, OutputDataTypeProposals) {
    expectProposals("ZEVK_UART_Rx", {"0.01", "1", "-1", "2"}, 114,
                    {{0, 5, ""},
                     {0, 2, ""},
                     {0, 4, ""},
                     {0, 7, kInvalidType},
                     {0, 8, kInvalidType},
                     {1, 3, ""},
                     {1, 2, ""},
                     {1, 5, kInvalidType},
                     {2, 8, kInvalidOutputCall},
                     {2, 3, kInvalidOutputCall}});
    expectProposals("ZEVK_UART_Rx", {"0.01", "0", "4", "2"}, 114,
                    {{0, 3, ""}, {0, 2, ""}, {0, 5, kInvalidType}, {1, 3, kInvalidOutputCall}});
}

// Any non-zero leading setting is the leading layout, in every method.
TEST(UartRx, LeadingSettingOtherThanZeroOrOne) {
    for (std::string_view lead : {"2", "-1", "NaN", "1e10", "0.5", "-0.9"}) {
        auto s = sized("ZEVK_UART_Rx", {"0.01", lead, "-1", "2"});
        const std::string label(lead);
        expectEveryPortConfigured(s, label);
        const bool leading = !(lead == "0.5" || lead == "-0.9");
        EXPECT_EQ(s.state()["outputs"].size(), leading ? 3u : 2u) << label;
        s->method(131);
        s->method(132);
        EXPECT_EQ(shapes(s, "outputs"), leading ? json({port(1, 5), port(10, 3), port(1, 8)})
                                                : json({port(10, 3), port(1, 8)}))
            << label;
        EXPECT_EQ(s->method(114, leading ? 2 : 1, 8).errorStatus.value_or(""), kInvalidOutputCall) << label;
    }
}

TEST(UartRx, DimensionMethodsPassTheOfferThrough) {
    auto s = sized("ZEVK_UART_Rx", {"0.01", "1", "-1", "1"});
    int32_t sizes[2] = {2, 3};
    DimsInfo_T dims{6, 2, sizes, nullptr};
    CallResult out = s->method(127, 1, 0, &dims);
    EXPECT_FALSE(out.errorStatus);
    EXPECT_EQ(s.output(1)["width"], 6);
    EXPECT_EQ(s.output(1)["dims"], json({2, 3}));
    CallResult in = s->method(126, 0, 0, &dims);
    EXPECT_FALSE(in.errorStatus);
    EXPECT_EQ(s.input(0)["dims"], json({2, 3}));
    // A propagated width is kept by the default.
    s->method(131);
    EXPECT_EQ(s.output(1)["width"], 6);
    // Width calls are the dimension methods' business.
    EXPECT_EQ(s->method(115).errorStatus.value_or(""), "Unexpected call to mdlSetInputPortWidth");
    EXPECT_EQ(s->method(116).errorStatus.value_or(""), "Unexpected call to mdlSetOutputPortWidth");

    HostOptions noSetter;
    noSetter.dimensionSetter = false;
    auto plain = sized("ZEVK_UART_Rx", {"0.01", "1", "-1", "0"}, noSetter);
    EXPECT_FALSE(plain->method(127, 1, 0, &dims).errorStatus);
    EXPECT_EQ(plain.output(1)["width"], -1);
}

// --- ZEVK_UART_Tx ------------------------------------------------------------

TEST(UartTx, LeadingInputLayout) {
    auto s = sized("ZEVK_UART_Tx", {"0.01", "1", "1", "0"});
    const json inputs = s.state()["inputs"];
    ASSERT_EQ(inputs.size(), 3u);
    EXPECT_EQ(shapes(s, "inputs"), json({port(1, -1), port(-1, -1), port(1, 8)}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(inputs[i]["feedthrough"], 1) << i;
    EXPECT_EQ(inputs[1]["contiguous"], 1);
    EXPECT_TRUE(inputs[0]["contiguous"].is_null());
    EXPECT_EQ(s.state()["outputs"], json::array());
    EXPECT_EQ(s.state()["sizes"][23], 0x2002u);
    EXPECT_FALSE(s.state()["dimensionMethods"]);

    s->method(132);
    EXPECT_EQ(shapes(s, "inputs"), json({port(1, 5), port(-1, 3), port(1, 8)}));
}

TEST(UartTx, OutputsFromParameterThreeAndBitOne) {
    auto both = sized("ZEVK_UART_Tx", {"0.01", "2", "0", "1"});
    EXPECT_EQ(shapes(both, "outputs"), json({port(1, 5), port(1, 8)}));
    auto boolOnly = sized("ZEVK_UART_Tx", {"0.01", "2", "0", "0"});
    EXPECT_EQ(shapes(boolOnly, "outputs"), json({port(1, 8)}));
    EXPECT_EQ(shapes(boolOnly, "inputs"), json({port(-1, -1)}));
    EXPECT_EQ(boolOnly->method(114, 0, 8).errorStatus.value_or(""), "Unexpected call to mdlSetOutputPortDataType");
}

TEST(UartTx, InputDataTypeProposals) {
    expectProposals("ZEVK_UART_Tx", {"0.01", "1", "1", "0"}, 113,
                    {{0, 7, ""},
                     {0, 3, ""},
                     {0, 5, ""},
                     {0, 2, kInvalidType},
                     {0, 6, kInvalidType},
                     {1, 2, ""},
                     {1, 3, ""},
                     {1, 5, kInvalidType},
                     // The boolean port and beyond: answered like the other layout.
                     {2, 8, kInvalidInputCall},
                     {3, 3, kInvalidInputCall},
                     {-1, 3, kInvalidInputCall}});
    expectProposals("ZEVK_UART_Tx", {"0.01", "1", "0", "0"}, 113,
                    {{0, 2, ""}, {0, 3, ""}, {0, 5, kInvalidType}, {1, 8, kInvalidInputCall}});
}

TEST(UartTx, DataPortDefaultWithoutLeadingInput) {
    auto s = sized("ZEVK_UART_Tx", {"0.01", "0", "0", "0"});
    s->method(132);
    EXPECT_EQ(shapes(s, "inputs"), json({port(-1, 3)}));
    // A propagated type is kept.
    auto typed = sized("ZEVK_UART_Tx", {"0.01", "0", "0", "0"});
    typed->method(113, 0, 2);
    typed->method(132);
    EXPECT_EQ(typed.input(0)["dtype"], 2);
}

// Ports exist for exactly 1 only; counts, propagation and defaults all
// follow the ports that exist.
TEST(UartTx, FlagsOtherThanZeroOrOne) {
    struct Row {
        std::string_view leading, output;
        size_t inputs, outputs;
    };
    for (const Row& row : std::vector<Row>{{"2", "0", 2, 1},
                                           {"0.5", "0", 2, 1},
                                           {"-1", "0", 2, 1},
                                           {"NaN", "0", 2, 1},
                                           {"0", "2", 2, 1},
                                           {"0", "0.5", 2, 1},
                                           {"1", "[1 1]", 3, 2},
                                           {"[]", "[]", 2, 1}}) {
        const std::string label = std::string(row.leading) + " / " + std::string(row.output);
        auto s = sized("ZEVK_UART_Tx", {"0.01", "3", row.leading, row.output});
        EXPECT_EQ(s.state()["inputs"].size(), row.inputs) << label;
        EXPECT_EQ(s.state()["outputs"].size(), row.outputs) << label;
        expectEveryPortConfigured(s, label);
        const int data = row.inputs == 3 ? 1 : 0;
        EXPECT_EQ(s.input(data)["contiguous"], 1) << label;
        EXPECT_FALSE(s->method(113, data, 2).errorStatus) << label;
        EXPECT_EQ(s->method(113, data + 1, 8).errorStatus.value_or(""), kInvalidInputCall) << label;
        s->method(132);
        EXPECT_EQ(s.input(data + 1)["dtype"], 8) << label;
    }
}

// --- ZEVK_UART_TxMatlab ------------------------------------------------------

TEST(UartTxMatlab, OneDynamicInputPerElement) {
    auto s = sized("ZEVK_UART_TxMatlab", {"0.01", "[7 7 7]"});
    EXPECT_EQ(shapes(s, "inputs"), json({port(-1, -1), port(-1, -1), port(-1, -1)}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(s.input(i)["feedthrough"], 1);
    EXPECT_EQ(opsNamed(s.sizes, "ssSetNumOutputPorts"), std::vector<json>({{"ssSetNumOutputPorts", 0}}));
    EXPECT_EQ(s.state()["sizes"][23], 0x2002u);
    EXPECT_EQ(s.state()["sizes"][6], 1);

    s->method(113, 1, 0);  // double
    s->method(132);
    EXPECT_EQ(shapes(s, "inputs"), json({port(-1, 5), port(-1, 0), port(-1, 5)}));
}

TEST(UartTxMatlab, InputDataTypeProposals) {
    std::vector<Proposal> proposals;
    for (int id = 0; id <= 5; ++id) proposals.push_back({2, id, ""});
    for (int id : {6, 7, 8, 9, -1}) proposals.push_back({2, id, kInvalidType});
    proposals.push_back({3, 0, kInvalidInputCall});
    proposals.push_back({-1, 0, kInvalidInputCall});
    expectProposals("ZEVK_UART_TxMatlab", {"0.01", "[1 2 3]"}, 113, proposals);
}

TEST(UartTxMatlab, PortCountIsNotLimitedToEightBits) {
    std::string many = "[";
    for (int i = 0; i < 300; ++i) many += "1 ";
    many += "]";
    auto s = sized("ZEVK_UART_TxMatlab", {"0.01", many});
    EXPECT_EQ(s.state()["inputs"].size(), 300u);
    expectEveryPortConfigured(s, "300 inputs");
    EXPECT_FALSE(s->method(113, 299, 3).errorStatus);
    auto none = sized("ZEVK_UART_TxMatlab", {"0.01", "[]"});
    EXPECT_EQ(none.state()["inputs"], json::array());
    EXPECT_EQ(none.state()["sizes"][23], 0x2002u);
}

// --- all three ---------------------------------------------------------------

TEST(Uart, WrongParameterCountOrRefusedPorts) {
    struct Case {
        const char* name;
        std::vector<std::string_view> params;
    };
    for (const Case& c : std::vector<Case>{{"ZEVK_UART_Rx", {"0.01", "1", "4", "3"}},
                                           {"ZEVK_UART_Tx", {"0.01", "3", "1", "1"}},
                                           {"ZEVK_UART_TxMatlab", {"0.01", "[1 2]"}}}) {
        std::vector<ArrayPtr> params;
        for (auto p : c.params) params.push_back(lit(p));
        params.push_back(lit("0"));
        auto extra = sized(c.name, std::move(params));
        EXPECT_EQ(extra.state()["sizes"][7], static_cast<int>(c.params.size())) << c.name;
        EXPECT_TRUE(opsNamed(extra.sizes, "ssSetNumInputPorts").empty()) << c.name;
        EXPECT_EQ(extra.state()["sizes"][23], 0x2000u) << c.name;

        for (bool refuseInputs : {true, false}) {
            HostOptions host;
            (refuseInputs ? host.refuseInputPorts : host.refuseOutputPorts) = true;
            std::vector<ArrayPtr> again;
            for (auto p : c.params) again.push_back(lit(p));
            auto s = sized(c.name, std::move(again), host);
            EXPECT_EQ(opsNamed(s.sizes, "ssSetNumOutputPorts").size(), refuseInputs ? 0u : 1u) << c.name;
            EXPECT_TRUE(opsNamed(s.sizes, "ssSetNumSampleTimes").empty()) << c.name;
            EXPECT_EQ(s.state()["sizes"][23], 0x2000u) << c.name;
        }
    }
}

TEST(Uart, CommandLineSizesVectors) {
    const auto rx = sizesVector("ZEVK_UART_Rx", {"0.01", "1", "-1", "3"});
    EXPECT_EQ(rx[3], 1);
    EXPECT_EQ(rx[2], 3);
    EXPECT_EQ(rx[7], 4);
    EXPECT_EQ(rx[23], 0x2002);
    const auto tx = sizesVector("ZEVK_UART_Tx", {"0.01", "3", "1", "1"});
    EXPECT_EQ(tx[3], 3);
    EXPECT_EQ(tx[2], 2);
    const auto txm = sizesVector("ZEVK_UART_TxMatlab", {"0.01", "[1 2 3 4]"});
    EXPECT_EQ(txm[3], 4);
    EXPECT_EQ(txm[2], 0);
    EXPECT_EQ(txm[7], 2);
}

}  // namespace
}  // namespace zevk::test
