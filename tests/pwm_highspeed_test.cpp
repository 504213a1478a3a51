// The high-speed PWM block through the loader: port lists with their memory
// attributes, the trigger work vectors and their names, hosts that make
// fewer work vectors than listed, and the lifetime of the name block.
#include <cstring>
#include <string>
#include <vector>

#include "tests/support.h"

namespace zevk::test {
namespace {

const char kBlock[] = "ZEVK_PWM_HighSpeed";

// The eight parameters with the two work-vector lists given; no ports.
Sized withWork(std::string_view types, std::string_view widths, HostOptions host = {}) {
    return sized(kBlock, {"0.01", "[]", "[]", "[]", "[]", types, widths, "0"}, std::move(host));
}

json work(const char* name, int width, int dtype) {
    return {{"width", width}, {"dtype", dtype}, {"name", name}, {"usage", 1}};
}

// A row vector of n copies of `value`.
std::string repeated(int n, const char* value) {
    std::string text = "[";
    for (int i = 0; i < n; ++i) text += std::string(value) + " ";
    return text + "]";
}

TEST(PwmHighSpeed, TriggerWorkVectorsAndTheirNames) {
    auto s = withWork("[7 5 0]", "[1 4 0]");
    EXPECT_EQ(s.state()["dwork"], json({work("Trig1Idx", 1, 7), work("Trig2List", 4, 5),
                                        work("ZEVK_undefined3", 0, 0)}));
    EXPECT_EQ(opsNamed(s.sizes, "ssSetNumDWork"), std::vector<json>({{"ssSetNumDWork", 3}}));
    EXPECT_EQ(s.state()["sizes"][28], 3);
    // The host holds on to the block's own text, not a copy.
    const SimStruct* S = s->raw();
    EXPECT_STREQ(S->dwork[0].name, "Trig1Idx");
    EXPECT_STREQ(S->dwork[2].name, "ZEVK_undefined3");
    EXPECT_TRUE(s.state()["userData"]);
}

TEST(PwmHighSpeed, NameIsChosenOnTheUntruncatedWidth) {
    struct Row {
        std::string_view width;
        const char* name;
        int truncated;
    };
    for (const Row& row : std::vector<Row>{{"1.5", "Trig1List", 1},
                                           {"0.9", "ZEVK_undefined1", 0},
                                           {"1", "Trig1Idx", 1},
                                           {"2", "Trig1List", 2},
                                           {"-1", "ZEVK_undefined1", -1},
                                           {"NaN", "ZEVK_undefined1", INT32_MIN},
                                           {"Inf", "Trig1List", INT32_MIN},
                                           // Missing widths read as open.
                                           {"[]", "ZEVK_undefined1", -1}}) {
        auto s = withWork("3.7", row.width);
        EXPECT_EQ(s.state()["dwork"], json({work(row.name, row.truncated, 3)})) << row.width;
    }
}

// Slots of 32 bytes keep every name whole, from the tenth vector on too.
TEST(PwmHighSpeed, LongNamesAreKeptWhole) {
    auto s = withWork(repeated(1000, "1"), repeated(1000, "0"));
    const json dwork = s.state()["dwork"];
    ASSERT_EQ(dwork.size(), 1000u);
    for (int i : {0, 8, 9, 99, 999}) {
        EXPECT_EQ(dwork[i]["name"], "ZEVK_undefined" + std::to_string(i + 1)) << i;
        EXPECT_EQ(std::string(s->raw()->dwork[i].name), "ZEVK_undefined" + std::to_string(i + 1)) << i;
    }
    auto lists = withWork(repeated(12, "5"), repeated(12, "8"));
    EXPECT_EQ(lists.state()["dwork"][11]["name"], "Trig12List");
}

TEST(PwmHighSpeed, HostAcceptingFewerWorkVectors) {
    HostOptions two;
    two.maxDWork = 2;
    auto s = withWork("[7 5 0]", "[1 4 0]", two);
    EXPECT_EQ(s.state()["dwork"], json({work("Trig1Idx", 1, 7), work("Trig2List", 4, 5)}));
    for (const char* op : {"ssSetDWorkName", "ssSetDWorkWidth", "ssSetDWorkDataType", "ssSetDWorkUsageType"}) {
        EXPECT_EQ(opsNamed(s.sizes, op).size(), 2u) << op;
    }
    EXPECT_EQ(s.state()["sizes"][2], 0);
    EXPECT_EQ(s.state()["sizes"][23], 0x2002u);

    HostOptions none;
    none.maxDWork = 0;
    auto zero = withWork("[7 5 0]", "[1 4 0]", none);
    EXPECT_EQ(zero.state()["dwork"], json::array());
    EXPECT_FALSE(zero.state()["userData"]);
}

TEST(PwmHighSpeed, HostWithoutWorkVectorRegistration) {
    HostOptions host;
    host.dworkRegistration = false;
    auto s = sized(kBlock, {"0.01", "[3]", "[]", "[4]", "[]", "[7 5 0]", "[1 4 0]", "0"}, host);
    EXPECT_EQ(s.state()["dwork"], json::array());
    for (const char* op : {"ssSetDWorkName", "ssSetDWorkWidth", "ssSetDWorkDataType", "ssSetDWorkUsageType"}) {
        EXPECT_TRUE(opsNamed(s.sizes, op).empty()) << op;
    }
    EXPECT_FALSE(s.state()["userData"]);
    EXPECT_EQ(s.input(0)["width"], 4);
    EXPECT_EQ(s.state()["sizes"][23], 0x2002u);
}

TEST(PwmHighSpeed, NoWorkVectorsListed) {
    auto s = sized(kBlock, {"0.01", "[1]", "[2]", "[3]", "[4]", "[]", "[5 6]", "0"});
    EXPECT_EQ(opsNamed(s.sizes, "ssSetNumDWork"), std::vector<json>({{"ssSetNumDWork", 0}}));
    EXPECT_EQ(s.state()["dwork"], json::array());
    EXPECT_FALSE(s.state()["userData"]);
    EXPECT_EQ(s.state()["inputs"].size(), 1u);
    EXPECT_EQ(s.state()["outputs"].size(), 1u);
}

TEST(PwmHighSpeed, PortListsWithMemoryAttributes) {
    auto s = sized(kBlock, {"0.01", "[0 -1 12]", "[3 7]", "[2 0 -1]", "[5 -4]", "[]", "[]", "0"});
    const json state = s.state();
    ASSERT_EQ(state["inputs"].size(), 3u);
    ASSERT_EQ(state["outputs"].size(), 2u);
    const int inWidths[] = {2, 0, -1};
    const int inTypes[] = {0, -1, 12};
    for (int i = 0; i < 3; ++i) {
        const json& in = state["inputs"][i];
        EXPECT_EQ(in["width"], inWidths[i]) << i;
        EXPECT_EQ(in["dtype"], inTypes[i]) << i;
        EXPECT_EQ(in["feedthrough"], 1) << i;
        EXPECT_EQ(in["optim"], 2) << i;
        EXPECT_EQ(in["overwritable"], 1) << i;
        EXPECT_TRUE(in["contiguous"].is_null()) << i;
    }
    EXPECT_EQ(state["outputs"][0]["width"], 5);
    EXPECT_EQ(state["outputs"][0]["dtype"], 3);
    EXPECT_EQ(state["outputs"][1]["width"], -4);
    EXPECT_EQ(state["outputs"][1]["dtype"], 7);
    for (int j = 0; j < 2; ++j) EXPECT_EQ(state["outputs"][j]["optim"], 2) << j;

    // Per input: width, feedthrough, data type, optimisation, overwritable.
    std::vector<std::string> order;
    for (const json& op : s.sizes.ops) {
        if (op[0].get<std::string>().rfind("ssSetInputPort", 0) == 0 && op[1] == 0) order.push_back(op[0]);
    }
    EXPECT_EQ(order, std::vector<std::string>({"ssSetInputPortWidth", "ssSetInputPortDirectFeedThrough",
                                               "ssSetInputPortDataType", "ssSetInputPortOptimOpts",
                                               "ssSetInputPortOverWritable"}));
}

TEST(PwmHighSpeed, OptionBitsAddBooleanPorts) {
    auto s = sized(kBlock, {"0.01", "[]", "[]", "[]", "[]", "[]", "[]", "3"});
    const json state = s.state();
    ASSERT_EQ(state["inputs"].size(), 1u);
    ASSERT_EQ(state["outputs"].size(), 1u);
    EXPECT_EQ(state["inputs"][0]["width"], 1);
    EXPECT_EQ(state["inputs"][0]["dtype"], 8);
    EXPECT_EQ(state["inputs"][0]["feedthrough"], 1);
    EXPECT_TRUE(state["inputs"][0]["optim"].is_null());
    EXPECT_EQ(state["outputs"][0]["width"], 1);
    EXPECT_EQ(state["outputs"][0]["dtype"], 8);

    // The extra ports come after the listed ones; widths not listed read as open.
    auto listed = sized(kBlock, {"0.01", "[1 2]", "[3]", "[6]", "[]", "[]", "[]", "1"});
    EXPECT_EQ(listed.state()["inputs"].size(), 3u);
    EXPECT_EQ(listed.input(1)["width"], -1);
    EXPECT_EQ(listed.input(2)["dtype"], 8);
    EXPECT_EQ(listed.output(0)["width"], -1);
    EXPECT_EQ(listed.state()["outputs"].size(), 1u);
}

TEST(PwmHighSpeed, WrongCountAndRefusedPorts) {
    auto seven = sized(kBlock, {"0.01", "[]", "[]", "[]", "[]", "[7]", "[1]"});
    EXPECT_EQ(seven.state()["sizes"][7], 8);
    EXPECT_TRUE(opsNamed(seven.sizes, "ssSetNumDWork").empty());
    EXPECT_FALSE(seven.state()["userData"]);

    HostOptions host;
    host.refuseInputPorts = true;
    auto refused = sized(kBlock, {"0.01", "[1]", "[1]", "[1]", "[1]", "[7]", "[1]", "0"}, host);
    EXPECT_EQ(refused.state()["dwork"], json({work("Trig1Idx", 1, 7)}));
    EXPECT_TRUE(opsNamed(refused.sizes, "ssSetNumOutputPorts").empty());
    EXPECT_EQ(refused.state()["sizes"][6], 0);
    EXPECT_EQ(refused.state()["sizes"][23], 0x2000u);
}

// The names live until terminate; a second sizes query replaces them.
TEST(PwmHighSpeed, NameBlockLifetime) {
    auto s = withWork("[7 5]", "[1 4]");
    s->sizesQuery();
    EXPECT_STREQ(s->raw()->dwork[1].name, "Trig2List");
    auto again = s->mex(1, {lit("[]").get(), nullptr, lit("[]").get(), lit("0").get()});
    EXPECT_FALSE(again.mexError);
    EXPECT_STREQ(s->raw()->dwork[0].name, "Trig1Idx");
    EXPECT_TRUE(s.state()["userData"]);
    CallResult end = s->method(107);
    EXPECT_FALSE(end.errorStatus);
    EXPECT_FALSE(s.state()["userData"]);
    // A second terminate finds nothing left.
    EXPECT_FALSE(s->method(107).errorStatus);
    EXPECT_FALSE(s.state()["userData"]);
}

TEST(PwmHighSpeed, SampleTimeFromParameterZero) {
    auto s = sized(kBlock, {"[0.002 0.001]", "[]", "[]", "[]", "[]", "[]", "[]", "0"});
    EXPECT_FALSE(s->method(101).errorStatus);
    EXPECT_EQ(s.state()["sampleTimes"], json({{0.002, 0.001}}));
    EXPECT_FALSE(s->method(105).errorStatus);
    EXPECT_EQ(s->method(113).errorStatus.value_or(""), "Unexpected call to mdlSetInputPortDataType");
}

// The standalone record makes no work vectors and so takes no name block;
// many queries in a row leave nothing behind (the sanitizer build checks).
TEST(PwmHighSpeed, RepeatedCommandLineQueries) {
    const std::string types = repeated(20, "7");
    const std::string widths = repeated(20, "2");
    for (int i = 0; i < 500; ++i) {
        CallResult r = commandLine(kBlock, {"0.01", "[1 2]", "[3]", "[4 4]", "[2]", types, widths, "3"});
        ASSERT_FALSE(r.mexError) << *r.mexError;
        const auto v = r.sizes().value();
        EXPECT_EQ(v[28], 0);
        EXPECT_EQ(v[3], 3);
        EXPECT_EQ(v[2], 2);
        EXPECT_EQ(v[23], 0x2002);
    }
}

}  // namespace
}  // namespace zevk::test
