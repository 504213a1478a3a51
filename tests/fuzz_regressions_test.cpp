// Sessions the fuzzer (fuzz/fuzz_blocks.cpp) once broke, kept as plain host
// sessions that must run to the end: no crash, no sanitizer report, no leak
// once the record is gone, and no mxFree of memory the call did not hand out.
#include "tests/support.h"

namespace zevk::test {
namespace {

struct Step {
    double flag;  // 0: the host's sizes query
    int32_t port = 0;
    int32_t value = 0;
    std::vector<int32_t> dims = {};  // offered when not empty
};

struct Session {
    const char* what;
    const char* block;
    std::vector<std::string_view> params;
    std::vector<Step> steps;
    HostOptions host = {};
};

const char kNdimRecords[] = "[2 3 4 0 0 0 0 0 0 0]";

const Session kSessions[] = {
    // The record was sized again after a terminate; the second table (and
    // the second set of work-vector names) needs a terminate of its own,
    // which the host gives when the record goes away.
    {"N-dimensional table after a second sizes query",
     "ZEVK_Lcd_Output",
     {"[0]", "[]", kNdimRecords, "[]", "{}", "0.01", "0"},
     {{0}, {107}, {0}, {126, 0, 0, {3, 4}}}},
    {"dimension table of a block whose terminate came before its sizes query",
     "ZEVK_C_function_Call",
     {"[0]", "[0]", kNdimRecords, kNdimRecords, "{}", "0.01", "3"},
     {{107}, {0}, {131}}},
    {"work-vector names after a second sizes query",
     "ZEVK_PWM_HighSpeed",
     {"0.001", "[0]", "[0]", "[1]", "[1]", "[7 7]", "[1 4]", "0"},
     {{0}, {107}, {0}, {101}}},
};

TEST(FuzzRegressions, SessionsRunToTheEnd) {
    for (const Session& s : kSessions) {
        std::vector<ArrayPtr> params;
        for (auto p : s.params) params.push_back(lit(p));
        Record record(block(s.block), std::move(params), s.host);
        for (const Step& step : s.steps) {
            DimsInfo_T dims{};
            std::vector<int32_t> sizes = step.dims;
            if (!sizes.empty()) {
                int32_t width = 1;
                for (int32_t n : sizes) width *= n;
                dims = {width, static_cast<int32_t>(sizes.size()), sizes.data(), nullptr};
            }
            CallResult r = step.flag == 0 ? record.sizesQuery()
                                          : record.method(step.flag, step.port, step.value,
                                                          sizes.empty() ? nullptr : &dims);
            EXPECT_EQ(r.foreignFrees, 0u) << s.what << ", flag " << step.flag;
            EXPECT_FALSE(r.mexError) << s.what << ", flag " << step.flag << ": " << *r.mexError;
        }
        // Sized last, so the host still owes the block its terminate.
        EXPECT_FALSE(record.terminated()) << s.what;
    }
}

// A bus name holding a character beyond a byte has no text the block can
// take; the host used to convert it into a char by an out-of-range cast.
TEST(FuzzRegressions, BusNameWithAWideCharacterCannotBeConverted) {
    for (const char* name : {"ZEVK_TCC_PWM", "ZEVK_Lcd_Output"}) {
        const bool ndim = std::string_view(name) == "ZEVK_Lcd_Output";
        std::vector<ArrayPtr> params = lits({"[100]", "[]", ndim ? "[0]" : "[1]", "[]", "{'Bus'}", "0.01", "0"});
        host::setElement(params[4]->cells[0], 1, 270.0);  // 'B', 270, 's'
        auto s = sized(name, std::move(params));
        ASSERT_TRUE(s.sizes.mexError) << name;
        EXPECT_EQ(*s.sizes.mexError, "Could not convert string data.") << name;
        EXPECT_EQ(s.sizes.mexErrorId.value_or(""), "MATLAB:explore:invalidStringArray") << name;
        EXPECT_EQ(s.sizes.foreignFrees, 0u) << name;
    }
}

// A record pointer kept after its record went away must not find a record:
// the call gets the standalone record of a command-line query instead.
TEST(FuzzRegressions, PointerToARecordThatIsGoneFindsNone) {
    auto record = std::make_unique<Record>(block("ZEVK_Reset"), lits({"0.01"}));
    ArrayPtr pointer = record->pointerArgument();
    record.reset();
    auto empty = lit("[]");
    auto flag = lit("0");
    const mxArray* rhs[] = {empty.get(), pointer.get(), empty.get(), flag.get()};
    mxArray* lhs[2] = {nullptr, nullptr};
    CallResult r = host::invokeMex(block("ZEVK_Reset").entry(), 1, lhs, 4, rhs);
    ASSERT_FALSE(r.mexError) << *r.mexError;
    const auto sizes = r.sizes();
    ASSERT_TRUE(sizes);
    EXPECT_EQ((*sizes)[3], 0) << "no parameters given, so no input port";
    EXPECT_EQ((*sizes)[7], 1);
}

}  // namespace
}  // namespace zevk::test
