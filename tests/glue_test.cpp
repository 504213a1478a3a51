// The entry point as a host and a command-line caller meet it: argument
// checks, the record-pointer argument, the flag table and the shared
// sample-time method, through the deliverables of the simplest blocks.
#include <cmath>
#include <cstring>
#include <string>

#include "tests/support.h"

namespace zevk::test {
namespace {

const char kInvalidFlag[] = "Invalid flag encountered in simulink";
const char kVarHit[] =
    "To have a variable sample time, you must define MDL_GET_TIME_OF_NEXT_VAR_HIT and add a mdlGetTimeOfNextVarHit "
    "routine";
const char kZeroCrossing[] =
    "To have nonsampled zero crossings, you must define MDL_ZERO_CROSSINGS and have a mdlZeroCrossings routine";

std::string unexpected(const char* method) { return std::string("Unexpected call to ") + method; }

// --- flag table ---------------------------------------------------------------

struct FlagRow {
    double flag;
    std::string reset;   // ZEVK_Reset: update, input type and default type methods
    std::string config;  // ZEVK_Master and the other configuration-only blocks
};

std::vector<FlagRow> flagTable() {
    std::vector<FlagRow> rows = {
        {101, "", ""},
        {101.9, "", ""},
        {103, kVarHit, kVarHit},
        {104, "", ""},
        {105, "", kInvalidFlag},
        {107, "", ""},
        {108, kZeroCrossing, kZeroCrossing},
        {111, unexpected("mdlSetWorkWidths"), unexpected("mdlSetWorkWidths")},
        {112, unexpected("mdlCheckParameters"), unexpected("mdlCheckParameters")},
        {113, "", ""},
        {114, unexpected("mdlSetOutputPortDataType"), unexpected("mdlSetOutputPortDataType")},
        {115, unexpected("mdlSetInputPortWidth"), unexpected("mdlSetInputPortWidth")},
        {116, unexpected("mdlSetOutputPortWidth"), unexpected("mdlSetOutputPortWidth")},
        {119, "", ""},
        {120, unexpected("mdlSetInputPortComplexSignal"), unexpected("mdlSetInputPortComplexSignal")},
        {121, unexpected("mdlSetOutputPortComplexSignal"), unexpected("mdlSetOutputPortComplexSignal")},
        {122, unexpected("mdlSetInputPortSampleTime"), unexpected("mdlSetInputPortSampleTime")},
        {123, unexpected("mdlSetOutputPortSampleTime"), unexpected("mdlSetOutputPortSampleTime")},
        {126, unexpected("mdlSetInputPortDimensionInfo"), unexpected("mdlSetInputPortDimensionInfo")},
        {127, unexpected("mdlSetOutputPortDimensionInfo"), unexpected("mdlSetOutputPortDimensionInfo")},
        {128, unexpected("mdlSetInputPortFrameData"), unexpected("mdlSetInputPortFrameData")},
        {131, unexpected("mdlSetDefaultPortDimensionInfo"), unexpected("mdlSetDefaultPortDimensionInfo")},
        {132, "", ""},
        {133, unexpected("mdlSetDefaultPortComplexSignals"), unexpected("mdlSetDefaultPortComplexSignals")},
        {142, unexpected("mdlInitializePropagationPass"), unexpected("mdlInitializePropagationPass")},
        {144, "Unexpected call to mdlGetSimState (MDL_SIM_STATE not defined)",
         "Unexpected call to mdlGetSimState (MDL_SIM_STATE not defined)"},
        {145, "Unexpected call to mdlSetSimState (MDL_SIM_STATE not defined)",
         "Unexpected call to mdlSetSimState (MDL_SIM_STATE not defined)"},
    };
    // Codes without a row, fractions below a row, and values far outside.
    for (double flag : {0.0, 100.9, -3.0, 102.0, 106.0, 109.0, 110.0, 117.0, 118.0, 124.0, 125.0, 129.0, 130.0,
                        134.0, 137.0, 141.0, 143.0, 146.0, 1e10, -1e300, double(NAN), double(INFINITY)}) {
        rows.push_back({flag, kInvalidFlag, kInvalidFlag});
    }
    return rows;
}

TEST(FlagTable, EveryRowForEachKindOfMethodTable) {
    for (const char* name : {"ZEVK_Reset", "ZEVK_Master", "ZEVK_Lcd_Config", "ZEVK_TIMER_PIL_Profiling",
                             "ZEVK_EmptySFunction"}) {
        const bool reset = std::strcmp(name, "ZEVK_Reset") == 0;
        for (const FlagRow& row : flagTable()) {
            auto s = sized(name, reset ? std::initializer_list<std::string_view>{"0.01"}
                                       : std::initializer_list<std::string_view>{});
            CallResult r = s->method(row.flag);
            const std::string& expected = reset ? row.reset : row.config;
            EXPECT_EQ(r.errorStatus.value_or(""), expected) << name << " flag " << row.flag;
            EXPECT_FALSE(r.mexError) << name << " flag " << row.flag;
        }
    }
}

TEST(FlagTable, RecordThatNeverHadASizesQuery) {
    Record record(block("ZEVK_Reset"), lits({"0.01"}));
    EXPECT_EQ(record.method(105).errorStatus.value_or(""), "Unexpected call to mdlUpdate");
    EXPECT_EQ(record.method(113).errorStatus.value_or(""), unexpected("mdlSetInputPortDataType"));
    EXPECT_EQ(record.method(132).errorStatus.value_or(""), unexpected("mdlSetDefaultPortDataTypes"));
    EXPECT_EQ(record.method(119).errorStatus.value_or(""), unexpected("mdlRTW"));
    EXPECT_EQ(record.method(103).errorStatus.value_or(""), kVarHit);
    EXPECT_EQ(record.method(144).errorStatus.value_or(""),
              "Unexpected call to mdlGetSimState (MDL_SIM_STATE not defined)");
    for (double flag : {101.0, 104.0, 107.0}) EXPECT_FALSE(record.method(flag).errorStatus) << flag;

    Record config(block("ZEVK_Master"), {});
    EXPECT_EQ(config.method(105).errorStatus.value_or(""), kInvalidFlag);
}

TEST(FlagTable, InstalledMethodsAndStubs) {
    auto reset = sized("ZEVK_Reset", {"0.01"});
    EXPECT_EQ(reset.state()["methods"],
              json({"mdlInitializeSizes", "mdlInitializeSampleTimes", "mdlOutputs", "mdlUpdate", "mdlTerminate",
                    "mdlRTW", "mdlGetTimeOfNextVarHit", "mdlZeroCrossings", "mdlSetInputPortDataType",
                    "mdlSetDefaultPortDataTypes"}));
    EXPECT_FALSE(reset.state()["dimensionMethods"]);
    // A host calling the stub entries directly gets their messages.
    SimStruct* S = reset->raw();
    S->methods.mdlGetTimeOfNextVarHit(S);
    EXPECT_STREQ(S->errorStatus, kVarHit);
    S->methods.mdlZeroCrossings(S);
    EXPECT_STREQ(S->errorStatus, kZeroCrossing);

    auto config = sized("ZEVK_Master", {"1", "2", "3"});
    EXPECT_EQ(config.state()["methods"],
              json({"mdlInitializeSizes", "mdlInitializeSampleTimes", "mdlOutputs", "mdlTerminate", "mdlRTW",
                    "mdlGetTimeOfNextVarHit", "mdlZeroCrossings", "mdlSetInputPortDataType",
                    "mdlSetDefaultPortDataTypes"}));
}

TEST(FlagTable, MethodCallArgumentsAreNotChecked) {
    // A method call reads only the first element of the fourth argument, of
    // whatever class or shape it is.
    auto s = sized("ZEVK_Reset", {"0.01"});
    for (const char* flag : {"[144 1 2]", "int32(144)", "single(144.5)", "uint8([144; 7])"}) {
        auto arg = lit(flag);
        CallResult r = s->mex(-1, {lit("[]").get(), lit("[]").get(), lit("[]").get(), arg.get()});
        EXPECT_EQ(r.errorStatus.value_or(""), "Unexpected call to mdlGetSimState (MDL_SIM_STATE not defined)")
            << flag;
    }
    CallResult r = s->mex(-1, {lit("[]").get(), lit("[]").get(), lit("[]").get(), lit("{}").get()});
    EXPECT_EQ(r.errorStatus.value_or(""), kInvalidFlag);
    r = s->mex(-1, {lit("[]").get()});
    EXPECT_EQ(r.errorStatus.value_or(""), kInvalidFlag);
}

// --- sizes query: argument checks -------------------------------------------

const char kCallName[] = "MEX level2 S-function \"ZEVK_Reset\"";

std::string withCallName(const char* format) {
    char buf[512];
    std::snprintf(buf, sizeof buf, format, kCallName);
    return buf;
}

struct ArgumentCase {
    int nlhs;
    std::vector<std::string> rhs;  // "record" is the host's pointer argument
    std::string message;           // empty: no error
};

TEST(SizesQuery, ArgumentChecksInTheirOrder) {
    const std::string tooFew = withCallName("%s must be called with at least 4 right hand arguments");
    const std::string tooMany = withCallName("%s called with too many left hand arguments");
    const std::string notInteger = withCallName("The 4th right hand argument, FLAG, passed to %s must be an integer");
    const std::string badFlag = withCallName("Invalid flag passed to %s");
    const std::vector<ArgumentCase> cases = {
        {1, {}, tooFew},
        {1, {"[]", "record", "[]"}, tooFew},
        {2, {"[]", "record", "[]", "0"}, tooMany},
        {2, {"[]", "record", "[]", "0.5"}, tooMany},
        {3, {"[]"}, tooFew},
        {1, {"[]", "record", "[]", "0.5"}, notInteger},
        {1, {"[]", "record", "[]", "[0 0]"}, notInteger},
        {1, {"[]", "record", "[]", "[]"}, notInteger},
        {1, {"[]", "record", "[]", "0+0i"}, notInteger},
        {1, {"[]", "record", "[]", "'a'"}, notInteger},
        {1, {"[]", "record", "[]", "{0}"}, notInteger},
        {1, {"[]", "record", "[]", "true"}, notInteger},
        {1, {"[]", "record", "[]", "NaN"}, notInteger},
        {1, {"[]", "record", "[]", "Inf"}, notInteger},
        {1, {"[]", "record", "[]", "2^31"}, notInteger},
        {1, {"[]", "record", "[]", "-2^31"}, badFlag},
        {1, {"[]", "record", "[]", "1"}, badFlag},
        {1, {"[]", "record", "[]", "-0"}, ""},
        {1, {"[]", "record", "[]", "int8(0)"}, ""},
        {1, {"[]", "record", "[]", "single(0)"}, ""},
        {0, {"[]", "record", "[]", "0", "0.01"}, ""},
    };
    for (const auto& c : cases) {
        Record record(block("ZEVK_Reset"), lits({"0.01"}));
        std::vector<ArrayPtr> owned;
        std::vector<const mxArray*> rhs;
        for (const auto& a : c.rhs) {
            if (a == "record") {
                rhs.push_back(nullptr);
            } else {
                owned.push_back(lit(a));
                rhs.push_back(owned.back().get());
            }
        }
        CallResult r = record.mex(c.nlhs, rhs);
        EXPECT_EQ(r.mexError.value_or(""), c.message) << c.nlhs << " " << json(c.rhs).dump();
        if (!c.message.empty()) {
            EXPECT_TRUE(r.outputs.empty());
            EXPECT_TRUE(r.ops.empty()) << "nothing runs after a failed check";
        } else {
            ASSERT_TRUE(r.sizes());
            EXPECT_EQ(r.sizes()->size(), 40u);
        }
    }
}

TEST(SizesQuery, NameMismatchIsRefusedWithFullNames) {
    HostOptions options;
    options.modelName = "ZEVK_reset";
    auto s = sized("ZEVK_Reset", {"0.01"}, options);
    EXPECT_EQ(s.sizes.mexError.value_or(""),
              "S-function name mismatch. Name in source is \"#define S_FUNCTION_NAME ZEVK_Reset\", whereas name of "
              "the S-function MEX file is \"ZEVK_reset\". The source needs to be updated");
    EXPECT_TRUE(s.state()["methods"].empty()) << "no method is installed";

    // A model name far longer than the message buffer is reported whole.
    options.modelName = std::string(5000, 'm');
    auto longName = sized("ZEVK_Reset", {"0.01"}, options);
    ASSERT_TRUE(longName.sizes.mexError);
    EXPECT_NE(longName.sizes.mexError->find(*options.modelName + "\". The source needs to be updated"),
              std::string::npos);
}

TEST(SizesQuery, HostRecordGetsVersionMethodsAndGlueBit) {
    auto s = sized("ZEVK_Reset", {"0.01"});
    ASSERT_FALSE(s.sizes.mexError);
    auto v = *s.sizes.sizes();
    EXPECT_EQ(v[19], 8480229);
    EXPECT_EQ(v[23], 0x2000);
    EXPECT_EQ(s.state()["sizes"][23], 0x2000) << "the record keeps the glue's bit";
    EXPECT_EQ(v[3], 1);
    EXPECT_EQ(v[31], 0) << "the host's own registration sets no port-count flag";
    // The name check, then the glue's request 280 before anything the block does.
    ASSERT_GE(s.sizes.ops.size(), 3u);
    EXPECT_EQ(s.sizes.ops[0], json({"ssGetModelName"}));
    EXPECT_EQ(s.sizes.ops[1], json({"request", 280, 1, nullptr}));
    EXPECT_EQ(s.sizes.ops[2], json({"ssSetNumSFcnParams", 1}));

    for (auto [link, generic] : {std::pair{false, true}, std::pair{true, false}}) {
        HostOptions o;
        o.blockLink = link;
        o.genericFunction = generic;
        auto t = sized("ZEVK_Reset", {"0.01"}, o);
        EXPECT_TRUE(opsNamed(t.sizes, "request").empty()) << link << generic;
    }
}

TEST(SizesQuery, PointerArgumentsThatAreNotALiveRecordSelectTheStandaloneRecord) {
    Record record(block("ZEVK_Reset"), lits({"0.01"}));
    const uintptr_t address = reinterpret_cast<uintptr_t>(record.raw());
    auto pointer = [](uint64_t a, double version, size_t rows = 3) {
        auto low = static_cast<int32_t>(static_cast<uint32_t>(a));
        auto high = static_cast<int32_t>(static_cast<uint32_t>(a >> 32));
        std::vector<double> v{double(low), double(high), version};
        v.resize(rows, version);
        if (rows > 3) v[2] = 1;
        return host::makeDouble(v, rows);
    };
    std::vector<char> untagged(sizeof(SimStruct) + 64, 0);
    const std::vector<std::pair<std::string, ArrayPtr>> cases = [&] {
        std::vector<std::pair<std::string, ArrayPtr>> c;
        c.emplace_back("version 8480229.5", pointer(address, 8480229.5));
        c.emplace_back("4 rows", pointer(address, 8480229, 4));
        c.emplace_back("2 rows of the 32-bit build", host::makeDouble({double(int32_t(address)), 5200229}, 2));
        c.emplace_back("null address", pointer(0, 8480229));
        c.emplace_back("unmapped address", pointer(0x10, 8480229));
        c.emplace_back("kernel address", pointer(0xFFFFFFFFFFFFF000ull, 8480229));
        c.emplace_back("misaligned", pointer(address + 1, 8480229));
        c.emplace_back("readable but untagged", pointer(reinterpret_cast<uintptr_t>(untagged.data()), 8480229));
        c.emplace_back("logical rows", lit("[true; false; true]"));
        c.emplace_back("complex", lit("[1; 2; 8480229+1i]"));
        return c;
    }();
    for (const auto& [what, arg] : cases) {
        CallResult r = record.mex(1, {lit("[]").get(), arg.get(), lit("[]").get(), lit("0").get(), lit("0.01").get()});
        ASSERT_TRUE(r.sizes()) << what;
        EXPECT_EQ((*r.sizes())[3], 1) << what << ": the standalone record ran the block";
        EXPECT_EQ((*r.sizes())[31], 2) << what << ": standalone port-count flag";
        EXPECT_TRUE(r.ops.empty()) << what << ": our record was not touched";
        EXPECT_TRUE(record.toJson()["methods"].empty()) << what;
    }
    // The genuine argument reaches the record.
    CallResult r = record.mex(1, {lit("[]").get(), nullptr, lit("[]").get(), lit("0").get()});
    EXPECT_FALSE(r.ops.empty());
    EXPECT_FALSE(record.toJson()["methods"].empty());
}

TEST(SizesQuery, RecordPointerOfOtherNumericClassIsReadByValue) {
    Record record(block("ZEVK_Reset"), lits({"0.01"}));
    auto p = record.pointerArgument();
    auto asInt = host::makeArray(mxINT64_CLASS, {3, 1});
    for (size_t i = 0; i < 3; ++i) host::setElement(asInt.get(), i, host::getElement(p.get(), i));
    CallResult r = record.mex(1, {lit("[]").get(), asInt.get(), lit("[]").get(), lit("0").get()});
    EXPECT_FALSE(r.ops.empty()) << "an int64 pointer argument still names the record";
}

// --- command-line query and the standalone record -------------------------------

TEST(CommandLine, StandaloneRecord) {
    struct Case {
        const char* block;
        std::vector<std::string> params;
        double expectedParams, inputs, sampleTimes, flags;
    };
    const std::vector<Case> cases = {
        {"ZEVK_Reset", {"0.01"}, 1, 1, 1, 2},
        {"ZEVK_Reset", {}, 1, 0, 0, 0},
        {"ZEVK_Reset", {"0.01", "2"}, 1, 0, 0, 0},
        {"ZEVK_Master", {"1", "2", "3"}, 0, 0, 0, 0},
        {"ZEVK_EmptySFunction", {}, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        std::vector<ArrayPtr> params;
        std::vector<const mxArray*> raw;
        for (const auto& p : c.params) {
            params.push_back(lit(p));
            raw.push_back(params.back().get());
        }
        CallResult r = host::commandLineSizes(block(c.block), raw);
        ASSERT_TRUE(r.sizes()) << c.block;
        auto v = *r.sizes();
        ASSERT_EQ(v.size(), 40u);
        for (size_t i = 0; i < v.size(); ++i) {
            double expected = 0;
            if (i == 7) expected = c.expectedParams;
            if (i == 3) expected = c.inputs;
            if (i == 6) expected = c.sampleTimes;
            if (i == 19) expected = 8480229;
            if (i == 23) expected = 0x2000;
            if (i == 31) expected = c.flags;
            EXPECT_EQ(v[i], expected) << c.block << " entry " << i;
        }
    }
}

TEST(CommandLine, NoLeftHandResultStillAnswers) {
    auto p = lit("0.01");
    CallResult r = host::commandLineSizes(block("ZEVK_Reset"), {p.get()}, 0);
    ASSERT_TRUE(r.sizes());
    EXPECT_EQ((*r.sizes())[3], 1);
}

// --- shared sample-time method -----------------------------------------------

TEST(SampleTime, SharedMethodOnParameterZero) {
    const char* kTooMany =
        "Sample Time vector has more than two parameters. First scalar is sample time, Second scalar is Offset "
        "(default 0)";
    struct Case {
        const char* param;
        json times;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"0.01", json::array({json::array({0.01, nullptr})}), ""},
        {"[0.01 0.005]", json::array({json::array({0.01, 0.005})}), ""},
        {"[0.01 0.005 7]", json::array({json::array({0.01, 0.005})}), kTooMany},
        {"[]", json::array(), ""},
        {"-1", json::array({json::array({-1, nullptr})}), ""},
        {"[1 2; 3 4]", json::array({json::array({1, 3})}), kTooMany},
        {"int16([5 1])", json::array({json::array({5, 1})}), ""},
        {"{0.01}", json::array(), ""},
    };
    for (const auto& c : cases) {
        auto s = sized("ZEVK_Reset", {c.param});
        CallResult r = s->method(101);
        EXPECT_EQ(r.errorStatus.value_or(""), c.error) << c.param;
        EXPECT_EQ(s.state()["sampleTimes"], c.times) << c.param;
    }
}

// --- the reset and configuration-only blocks ----------------------------------

TEST(ResetBlock, DeclaresADynamicSinkAndSettlesAnyType) {
    auto s = sized("ZEVK_Reset", {"0.01"});
    json in = s.input(0);
    EXPECT_EQ(in["width"], -1);
    EXPECT_EQ(in["dtype"], -1);
    EXPECT_EQ(in["feedthrough"], 1);
    EXPECT_TRUE(in["complex"].is_null());
    EXPECT_TRUE(in["optim"].is_null());
    EXPECT_TRUE(s.state()["outputs"].empty());
    EXPECT_EQ(s.state()["notTunable"], json({0}));

    EXPECT_FALSE(s->method(113, 0, 1).errorStatus);
    EXPECT_EQ(s.input(0)["dtype"], 1);
    EXPECT_FALSE(s->method(132).errorStatus);
    EXPECT_EQ(s.input(0)["dtype"], 1) << "a settled type stays";

    for (int port : {1, -1, 1000}) {
        EXPECT_EQ(s->method(113, port, 3).errorStatus.value_or(""), "Invalid call to mdlSetInputPortDataType");
    }
    EXPECT_EQ(s.input(0)["dtype"], 1);

    auto open = sized("ZEVK_Reset", {"0.01"});
    open->method(132);
    EXPECT_EQ(open.input(0)["dtype"], 8) << "boolean when nothing settled the type";
    // Registered bus types are taken as any other id.
    EXPECT_FALSE(open->method(113, 0, 42).errorStatus);
    EXPECT_EQ(open.input(0)["dtype"], 42);
}

TEST(ResetBlock, RefusedPortCountsStopTheDescription) {
    HostOptions in;
    in.refuseInputPorts = true;
    auto a = sized("ZEVK_Reset", {"0.01"}, in);
    EXPECT_TRUE(opsNamed(a.sizes, "ssSetNumSampleTimes").empty());
    EXPECT_TRUE(opsNamed(a.sizes, "ssSetInputPortWidth").empty());

    HostOptions out;
    out.refuseOutputPorts = true;
    auto b = sized("ZEVK_Reset", {"0.01"}, out);
    EXPECT_EQ(b.input(0)["width"], -1);
    EXPECT_TRUE(opsNamed(b.sizes, "ssSetNumSampleTimes").empty());
}

TEST(ConfigOnlyBlocks, DeclareNothingWhateverTheyAreGiven) {
    for (const char* name : {"ZEVK_Lcd_Config", "ZEVK_Master", "ZEVK_TIMER_PIL_Profiling", "ZEVK_EmptySFunction"}) {
        for (auto params : {std::vector<std::string>{}, {"1"}, {"1", "[2 3]", "{'x'}"}}) {
            std::vector<ArrayPtr> arrays;
            for (auto& p : params) arrays.push_back(lit(p));
            auto s = sized(name, std::move(arrays));
            EXPECT_FALSE(s.sizes.mexError);
            EXPECT_TRUE(s.sizes.printed.empty());
            json ops = json::array();
            for (auto& op : s.sizes.ops) {
                if (op[0] != "request" && op[0] != "ssGetModelName") ops.push_back(op);  // the glue's own
            }
            EXPECT_TRUE(ops.empty()) << name << ": " << ops.dump();
            for (double flag : {101.0, 104.0, 107.0, 113.0, 119.0, 132.0}) {
                CallResult r = s->method(flag, 0, 3);
                EXPECT_FALSE(r.errorStatus) << name << " flag " << flag;
                EXPECT_TRUE(r.ops.empty()) << name << " flag " << flag << ": " << r.ops.dump();
            }
        }
    }
}

}  // namespace
}  // namespace zevk::test
