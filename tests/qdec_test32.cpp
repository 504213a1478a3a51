// The quadrature decoder of the 32-bit build, loaded by the 32-bit host: the
// older record's version, its 2-row pointer argument and 38-entry sizes, and
// the same block and flag table as the 64-bit build.
#include <cmath>
#include <string>

#include "glue/build_config.h"
#include "tests/support.h"

static_assert(sizeof(void*) == 4 && kNumSizes == 38 && kRecordVersion == 5200229,
              "this program belongs to the 32-bit build");

namespace zevk::test {
namespace {

const char kBlock[] = "ZEVK_QDEC_QORx";
const std::initializer_list<std::string_view> kParams = {"0.01", "[3 5]", "7", "3"};

ArrayPtr pointerRows(std::vector<double> rows) {
    const size_t n = rows.size();
    return host::makeDouble(std::move(rows), n);
}

// The sizes vector a deliverable gives for the block's usual dialog, with its
// record chosen by `pointer`.
CallResult sizesWithPointer(Record& record, const mxArray* pointer) {
    auto empty = lit("[]");
    auto flag = lit("0");
    auto params = lits(kParams);
    std::vector<const mxArray*> rhs{empty.get(), pointer, empty.get(), flag.get()};
    for (auto& p : params) rhs.push_back(p.get());
    return record.mex(1, rhs);
}

void expectDecoderSizes(const std::vector<double>& v) {
    ASSERT_EQ(v.size(), 38u);
    for (size_t i = 0; i < v.size(); ++i) {
        double expected = 0;
        switch (i) {
            case 2: expected = 2; break;
            case 3: expected = 3; break;
            case 6: expected = 1; break;
            case 7: expected = 4; break;
            case 19: expected = 5200229; break;
            case 23: expected = 0x2002; break;
            default: break;
        }
        if (i == 31) continue;  // the port-count flag is the standalone record's only
        EXPECT_EQ(v[i], expected) << "entry " << i;
    }
}

TEST(Decoder32, CommandLineQueryGives38Numbers) {
    auto v = sizesVector(kBlock, kParams);
    expectDecoderSizes(v);
    EXPECT_EQ(v.at(31), 2) << "port-count flag of the standalone record";

    // Wrong parameter count: the expected count, no ports, the glue's bit.
    auto few = sizesVector(kBlock, {"0.01"});
    ASSERT_EQ(few.size(), 38u);
    EXPECT_EQ(few[7], 4);
    EXPECT_EQ(few[3], 0);
    EXPECT_EQ(few[19], 5200229);
    EXPECT_EQ(few[23], 0x2000);
}

TEST(Decoder32, HostQueryThroughTwoRowPointer) {
    auto s = sized(kBlock, kParams);
    auto pointer = s->pointerArgument();
    ASSERT_EQ(host::numel(pointer.get()), 2u);
    EXPECT_EQ(host::getElement(pointer.get(), 1), 5200229);

    ASSERT_FALSE(s.sizes.mexError);
    expectDecoderSizes(s.sizes.sizes().value_or(std::vector<double>{}));
    EXPECT_EQ(s.state()["sizes"][19], 5200229);
    EXPECT_EQ(s.state()["sizes"][23], 0x2002);
    // No generic call 280, although this host has a block link and serves requests.
    EXPECT_TRUE(opsNamed(s.sizes, "request").empty());
    EXPECT_EQ(s.sizes.ops.at(1), json({"ssSetNumSFcnParams", 4}));
    EXPECT_EQ(s.state()["methods"],
              json({"mdlInitializeSizes", "mdlInitializeSampleTimes", "mdlOutputs", "mdlUpdate", "mdlTerminate",
                    "mdlRTW", "mdlGetTimeOfNextVarHit", "mdlZeroCrossings"}));

    json in = s.input(0);
    EXPECT_EQ(in["dtype"], 3);
    EXPECT_EQ(in["width"], 1);
    EXPECT_EQ(in["feedthrough"], 1);
    EXPECT_EQ(in["optim"], 2);
    EXPECT_EQ(in["overwritable"], 1);
    EXPECT_EQ(s.input(2)["dtype"], 8);
    EXPECT_EQ(s.output(0)["dtype"], 7);
    EXPECT_EQ(s.output(0)["optim"], 2);
    EXPECT_EQ(s.output(1)["dtype"], 8);
    EXPECT_TRUE(s.output(1)["optim"].is_null());
}

TEST(Decoder32, RowOneIsTheAddressAsSigned32BitValue) {
    // The address is row 1 truncated to a signed 32-bit value, out-of-range
    // values included: 2^32 more than the address is not the address.
    for (double offset : {0.0, 0.75, 4294967296.0, -4294967296.0}) {
        Record record(block(kBlock), lits(kParams));
        const auto address = static_cast<int32_t>(reinterpret_cast<uintptr_t>(record.raw()));
        const bool ours = offset < 1.0 && offset > -1.0;
        if (ours && address < 0) offset = -offset;  // a fraction toward zero
        auto p = pointerRows({double(address) + offset, 5200229});
        CallResult r = sizesWithPointer(record, p.get());
        EXPECT_EQ(!r.ops.empty(), ours) << offset;
        EXPECT_EQ(record.toJson()["sizes"][19], ours ? 5200229 : 0) << offset;
    }
}

TEST(Decoder32, OtherPointerFormsSelectTheStandaloneRecord) {
    Record record(block(kBlock), lits(kParams));
    const auto address = static_cast<double>(static_cast<int32_t>(reinterpret_cast<uintptr_t>(record.raw())));
    const std::vector<std::pair<std::string, ArrayPtr>> cases = [&] {
        std::vector<std::pair<std::string, ArrayPtr>> c;
        c.emplace_back("3 rows of the 64-bit build", pointerRows({address, 0, 8480229}));
        c.emplace_back("3 rows ending in 5200229", pointerRows({address, 0, 5200229}));
        c.emplace_back("version 5200229.5", pointerRows({address, 5200229.5}));
        c.emplace_back("64-bit version in 2 rows", pointerRows({address, 8480229}));
        c.emplace_back("one row", host::makeDouble({address, 5200229}, 1));
        return c;
    }();
    for (const auto& [what, arg] : cases) {
        CallResult r = sizesWithPointer(record, arg.get());
        ASSERT_FALSE(r.mexError) << what;
        auto v = r.sizes().value_or(std::vector<double>{});
        expectDecoderSizes(v);
        EXPECT_EQ(v.at(31), 2) << what << ": port-count flag of the standalone record";
        EXPECT_TRUE(r.ops.empty()) << what << ": our record was not touched";
        EXPECT_TRUE(record.toJson()["methods"].empty()) << what;
        EXPECT_EQ(record.toJson()["sizes"][19], 0) << what;
    }
}

TEST(Decoder32, NameCheckComparesWholeNames) {
    for (const char* model : {"ZEVK_QDEC_QORxx", "ZEVK_QDEC_QOR", "zevk_qdec_qorx"}) {
        HostOptions options;
        options.modelName = model;
        auto s = sized(kBlock, kParams, options);
        EXPECT_EQ(s.sizes.mexError.value_or(""),
                  std::string("S-function name mismatch. Name in source is \"#define S_FUNCTION_NAME "
                              "ZEVK_QDEC_QORx\", whereas name of the S-function MEX file is \"") +
                      model + "\". The source needs to be updated");
        EXPECT_TRUE(s.state()["methods"].empty()) << model;
    }
}

TEST(Decoder32, DataTypeEntriesReduceModulo2To32) {
    struct Case {
        const char* entry;
        int64_t id;
    };
    const std::vector<Case> cases = {
        {"6.7", 6},
        {"-1", -1},
        {"-7", -7},
        {"105", 105},
        {"2^31 - 1", INT32_MAX},
        {"-2^31", INT32_MIN},
        {"2^31", INT32_MIN},
        {"2^31 + 5", -2147483643},
        {"2^32 + 3", 3},
        {"2^31 + 0.5", INT32_MIN},
        {"2^40 + 9.9", 9},
        {"1e19", -1981284352},
        {"1e30", 0},
        {"-2^31 - 1", INT32_MIN},
        {"-1e19", INT32_MIN},
        {"NaN", INT32_MIN},
        {"Inf", INT32_MIN},
        {"-Inf", INT32_MIN},
    };
    for (const auto& c : cases) {
        auto s = sized(kBlock, {"0.01", c.entry, c.entry, "0"});
        ASSERT_FALSE(s.sizes.mexError) << c.entry;
        EXPECT_EQ(s.input(0)["dtype"], c.id) << c.entry;
        EXPECT_EQ(s.output(0)["dtype"], c.id) << c.entry;
    }
}

TEST(Decoder32, OnlyDataTypesReduceModulo2To32) {
    // Option bits 2^32 + 3 are out of range, as in the 64-bit build: no extra ports.
    auto s = sized(kBlock, {"0.01", "[3]", "[7]", "2^32 + 3"});
    EXPECT_EQ(s.state()["inputs"].size(), 1u);
    EXPECT_EQ(s.state()["outputs"].size(), 1u);
}

TEST(Decoder32, FlagTableAsInThe64BitBuild) {
    const std::string none;
    const std::vector<std::pair<double, std::string>> rows = {
        {101, none},
        {103,
         "To have a variable sample time, you must define MDL_GET_TIME_OF_NEXT_VAR_HIT and add a "
         "mdlGetTimeOfNextVarHit routine"},
        {104, none},
        {105, none},
        {107, none},
        {108,
         "To have nonsampled zero crossings, you must define MDL_ZERO_CROSSINGS and have a mdlZeroCrossings "
         "routine"},
        {113, "Unexpected call to mdlSetInputPortDataType"},
        {114, "Unexpected call to mdlSetOutputPortDataType"},
        {115, "Unexpected call to mdlSetInputPortWidth"},
        {119, none},
        {126, "Unexpected call to mdlSetInputPortDimensionInfo"},
        {131, "Unexpected call to mdlSetDefaultPortDimensionInfo"},
        {132, "Unexpected call to mdlSetDefaultPortDataTypes"},
        {144, "Unexpected call to mdlGetSimState (MDL_SIM_STATE not defined)"},
        {145, "Unexpected call to mdlSetSimState (MDL_SIM_STATE not defined)"},
        {100.9, "Invalid flag encountered in simulink"},
        {4294967296.0 + 101, "Invalid flag encountered in simulink"},
        {0, "Invalid flag encountered in simulink"},
        {-3, "Invalid flag encountered in simulink"},
    };
    for (const auto& [flag, message] : rows) {
        auto s = sized(kBlock, kParams);
        EXPECT_EQ(s->method(flag).errorStatus.value_or(""), message) << flag;
    }

    auto s = sized(kBlock, {"[0.01 0.005]", "[3 5]", "7", "3"});
    s->method(101);
    EXPECT_EQ(s.state()["sampleTimes"], json::array({json::array({0.01, 0.005})}));
}

}  // namespace
}  // namespace zevk::test
