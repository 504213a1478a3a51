// The interrupt and idle-task blocks through the loader: the asynchronous
// attributes their dialog selects, the host flag bits of their two methods,
// their own sample-time method, and what a host without the generic entry
// or refusing ports still gets.
#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/support.h"

namespace zevk::test {
namespace {

const char kTimingSource[] = "Invalid setting for timing source for asynchronous subsystem (interrupt block)";

// The nine interrupt parameters with 4 to 8 given; 0 to 3 are never read.
std::vector<ArrayPtr> interruptParams(std::string_view timerSize, std::string_view options,
                                      std::string_view source, std::string_view resolution,
                                      std::string_view priority) {
    return lits({"0", "0", "0", "0", timerSize, options, source, resolution, priority});
}

// Codes of the generic requests a call made, in order.
std::vector<int> requestCodes(const CallResult& r) {
    std::vector<int> codes;
    for (const json& op : opsNamed(r, "request")) {
        if (op[1] != 280) codes.push_back(op[1].get<int>());
    }
    return codes;
}

struct TimingRow {
    std::string_view timerSize, source, resolution;
    std::vector<int> requests;
    json timeSource, resolutionSeen, timerDataType;
    bool refused;
};

TEST(Interrupt, TimingSourceSelectsTheTimerRequests) {
    const std::vector<TimingRow> rows = {
        {"32", "1", "0.5", {88, 94, 54}, 0, nullptr, -1, false},
        {"32", "2", "0.000001", {88, 53, 94, 54}, 1, 0.000001, 7, false},
        {"16", "3", "0.25", {88, 53, 94, 54}, 1, 0.25, 5, false},
        // Truncated toward zero before the choice; the timer size compares exactly.
        {"32", "2.9", "0", {88, 53, 94, 54}, 1, 0, 7, false},
        {"31.9", "3", "0.1", {88, 53, 94, 54}, 1, 0.1, 5, false},
        {"32.5", "2", "0.1", {88, 53, 94, 54}, 1, 0.1, 5, false},
        {"32", "1.9", "0.1", {88, 94, 54}, 0, nullptr, -1, false},
        {"32", "0", "0.1", {54}, nullptr, nullptr, nullptr, true},
        {"32", "4", "0.1", {54}, nullptr, nullptr, nullptr, true},
        {"32", "-1.5", "0.1", {54}, nullptr, nullptr, nullptr, true},
        {"32", "NaN", "0.1", {54}, nullptr, nullptr, nullptr, true},
        {"32", "[]", "0.1", {54}, nullptr, nullptr, nullptr, true},
        // Only the first element is the setting.
        {"32", "[2 1]", "[0.5 9]", {88, 53, 94, 54}, 1, 0.5, 7, false},
    };
    for (const TimingRow& row : rows) {
        const std::string label = std::string(row.source) + " / " + std::string(row.timerSize);
        auto s = sized("ZEVK_Interrupt", interruptParams(row.timerSize, "1", row.source, row.resolution, "3"));
        EXPECT_EQ(requestCodes(s.sizes), row.requests) << label;
        const json async = s.state()["async"];
        EXPECT_EQ(async["timeSource"], row.timeSource) << label;
        EXPECT_EQ(async["resolution"], row.resolutionSeen) << label;
        EXPECT_EQ(async["timerDataType"], row.timerDataType) << label;
        // A refused source still declares the priority and the options word.
        EXPECT_EQ(async["priorities"], json({-300})) << label;
        EXPECT_EQ(s.state()["sizes"][23], 0x10002022u) << label;
        EXPECT_EQ(s.sizes.errorStatus.value_or(""), row.refused ? kTimingSource : "") << label;
    }
}

TEST(Interrupt, PriorityIsMinusHundredTimesTheParameterTruncated) {
    const std::vector<std::pair<std::string_view, int32_t>> rows = {
        {"3", -300}, {"0.015", -1}, {"-2", 200}, {"0", 0}, {"-0.009", 0}, {"21474836.47", -2147483647},
        // Out of range or NaN: the truncation helper's defined answer.
        {"NaN", INT32_MIN}, {"1e300", INT32_MIN}, {"-2^40", INT32_MIN}, {"Inf", INT32_MIN}, {"[]", 0},
    };
    for (const auto& [param, priority] : rows) {
        auto s = sized("ZEVK_Interrupt", interruptParams("32", "1", "1", "0", param));
        EXPECT_EQ(s.state()["async"]["priorities"], json({priority})) << param;
        const auto requests = opsNamed(s.sizes, "request");
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ(requests.back(), json({"request", 54, 1, {priority}})) << param;
    }
}

TEST(Interrupt, OptionsSelectorComparesExactlyWithOne) {
    for (const auto& [param, options] : std::vector<std::pair<std::string_view, uint32_t>>{
             {"1", 0x10000022u}, {"0", 98u}, {"2", 98u}, {"1.0000001", 98u}, {"[1 0]", 0x10000022u}, {"NaN", 98u}}) {
        auto s = sized("ZEVK_Interrupt", interruptParams("32", param, "1", "0", "1"));
        const auto set = opsNamed(s.sizes, "ssSetOptions");
        ASSERT_EQ(set.size(), 1u) << param;
        EXPECT_EQ(set[0][1], options) << param;
        // The glue adds its own bit to what the block declared.
        EXPECT_EQ(s.state()["sizes"][23], options | 0x2000u) << param;
        EXPECT_EQ(s.sizes.sizes().value()[23], options | 0x2000u) << param;
    }
}

TEST(Interrupt, CountsPortsAndSizesFlags) {
    auto s = sized("ZEVK_Interrupt", interruptParams("32", "1", "2", "0.001", "1"));
    const json state = s.state();
    const json& sizes = state["sizes"];
    EXPECT_EQ(sizes[7], 9);
    EXPECT_EQ(state["notTunable"], json({0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(sizes[3], 0);
    EXPECT_EQ(sizes[2], 1);
    EXPECT_EQ(s.output(0)["width"], 1);
    EXPECT_EQ(s.output(0)["dtype"], 9);
    EXPECT_EQ(sizes[6], 1);
    for (auto [entry, value] : {std::pair{0, 0}, {1, 0}, {8, 1}, {9, 0}, {10, 1}, {20, 0}, {22, 0}}) {
        EXPECT_EQ(sizes[entry], value) << "entry " << entry;
    }
    EXPECT_EQ(opsNamed(s.sizes, "ssSetNumContStates").size(), 1u);
    EXPECT_EQ(opsNamed(s.sizes, "ssSetNumDiscStates").size(), 1u);
    EXPECT_EQ(sizes[31], 1u << 20);
    // Nothing before the sample-time call.
    EXPECT_EQ(state["sampleTimes"], json::array());
    EXPECT_EQ(state["callSystemOutputs"], json::array());
}

// Each method replaces only its own bits of the flags word.
TEST(TaskBlocks, SizesFlagBitsOfBothMethods) {
    for (const char* name : {"ZEVK_Interrupt", "ZEVK_IdleTask"}) {
        const bool interrupt = std::string(name) == "ZEVK_Interrupt";
        Record record(block(name), interrupt ? interruptParams("32", "1", "1", "0", "1") : lits({"1", "2", "3", "4"}));
        record.raw()->sizes[SZ_FLAGS] = -1;
        record.sizesQuery();
        const uint32_t allButSizesBits = 0xFFFFFFFFu & ~((1u << 19) | (1u << 21) | (1u << 22));
        EXPECT_EQ(static_cast<uint32_t>(record.raw()->sizes[SZ_FLAGS]), allButSizesBits) << name;

        record.raw()->sizes[SZ_FLAGS] = 0;
        CallResult times = record.method(101);
        EXPECT_FALSE(times.errorStatus) << name;
        EXPECT_EQ(static_cast<uint32_t>(record.raw()->sizes[SZ_FLAGS]), 1u << 11) << name;
        record.raw()->sizes[SZ_FLAGS] = -1;
        record.method(101);
        EXPECT_EQ(static_cast<uint32_t>(record.raw()->sizes[SZ_FLAGS]), 0xFFFFFFFFu & ~(1u << 12)) << name;
    }
}

TEST(TaskBlocks, OwnSampleTimeMethodDeclaresTheCallSystemOutput) {
    for (const char* name : {"ZEVK_Interrupt", "ZEVK_IdleTask"}) {
        auto s = std::string(name) == "ZEVK_Interrupt" ? sized(name, interruptParams("32", "1", "1", "0", "1"))
                                                       : sized(name, {"0.01", "[]", "[1 2]", "'x'"});
        CallResult r = s->method(101);
        EXPECT_FALSE(r.errorStatus) << name;
        EXPECT_EQ(s.state()["sampleTimes"], json({{-1, 1}})) << name;
        EXPECT_EQ(s.state()["callSystemOutputs"], json({0})) << name;
        // No parameter is read for it, unlike the shared method.
        EXPECT_TRUE(opsNamed(r, "ssGetSFcnParam").empty()) << name;
        EXPECT_EQ(s.state()["methods"],
                  json({"mdlInitializeSizes", "mdlInitializeSampleTimes", "mdlOutputs", "mdlUpdate", "mdlTerminate",
                        "mdlRTW", "mdlGetTimeOfNextVarHit", "mdlZeroCrossings"}))
            << name;
        EXPECT_FALSE(s->method(105).errorStatus) << name;
        EXPECT_EQ(s->method(113).errorStatus.value_or(""), "Unexpected call to mdlSetInputPortDataType") << name;
    }
}

TEST(IdleTask, DeclaresTheSameWhateverItsParametersHold) {
    for (const auto& params : std::vector<std::vector<std::string_view>>{{"0", "0", "0", "0"},
                                                                          {"NaN", "[1 2 3]", "{'a'}", "-7"}}) {
        std::vector<ArrayPtr> arrays;
        for (auto p : params) arrays.push_back(lit(p));
        auto s = sized("ZEVK_IdleTask", std::move(arrays));
        const json state = s.state();
        EXPECT_FALSE(s.sizes.errorStatus);
        EXPECT_EQ(state["sizes"][7], 4);
        EXPECT_EQ(state["notTunable"], json({0, 1, 2, 3}));
        EXPECT_EQ(state["async"], json({{"timeSource", 0}, {"resolution", nullptr}, {"timerDataType", nullptr},
                                        {"priorities", {-50}}}));
        EXPECT_EQ(requestCodes(s.sizes), std::vector<int>({88, 54}));
        EXPECT_EQ(state["sizes"][23], 0x10002022u);
        EXPECT_EQ(s.output(0)["dtype"], 9);
        EXPECT_EQ(s.output(0)["width"], 1);
        for (int entry : {8, 9, 10, 20, 22}) EXPECT_EQ(state["sizes"][entry], 0) << entry;
        EXPECT_TRUE(opsNamed(s.sizes, "ssSetNumContStates").empty());
        EXPECT_TRUE(opsNamed(s.sizes, "ssSetNumDiscStates").empty());
        EXPECT_TRUE(opsNamed(s.sizes, "ssGetSFcnParam").empty());
    }
}

TEST(TaskBlocks, WrongParameterCountDeclaresOnlyTheCount) {
    for (auto [name, given, expected] : {std::tuple{"ZEVK_Interrupt", 8, 9}, {"ZEVK_Interrupt", 10, 9},
                                         {"ZEVK_IdleTask", 3, 4}, {"ZEVK_IdleTask", 0, 4}}) {
        std::vector<ArrayPtr> params;
        for (int i = 0; i < given; ++i) params.push_back(lit("1"));
        auto s = sized(name, std::move(params));
        // What the block did, after the glue's own checks.
        json blockOps = json::array();
        bool started = false;
        for (const json& op : s.sizes.ops) {
            started = started || op[0] == "ssSetNumSFcnParams";
            if (started) blockOps.push_back(op);
        }
        EXPECT_EQ(blockOps, json({{"ssSetNumSFcnParams", expected}, {"ssGetSFcnParamsCount"}})) << name;
        EXPECT_FALSE(s.sizes.errorStatus) << name;
    }
}

TEST(TaskBlocks, RefusedPortCountStopsBeforeTheTaskAttributes) {
    for (bool refuseInputs : {true, false}) {
        HostOptions host;
        (refuseInputs ? host.refuseInputPorts : host.refuseOutputPorts) = true;
        auto s = sized("ZEVK_Interrupt", interruptParams("32", "1", "2", "0.1", "1"), host);
        EXPECT_TRUE(opsNamed(s.sizes, "ssSetNumOutputPorts").size() == (refuseInputs ? 0u : 1u));
        EXPECT_TRUE(requestCodes(s.sizes).empty());
        EXPECT_TRUE(opsNamed(s.sizes, "ssSetOptions").empty());
        EXPECT_TRUE(opsNamed(s.sizes, "ssSetSizesFlagsField").empty());
        EXPECT_EQ(s.state()["sizes"][6], 0);
    }
}

// Without the generic entry the four task requests are skipped; the rest
// is declared as usual.
TEST(TaskBlocks, HostWithoutGenericEntry) {
    HostOptions host;
    host.genericFunction = false;
    auto interrupt = sized("ZEVK_Interrupt", interruptParams("32", "1", "2", "0.1", "1"), host);
    auto idle = sized("ZEVK_IdleTask", {"0", "0", "0", "0"}, host);
    for (auto* s : {&interrupt, &idle}) {
        EXPECT_TRUE(opsNamed(s->sizes, "request").empty());
        EXPECT_EQ(s->state()["async"], json({{"timeSource", nullptr}, {"resolution", nullptr},
                                             {"timerDataType", nullptr}, {"priorities", nullptr}}));
        EXPECT_EQ(s->state()["sizes"][23], 0x10002022u);
        EXPECT_EQ(s->state()["sizes"][2], 1);
        EXPECT_FALSE(s->sizes.errorStatus);
    }
}

TEST(TaskBlocks, CommandLineSizesVector) {
    const auto v = sizesVector("ZEVK_Interrupt", {"0", "0", "0", "0", "32", "1", "2", "0.001", "0.5"});
    ASSERT_EQ(v.size(), 40u);
    EXPECT_EQ(v[3], 0);
    EXPECT_EQ(v[2], 1);
    EXPECT_EQ(v[6], 1);
    EXPECT_EQ(v[7], 9);
    EXPECT_EQ(v[8], 1);
    EXPECT_EQ(v[10], 1);
    EXPECT_EQ(v[23], 0x10002022u);
    // Bit 20 of the block and the standalone record's port-count bit.
    EXPECT_EQ(v[31], (1u << 20) | SZ_FLAG_PORT_COUNT);

    const auto plain = sizesVector("ZEVK_Interrupt", {"0", "0", "0", "0", "32", "0", "7", "0", "0"});
    EXPECT_EQ(plain[23], 98u | 0x2000u);
    const auto idle = sizesVector("ZEVK_IdleTask", {"0", "0", "0", "0"});
    EXPECT_EQ(idle[23], 0x10002022u);
    EXPECT_EQ(idle[8], 0);
    EXPECT_EQ(idle[10], 0);
    // The refused timing source raises nothing on the command line.
    EXPECT_FALSE(commandLine("ZEVK_Interrupt", {"0", "0", "0", "0", "32", "0", "7", "0", "0"}).mexError);
}

}  // namespace
}  // namespace zevk::test
