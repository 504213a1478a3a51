// The fixed-layout peripheral blocks through the loader: the member table as
// the host sees it (attributes and their order), the extra boolean ports, the
// data type and width entries taken as they stand, and the bad dialogs.
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "tests/support.h"

namespace zevk::test {
namespace {

using Ops = std::vector<std::pair<std::string, int64_t>>;  // port-level attribute ops, port filled in

struct Member {
    std::vector<std::string> blocks;
    int params;
    Ops inputAttrs;   // after width and data type, for every typed input
    Ops outputAttrs;  // after width and data type, for every typed output
    int64_t options;
};

// The member table, for a dialog with typed outputs.
const std::vector<Member>& members() {
    static const std::vector<Member> table = {
        {{"ZEVK_OC_SW", "ZEVK_IC", "ZEVK_QDEC_QORx"},
         4,
         {{"ssSetInputPortDirectFeedThrough", 1}, {"ssSetInputPortOptimOpts", 2}, {"ssSetInputPortOverWritable", 1}},
         {{"ssSetOutputPortOptimOpts", 2}},
         2},
        {{"ZEVK_Digital_Input", "ZEVK_Digital_Output_Read"},
         4,
         {{"ssSetInputPortDirectFeedThrough", 1}, {"ssSetInputPortOptimOpts", 1}, {"ssSetInputPortOverWritable", 1}},
         {{"ssSetOutputPortComplexSignal", 0},
          {"ssSetOutputPortOptimOpts", 1},
          {"ssSetOutputPortOutputExprInRTW", 1}},
         2},
        {{"ZEVK_ADC"},
         5,
         {{"ssSetInputPortDirectFeedThrough", 1}, {"ssSetInputPortOptimOpts", 2}, {"ssSetInputPortOverWritable", 1}},
         {{"ssSetOutputPortOptimOpts", 0}},
         2},
        {{"ZEVK_Digital_Output_Write"},
         4,
         {{"ssSetInputPortDirectFeedThrough", 1},
          {"ssSetInputPortOptimOpts", 1},
          {"ssSetInputPortOverWritable", 1},
          {"ssSetInputPortComplexSignal", 0},
          {"ssSetInputPortAcceptExprInRTW", 1},
          {"ssSetInputPortRequiredContiguous", 1}},
         {{"ssSetOutputPortOptimOpts", 1}},
         0x2001006},
        // With outputs listed its inputs lose direct feedthrough.
        {{"ZEVK_Digital_Output"},
         4,
         {{"ssSetInputPortDirectFeedThrough", 0},
          {"ssSetInputPortOptimOpts", 2},
          {"ssSetInputPortOverWritable", 1},
          {"ssSetInputPortComplexSignal", 0},
          {"ssSetInputPortAcceptExprInRTW", 1},
          {"ssSetInputPortRequiredContiguous", 1}},
         {{"ssSetOutputPortOptimOpts", 1}},
         0x2001006},
    };
    return table;
}

std::vector<std::string_view> dialog(int params, std::initializer_list<std::string_view> first4,
                                     std::string_view widths = "[4 1]") {
    std::vector<std::string_view> d(first4);
    if (params == 5) d.push_back(widths);
    return d;
}

Sized sizedWith(const std::string& name, const std::vector<std::string_view>& params, HostOptions options = {}) {
    std::vector<ArrayPtr> arrays;
    for (auto p : params) arrays.push_back(lit(p));
    return sized(name, std::move(arrays), std::move(options));
}

// What the block did to the record, leaving out reads and the glue's own ops.
json writes(const CallResult& r) {
    json out = json::array();
    for (const auto& op : r.ops) {
        const std::string name = op[0];
        if (name.rfind("ssGet", 0) == 0 || name == "request") continue;
        out.push_back(op);
    }
    return out;
}

TEST(FixedLayout, MemberTableInOperationOrder) {
    for (const Member& m : members()) {
        for (const std::string& name : m.blocks) {
            auto s = sizedWith(name, dialog(m.params, {"0.01", "[3 5]", "[7 4]", "3"}));
            ASSERT_FALSE(s.sizes.mexError) << name;
            json expected = json::array({json({"ssSetNumSFcnParams", m.params})});
            for (int i = 0; i < m.params; ++i) expected.push_back({"ssSetSFcnParamNotTunable", i});
            expected.push_back({"ssSetNumInputPorts", 3});
            const int inTypes[] = {3, 5};
            for (int k = 0; k < 2; ++k) {
                expected.push_back({"ssSetInputPortWidth", k, 1});
                expected.push_back({"ssSetInputPortDataType", k, inTypes[k]});
                for (const auto& [op, value] : m.inputAttrs) expected.push_back({op, k, value});
            }
            expected.push_back({"ssSetInputPortDataType", 2, 8});
            expected.push_back({"ssSetInputPortWidth", 2, 1});
            expected.push_back({"ssSetInputPortDirectFeedThrough", 2, 1});
            expected.push_back({"ssSetNumOutputPorts", 3});
            const int outTypes[] = {7, 4};
            const int outWidths[] = {m.params == 5 ? 4 : 1, 1};
            for (int k = 0; k < 2; ++k) {
                expected.push_back({"ssSetOutputPortWidth", k, outWidths[k]});
                expected.push_back({"ssSetOutputPortDataType", k, outTypes[k]});
                for (const auto& [op, value] : m.outputAttrs) expected.push_back({op, k, value});
            }
            expected.push_back({"ssSetOutputPortDataType", 2, 8});
            expected.push_back({"ssSetOutputPortWidth", 2, 1});
            expected.push_back({"ssSetNumSampleTimes", 1});
            expected.push_back({"ssSetOptions", m.options});
            EXPECT_EQ(writes(s.sizes), expected) << name;

            auto v = s.sizes.sizes().value_or(std::vector<double>(40));
            EXPECT_EQ(v[7], m.params) << name;
            EXPECT_EQ(v[23], double(m.options | 0x2000)) << name;
            EXPECT_EQ(v[19], 8480229) << name;
            json notTunable = json::array();
            for (int i = 0; i < m.params; ++i) notTunable.push_back(i);
            EXPECT_EQ(s.state()["notTunable"], notTunable) << name;
        }
    }
}

TEST(FixedLayout, MethodTableAndSampleTime) {
    const json methods = {"mdlInitializeSizes", "mdlInitializeSampleTimes", "mdlOutputs", "mdlUpdate", "mdlTerminate",
                          "mdlRTW", "mdlGetTimeOfNextVarHit", "mdlZeroCrossings"};
    for (const Member& m : members()) {
        for (const std::string& name : m.blocks) {
            auto s = sizedWith(name, dialog(m.params, {"[0.01 0.002]", "3", "7", "0"}));
            EXPECT_EQ(s.state()["methods"], methods) << name;
            EXPECT_FALSE(s.state()["dimensionMethods"]) << name;
            EXPECT_FALSE(s->method(105).errorStatus) << name;
            EXPECT_EQ(s->method(113, 0, 3).errorStatus.value_or(""), "Unexpected call to mdlSetInputPortDataType");
            EXPECT_EQ(s->method(132).errorStatus.value_or(""), "Unexpected call to mdlSetDefaultPortDataTypes");
            EXPECT_EQ(s->method(115, 0, 1).errorStatus.value_or(""), "Unexpected call to mdlSetInputPortWidth");
            EXPECT_FALSE(s->method(101).errorStatus) << name;
            EXPECT_EQ(s.state()["sampleTimes"], json::array({json::array({0.01, 0.002})})) << name;
        }
    }
}

TEST(FixedLayout, InputCaptureDialogs) {
    // The sizes of the usual dialog, as a command-line caller sees them.
    auto v = sizesVector("ZEVK_IC", {"0.01", "[3 5]", "7", "3"});
    ASSERT_EQ(v.size(), 40u);
    EXPECT_EQ(v[3], 3);
    EXPECT_EQ(v[2], 2);
    EXPECT_EQ(v[6], 1);
    EXPECT_EQ(v[7], 4);
    EXPECT_EQ(v[23], 0x2002);

    struct Case {
        std::vector<std::string_view> params;
        json inputTypes, outputTypes;
    };
    const std::vector<Case> cases = {
        {{"0.01", "[3 5]", "7", "3"}, {3, 5, 8}, {7, 8}},
        {{"0.01", "[3 5]", "7", "0"}, {3, 5}, {7}},
        {{"0.01", "[]", "[]", "1"}, {8}, json::array()},
        {{"0.01", "[3 5]", "7", "2.9"}, {3, 5}, {7, 8}},
        {{"0.01", "[3 5]", "7", "4"}, {3, 5}, {7}},
        {{"0.01", "[3 5]", "7", "-1"}, {3, 5, 8}, {7, 8}},
        {{"0.01", "[3; 5]", "[7 6; 1 2]", "0"}, {3, 5}, {7, 1, 6, 2}},
        {{"0.01", "int8([3 5])", "logical(1)", "uint8(1)"}, {3, 5, 8}, {1}},
        {{"0.01", "'ab'", "[]", "0"}, {97, 98}, json::array()},
        // Arrays with no numbers in them list no ports; nothing is read from them.
        {{"0.01", "{3, 5}", "{7}", "{3}"}, json::array(), json::array()},
    };
    for (const auto& c : cases) {
        auto s = sizedWith("ZEVK_IC", c.params);
        const json state = s.state();
        json in = json::array(), out = json::array();
        for (const auto& p : state["inputs"]) in.push_back(p["dtype"]);
        for (const auto& p : state["outputs"]) out.push_back(p["dtype"]);
        EXPECT_EQ(in, c.inputTypes) << json(c.params).dump();
        EXPECT_EQ(out, c.outputTypes) << json(c.params).dump();
        EXPECT_EQ(state["sizes"][6], 1);
    }
}

TEST(FixedLayout, DataTypeEntriesAreStoredAsGiven) {
    struct Case {
        const char* entry;
        int64_t id;
    };
    const std::vector<Case> cases = {
        {"6.7", 6},         {"-1", -1},         {"-7", -7},        {"105", 105},       {"-0.9", 0},
        {"8.9", 8},         {"2^31 - 1", INT32_MAX}, {"-2^31", INT32_MIN},
        // Out of the 32-bit range: the most negative id, never undefined.
        {"2^31", INT32_MIN}, {"2^31 + 5", INT32_MIN}, {"-2^31 - 1", INT32_MIN}, {"1e300", INT32_MIN},
        {"NaN", INT32_MIN},  {"-Inf", INT32_MIN},
    };
    for (const auto& c : cases) {
        for (const char* name : {"ZEVK_QDEC_QORx", "ZEVK_Digital_Output_Write"}) {
            auto s = sizedWith(name, {"0.01", c.entry, c.entry, "0"});
            EXPECT_EQ(s.input(0)["dtype"], c.id) << name << " " << c.entry;
            EXPECT_EQ(s.output(0)["dtype"], c.id) << name << " " << c.entry;
        }
    }
}

TEST(FixedLayout, DigitalOutputFeedthroughFollowsTheOutputList) {
    struct Case {
        const char* outputs;
        const char* options;
        int feedthrough, optim;
    };
    const std::vector<Case> cases = {
        {"[]", "1", 1, 1},
        {"[]", "3", 1, 1},  // the extra output is not a listed output
        {"8", "1", 0, 2},
        {"[8 8]", "3", 0, 2},
    };
    for (const auto& c : cases) {
        auto s = sizedWith("ZEVK_Digital_Output", {"0.01", "[8 3]", c.outputs, c.options});
        for (int k : {0, 1}) {
            EXPECT_EQ(s.input(k)["feedthrough"], c.feedthrough) << c.outputs << " input " << k;
            EXPECT_EQ(s.input(k)["optim"], c.optim) << c.outputs << " input " << k;
            EXPECT_EQ(s.input(k)["contiguous"], 1);
        }
        EXPECT_EQ(s.input(2)["feedthrough"], 1) << c.outputs << ": the extra input keeps direct feedthrough";
        EXPECT_TRUE(s.input(2)["optim"].is_null()) << c.outputs;
    }
    // Digital_Output_Write has no such rule.
    auto w = sizedWith("ZEVK_Digital_Output_Write", {"0.01", "8", "8", "0"});
    EXPECT_EQ(w.input(0)["feedthrough"], 1);
    EXPECT_EQ(w.input(0)["optim"], 1);
}

TEST(FixedLayout, ExtraBooleanPortsCarryNoMemberAttribute) {
    for (const Member& m : members()) {
        const std::string& name = m.blocks.front();
        auto s = sizedWith(name, dialog(m.params, {"0.01", "[]", "[]", "3"}, "[]"));
        json in = s.input(0);
        EXPECT_EQ(in["dtype"], 8) << name;
        EXPECT_EQ(in["width"], 1) << name;
        EXPECT_EQ(in["feedthrough"], 1) << name;
        for (const char* attr : {"optim", "overwritable", "complex", "acceptExpr", "contiguous"}) {
            EXPECT_TRUE(in[attr].is_null()) << name << " extra input " << attr;
        }
        json out = s.output(0);
        EXPECT_EQ(out["dtype"], 8) << name;
        EXPECT_EQ(out["width"], 1) << name;
        for (const char* attr : {"optim", "complex", "outputExpr"}) {
            EXPECT_TRUE(out[attr].is_null()) << name << " extra output " << attr;
        }
    }
    // Beside typed ports that do carry them.
    auto d = sizedWith("ZEVK_Digital_Input", {"0.01", "1", "1", "2"});
    EXPECT_EQ(d.output(0)["complex"], 0);
    EXPECT_EQ(d.output(0)["outputExpr"], 1);
    EXPECT_TRUE(d.output(1)["complex"].is_null());
    EXPECT_TRUE(d.output(1)["outputExpr"].is_null());
}

TEST(FixedLayout, AdcWidthsAreOnlyTruncated) {
    struct Case {
        const char* types;
        const char* widths;
        json expected;
    };
    const std::vector<Case> cases = {
        {"[5 5]", "[4 1]", {4, 1}},
        {"[5 5 5 5]", "[0 -3 2.7 -1]", {0, -3, 2, -1}},
        {"[5 5]", "[4 1 9]", {4, 1}},
        // Fewer widths than outputs: the rest are dynamically sized.
        {"[5 5 5]", "[4]", {4, -1, -1}},
        {"[5 5]", "[]", {-1, -1}},
        {"[5 5]", "{4, 1}", {-1, -1}},
    };
    for (const auto& c : cases) {
        auto s = sizedWith("ZEVK_ADC", {"0.01", "[]", c.types, "2", c.widths});
        const json state = s.state();
        json widths = json::array();
        for (const auto& p : state["outputs"]) widths.push_back(p["width"]);
        json expected = c.expected;
        expected.push_back(1);  // the extra boolean output
        EXPECT_EQ(widths, expected) << c.widths;
        EXPECT_EQ(s.output(0)["dtype"], 5);
        EXPECT_EQ(s.output(0)["optim"], 0);
    }
}

TEST(FixedLayout, WrongParameterCountDeclaresOnlyTheCount) {
    for (const Member& m : members()) {
        for (const std::string& name : m.blocks) {
            for (int given : {0, m.params - 1, m.params + 1}) {
                std::vector<std::string_view> params(static_cast<size_t>(given), "1");
                auto s = sizedWith(name, params);
                EXPECT_EQ(writes(s.sizes), json::array({json({"ssSetNumSFcnParams", m.params})}))
                    << name << " given " << given;
                auto v = s.sizes.sizes().value_or(std::vector<double>(40));
                EXPECT_EQ(v[7], m.params);
                EXPECT_EQ(v[2] + v[3] + v[6], 0) << name;
                EXPECT_EQ(v[23], 0x2000) << name;
            }
        }
    }
}

TEST(FixedLayout, RefusedPortCountEndsTheMethod) {
    HostOptions noInputs;
    noInputs.refuseInputPorts = true;
    auto a = sizedWith("ZEVK_ADC", {"0.01", "[3 5]", "7", "3", "2"}, noInputs);
    json w = writes(a.sizes);
    EXPECT_EQ(w.back(), json({"ssSetNumInputPorts", 3}));

    HostOptions noOutputs;
    noOutputs.refuseOutputPorts = true;
    auto b = sizedWith("ZEVK_ADC", {"0.01", "[3 5]", "7", "3", "2"}, noOutputs);
    w = writes(b.sizes);
    EXPECT_EQ(w.back(), json({"ssSetNumOutputPorts", 2}));
    EXPECT_EQ(b.state()["inputs"].size(), 3u) << "inputs declared before the refusal stay";
    EXPECT_EQ(b.state()["sizes"][6], 0);
    EXPECT_EQ(b.state()["sizes"][23], 0x2000) << "no options word of the block's";
}

TEST(FixedLayout, ListsLongerThan255EntriesAreNotCut) {
    std::vector<double> types(300, 6.0);
    types[299] = 3;
    std::vector<double> widths(300, 2.0);
    std::vector<ArrayPtr> params;
    params.push_back(lit("0.01"));
    params.push_back(host::makeDouble(types));
    params.push_back(host::makeDouble(types));
    params.push_back(lit("3"));
    params.push_back(host::makeDouble(widths));
    auto s = sized("ZEVK_ADC", std::move(params));
    const json state = s.state();
    ASSERT_EQ(state["inputs"].size(), 301u);
    ASSERT_EQ(state["outputs"].size(), 301u);
    EXPECT_EQ(state["inputs"][299]["dtype"], 3);
    EXPECT_EQ(state["inputs"][300]["dtype"], 8);
    EXPECT_EQ(state["outputs"][299]["width"], 2);
    EXPECT_EQ(state["outputs"][300]["dtype"], 8);
    EXPECT_EQ(state["sizes"][6], 1);

    // A count beyond what the host holds is refused by the host, and the method stops there.
    auto huge = host::makeArray(mxDOUBLE_CLASS, {1, (1u << 20) + 1});
    std::vector<ArrayPtr> big;
    big.push_back(lit("0.01"));
    big.push_back(std::move(huge));
    big.push_back(lit("7"));
    big.push_back(lit("0"));
    auto t = sized("ZEVK_IC", std::move(big));
    EXPECT_EQ(writes(t.sizes).back(), json({"ssSetNumInputPorts", (1 << 20) + 1}));
    EXPECT_TRUE(t.state()["inputs"].empty());
}

TEST(FixedLayout, CommandLineQueryOnTheStandaloneRecord) {
    auto v = sizesVector("ZEVK_Digital_Output_Write", {"0.01", "[8 8]", "[]", "1"});
    ASSERT_EQ(v.size(), 40u);
    EXPECT_EQ(v[3], 3);
    EXPECT_EQ(v[2], 0);
    EXPECT_EQ(v[23], double(0x2001006 | 0x2000));
    EXPECT_EQ(v[31], 2);

    // The 32-bit build's 2-row pointer argument is no pointer to this build.
    Record record(block("ZEVK_QDEC_QORx"), lits({"0.01", "[3 5]", "7", "3"}));
    const auto low = static_cast<int32_t>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(record.raw())));
    auto pointer = host::makeDouble({double(low), 5200229}, 2);
    auto p = lits({"[]", "0", "0.01", "[3 5]", "7", "3"});
    CallResult r = record.mex(1, {p[0].get(), pointer.get(), p[0].get(), p[1].get(), p[2].get(), p[3].get(),
                                  p[4].get(), p[5].get()});
    ASSERT_TRUE(r.sizes());
    EXPECT_EQ(r.sizes()->size(), 40u);
    EXPECT_EQ((*r.sizes())[3], 3) << "the standalone record ran the block";
    EXPECT_EQ((*r.sizes())[19], 8480229);
    EXPECT_TRUE(r.ops.empty()) << "the host's record was not touched";
    EXPECT_TRUE(record.toJson()["methods"].empty());
}

}  // namespace
}  // namespace zevk::test
