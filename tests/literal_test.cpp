#include "tools/zevk/literal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

namespace {

using zevk::cli::LiteralError;
using zevk::cli::parseLiteral;
using zevk::host::getElement;
using zevk::host::numel;
using zevk::host::toLiteral;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

zevk::host::ArrayPtr parseOk(const std::string& text) {
    LiteralError error;
    auto a = parseLiteral(text, &error);
    EXPECT_NE(a, nullptr) << "'" << text << "' failed at " << error.position << ": "
                          << error.message;
    return a;
}

bool sameValue(double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; }

struct NumericCase {
    const char* text;
    mxClassID cls;
    size_t rows;
    size_t cols;
    std::vector<double> re;  // column-major
    std::vector<double> im;  // empty for a real array
};

void PrintTo(const NumericCase& c, std::ostream* os) { *os << "'" << c.text << "'"; }

class NumericLiteral : public testing::TestWithParam<NumericCase> {};

TEST_P(NumericLiteral, HasClassShapeAndValues) {
    const NumericCase& c = GetParam();
    auto a = parseOk(c.text);
    ASSERT_NE(a, nullptr);
    SCOPED_TRACE("parsed as " + toLiteral(a.get()));
    EXPECT_EQ(a->classId, c.cls);
    EXPECT_EQ(a->dims, (std::vector<size_t>{c.rows, c.cols}));
    EXPECT_EQ(a->complex, !c.im.empty());
    ASSERT_EQ(numel(a.get()), c.re.size());
    for (size_t i = 0; i < c.re.size(); ++i) {
        EXPECT_TRUE(sameValue(getElement(a.get(), i), c.re[i]))
            << "re[" << i << "] = " << getElement(a.get(), i) << ", want " << c.re[i];
        if (!c.im.empty()) {
            EXPECT_TRUE(sameValue(getElement(a.get(), i, true), c.im[i]))
                << "im[" << i << "] = " << getElement(a.get(), i, true) << ", want " << c.im[i];
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Scalars, NumericLiteral, testing::Values(
    NumericCase{"0.01", mxDOUBLE_CLASS, 1, 1, {0.01}, {}},
    NumericCase{"-3", mxDOUBLE_CLASS, 1, 1, {-3}, {}},
    NumericCase{"+2", mxDOUBLE_CLASS, 1, 1, {2}, {}},
    NumericCase{"--2", mxDOUBLE_CLASS, 1, 1, {2}, {}},
    NumericCase{"  7\n", mxDOUBLE_CLASS, 1, 1, {7}, {}},
    NumericCase{"-0.5", mxDOUBLE_CLASS, 1, 1, {-0.5}, {}},
    NumericCase{".5", mxDOUBLE_CLASS, 1, 1, {0.5}, {}},
    NumericCase{"3.", mxDOUBLE_CLASS, 1, 1, {3}, {}},
    NumericCase{"1e300", mxDOUBLE_CLASS, 1, 1, {1e300}, {}},
    NumericCase{"1.5E-3", mxDOUBLE_CLASS, 1, 1, {1.5e-3}, {}},
    NumericCase{"1e400", mxDOUBLE_CLASS, 1, 1, {kInf}, {}},
    NumericCase{"1e-400", mxDOUBLE_CLASS, 1, 1, {0}, {}},
    NumericCase{"NaN", mxDOUBLE_CLASS, 1, 1, {kNaN}, {}},
    NumericCase{"nan", mxDOUBLE_CLASS, 1, 1, {kNaN}, {}},
    NumericCase{"Inf", mxDOUBLE_CLASS, 1, 1, {kInf}, {}},
    NumericCase{"-Inf", mxDOUBLE_CLASS, 1, 1, {-kInf}, {}},
    NumericCase{"INF", mxDOUBLE_CLASS, 1, 1, {kInf}, {}},
    NumericCase{"pi", mxDOUBLE_CLASS, 1, 1, {std::numbers::pi}, {}},
    NumericCase{"true", mxLOGICAL_CLASS, 1, 1, {1}, {}},
    NumericCase{"false", mxLOGICAL_CLASS, 1, 1, {0}, {}},
    NumericCase{"+true", mxDOUBLE_CLASS, 1, 1, {1}, {}}));

// Outside brackets spaces never split a value; '^' binds tighter than a sign.
INSTANTIATE_TEST_SUITE_P(Arithmetic, NumericLiteral, testing::Values(
    NumericCase{"2^31", mxDOUBLE_CLASS, 1, 1, {2147483648.0}, {}},
    NumericCase{"-2^40", mxDOUBLE_CLASS, 1, 1, {-1099511627776.0}, {}},
    NumericCase{"2 ^ -1", mxDOUBLE_CLASS, 1, 1, {0.5}, {}},
    NumericCase{"2^3^2", mxDOUBLE_CLASS, 1, 1, {64}, {}},
    NumericCase{"1 - 2", mxDOUBLE_CLASS, 1, 1, {-1}, {}},
    NumericCase{"1 -2", mxDOUBLE_CLASS, 1, 1, {-1}, {}}));

INSTANTIATE_TEST_SUITE_P(Complex, NumericLiteral, testing::Values(
    NumericCase{"1+2i", mxDOUBLE_CLASS, 1, 1, {1}, {2}},
    NumericCase{"2i", mxDOUBLE_CLASS, 1, 1, {0}, {2}},
    NumericCase{"3j", mxDOUBLE_CLASS, 1, 1, {0}, {3}},
    NumericCase{"-1-0.5j", mxDOUBLE_CLASS, 1, 1, {-1}, {-0.5}},
    NumericCase{"1e3i", mxDOUBLE_CLASS, 1, 1, {0}, {1000}},
    NumericCase{"[1+2i]^2", mxDOUBLE_CLASS, 1, 1, {-3}, {4}},
    NumericCase{"[1 2i]", mxDOUBLE_CLASS, 1, 2, {1, 0}, {0, 2}},
    NumericCase{"[1; 2i]", mxDOUBLE_CLASS, 2, 1, {1, 0}, {0, 2}},
    NumericCase{"[-1 +2i]", mxDOUBLE_CLASS, 1, 2, {-1, 0}, {0, 2}},
    NumericCase{"[-1 + 2i]", mxDOUBLE_CLASS, 1, 1, {-1}, {2}}));

INSTANTIATE_TEST_SUITE_P(Matrices, NumericLiteral, testing::Values(
    NumericCase{"[]", mxDOUBLE_CLASS, 0, 0, {}, {}},
    NumericCase{"[ ]", mxDOUBLE_CLASS, 0, 0, {}, {}},
    NumericCase{"[3 5]", mxDOUBLE_CLASS, 1, 2, {3, 5}, {}},
    NumericCase{"[1, 2]", mxDOUBLE_CLASS, 1, 2, {1, 2}, {}},
    NumericCase{"[1 ,2,]", mxDOUBLE_CLASS, 1, 2, {1, 2}, {}},
    NumericCase{"[\t1\t2 ]", mxDOUBLE_CLASS, 1, 2, {1, 2}, {}},
    NumericCase{"[1 2; 3 4]", mxDOUBLE_CLASS, 2, 2, {1, 3, 2, 4}, {}},
    NumericCase{"[1 2 3\n4 5 6]", mxDOUBLE_CLASS, 2, 3, {1, 4, 2, 5, 3, 6}, {}},
    NumericCase{"[\r\n1 2\r\n3 4;\r\n]", mxDOUBLE_CLASS, 2, 2, {1, 3, 2, 4}, {}},
    NumericCase{"[1; 2; 3]", mxDOUBLE_CLASS, 3, 1, {1, 2, 3}, {}},
    NumericCase{"[1 2;]", mxDOUBLE_CLASS, 1, 2, {1, 2}, {}},
    NumericCase{"[1 -2]", mxDOUBLE_CLASS, 1, 2, {1, -2}, {}},
    NumericCase{"[1 - 2]", mxDOUBLE_CLASS, 1, 1, {-1}, {}},
    NumericCase{"[1-2]", mxDOUBLE_CLASS, 1, 1, {-1}, {}},
    NumericCase{"[1 -2 + 3]", mxDOUBLE_CLASS, 1, 2, {1, 1}, {}},
    NumericCase{"[1 - -2]", mxDOUBLE_CLASS, 1, 1, {3}, {}},
    NumericCase{"[2 ^3]", mxDOUBLE_CLASS, 1, 1, {8}, {}},
    NumericCase{"[-2^2 NaN -Inf]", mxDOUBLE_CLASS, 1, 3, {-4, kNaN, -kInf}, {}},
    NumericCase{"[[1 2] 3]", mxDOUBLE_CLASS, 1, 3, {1, 2, 3}, {}},
    NumericCase{"[[1;2] [3;4]]", mxDOUBLE_CLASS, 2, 2, {1, 2, 3, 4}, {}},
    NumericCase{"[[1 2]; 3 4]", mxDOUBLE_CLASS, 2, 2, {1, 3, 2, 4}, {}},
    NumericCase{"[[] 1 []]", mxDOUBLE_CLASS, 1, 1, {1}, {}},
    NumericCase{"[[]; 1 2]", mxDOUBLE_CLASS, 1, 2, {1, 2}, {}},
    NumericCase{"['' 1 '']", mxDOUBLE_CLASS, 1, 1, {1}, {}},
    NumericCase{"[true false]", mxLOGICAL_CLASS, 1, 2, {1, 0}, {}},
    NumericCase{"[true; false]", mxLOGICAL_CLASS, 2, 1, {1, 0}, {}},
    NumericCase{"[true 2]", mxDOUBLE_CLASS, 1, 2, {1, 2}, {}}));

// Integer results round half away from zero and saturate at every step.
INSTANTIATE_TEST_SUITE_P(Casts, NumericLiteral, testing::Values(
    NumericCase{"int8(200)", mxINT8_CLASS, 1, 1, {127}, {}},
    NumericCase{"int8(-200)", mxINT8_CLASS, 1, 1, {-128}, {}},
    NumericCase{"uint8(-5)", mxUINT8_CLASS, 1, 1, {0}, {}},
    NumericCase{"int16(2.5)", mxINT16_CLASS, 1, 1, {3}, {}},
    NumericCase{"int16(-2.5)", mxINT16_CLASS, 1, 1, {-3}, {}},
    NumericCase{"uint16(65535.4)", mxUINT16_CLASS, 1, 1, {65535}, {}},
    NumericCase{"int32(NaN)", mxINT32_CLASS, 1, 1, {0}, {}},
    NumericCase{"uint32(Inf)", mxUINT32_CLASS, 1, 1, {4294967295.0}, {}},
    NumericCase{"int64(-2^40)", mxINT64_CLASS, 1, 1, {-1099511627776.0}, {}},
    NumericCase{"uint64(2^52 + 1)", mxUINT64_CLASS, 1, 1, {4503599627370497.0}, {}},
    NumericCase{"single(0.1)", mxSINGLE_CLASS, 1, 1, {static_cast<double>(0.1f)}, {}},
    NumericCase{"single(1e300)", mxSINGLE_CLASS, 1, 1, {kInf}, {}},
    NumericCase{"single(-1e300)", mxSINGLE_CLASS, 1, 1, {-kInf}, {}},
    NumericCase{"single(3.4028235e38)", mxSINGLE_CLASS, 1, 1, {3.4028234663852886e38}, {}},
    NumericCase{"double(int8(5))", mxDOUBLE_CLASS, 1, 1, {5}, {}},
    NumericCase{"int8 ( 5 )", mxINT8_CLASS, 1, 1, {5}, {}},
    NumericCase{"int8(1 -2)", mxINT8_CLASS, 1, 1, {-1}, {}},
    NumericCase{"int8([1 2; 3 400])", mxINT8_CLASS, 2, 2, {1, 3, 2, 127}, {}},
    NumericCase{"int8([])", mxINT8_CLASS, 0, 0, {}, {}},
    NumericCase{"int8(1+2.6i)", mxINT8_CLASS, 1, 1, {1}, {3}},
    NumericCase{"uint8('AB')", mxUINT8_CLASS, 1, 2, {65, 66}, {}},
    NumericCase{"logical(5)", mxLOGICAL_CLASS, 1, 1, {1}, {}},
    NumericCase{"logical([0 -2 0.5 Inf])", mxLOGICAL_CLASS, 1, 4, {0, 1, 1, 1}, {}},
    NumericCase{"logical([])", mxLOGICAL_CLASS, 0, 0, {}, {}},
    NumericCase{"[int8(1) 2.7]", mxINT8_CLASS, 1, 2, {1, 3}, {}},
    NumericCase{"[2.7 int8(1) uint8(1)]", mxINT8_CLASS, 1, 3, {3, 1, 1}, {}},
    NumericCase{"[int8(100); 300]", mxINT8_CLASS, 2, 1, {100, 127}, {}},
    NumericCase{"[single(1) 2]", mxSINGLE_CLASS, 1, 2, {1, 2}, {}},
    NumericCase{"[int8(1) 2i]", mxINT8_CLASS, 1, 2, {1, 0}, {0, 2}},
    NumericCase{"int8(100) + 100", mxINT8_CLASS, 1, 1, {127}, {}},
    NumericCase{"-int8(-128)", mxINT8_CLASS, 1, 1, {127}, {}},
    NumericCase{"-uint8(5)", mxUINT8_CLASS, 1, 1, {0}, {}},
    NumericCase{"int8(2)^10", mxINT8_CLASS, 1, 1, {127}, {}},
    NumericCase{"true + true", mxDOUBLE_CLASS, 1, 1, {2}, {}}));

TEST(Literal, NegativeZeroKeepsItsSign) {
    auto a = parseOk("[-0 0]");
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(std::signbit(getElement(a.get(), 0)));
    EXPECT_FALSE(std::signbit(getElement(a.get(), 1)));
}

TEST(Literal, FractionalPowerOfANegativeNumberIsComplex) {
    auto a = parseOk("[-4]^0.5");
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->complex);
    EXPECT_NEAR(getElement(a.get(), 0), 0.0, 1e-12);
    EXPECT_NEAR(getElement(a.get(), 0, true), 2.0, 1e-12);
}

struct TextCase {
    const char* text;
    std::string chars;
    size_t rows;
    size_t cols;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.text; }

class TextLiteral : public testing::TestWithParam<TextCase> {};

TEST_P(TextLiteral, IsACharRow) {
    const TextCase& c = GetParam();
    auto a = parseOk(c.text);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->classId, mxCHAR_CLASS);
    EXPECT_EQ(a->dims, (std::vector<size_t>{c.rows, c.cols}));
    ASSERT_EQ(numel(a.get()), c.chars.size());
    for (size_t i = 0; i < c.chars.size(); ++i)
        EXPECT_EQ(getElement(a.get(), i), static_cast<unsigned char>(c.chars[i])) << "at " << i;
}

INSTANTIATE_TEST_SUITE_P(Text, TextLiteral, testing::Values(
    TextCase{"'text'", "text", 1, 4},
    TextCase{"'BusA'", "BusA", 1, 4},
    TextCase{"'it''s'", "it's", 1, 4},
    TextCase{"''''", "'", 1, 1},
    TextCase{"''", "", 0, 0},
    TextCase{"' a b '", " a b ", 1, 5},
    TextCase{"'[1 2]; {x}'", "[1 2]; {x}", 1, 10},
    TextCase{"\"dq\"", "dq", 1, 2},
    TextCase{"\"say \"\"hi\"\"\"", "say \"hi\"", 1, 8},
    TextCase{"\"it's\"", "it's", 1, 4},
    TextCase{"['ab' 'cd']", "abcd", 1, 4},
    TextCase{"['ab', '', [], 'c']", "abc", 1, 3},
    TextCase{"['']", "", 0, 0},
    TextCase{"['ab'; '']", "ab", 1, 2}));

TEST(Literal, TextWritesBackAsItsLiteral) {
    auto a = parseOk("'BusA'");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(toLiteral(a.get()), "'BusA'");
}

const mxArray* cellAt(const zevk::host::ArrayPtr& a, size_t i) {
    return i < a->cells.size() ? a->cells[i] : nullptr;
}

TEST(Literal, CellArraysKeepShapeAndElements) {
    struct Case {
        const char* text;
        size_t rows;
        size_t cols;
        std::vector<mxClassID> classes;  // column-major
    };
    const Case cases[] = {
        {"{}", 0, 0, {}},
        {"{ }", 0, 0, {}},
        {"{'BusA','BusB'}", 1, 2, {mxCHAR_CLASS, mxCHAR_CLASS}},
        {"{'a'; 'b'}", 2, 1, {mxCHAR_CLASS, mxCHAR_CLASS}},
        {"{[]}", 1, 1, {mxDOUBLE_CLASS}},
        {"{1 -2}", 1, 2, {mxDOUBLE_CLASS, mxDOUBLE_CLASS}},
        {"{1 - 2}", 1, 1, {mxDOUBLE_CLASS}},
        {"{1, 'x'; int8(3), {}}", 2, 2, {mxDOUBLE_CLASS, mxINT8_CLASS, mxCHAR_CLASS, mxCELL_CLASS}},
        {"{true\n{2}}", 2, 1, {mxLOGICAL_CLASS, mxCELL_CLASS}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto a = parseOk(c.text);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->classId, mxCELL_CLASS);
        EXPECT_EQ(a->dims, (std::vector<size_t>{c.rows, c.cols}));
        ASSERT_EQ(numel(a.get()), c.classes.size());
        for (size_t i = 0; i < c.classes.size(); ++i) {
            const mxArray* e = cellAt(a, i);
            ASSERT_NE(e, nullptr) << "element " << i << " missing";
            EXPECT_EQ(e->classId, c.classes[i]) << "element " << i;
        }
    }
}

TEST(Literal, CellElementsHoldTheirValues) {
    auto a = parseOk("{1, 'x'; [3 4], {'in', -5}}");
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(numel(a.get()), 4u);
    // Column-major: (2,1) is the second element.
    const mxArray* matrix = cellAt(a, 1);
    ASSERT_NE(matrix, nullptr);
    EXPECT_EQ(matrix->dims, (std::vector<size_t>{1, 2}));
    EXPECT_EQ(getElement(matrix, 1), 4.0);

    const mxArray* text = cellAt(a, 2);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(getElement(text, 0), 'x');

    const mxArray* inner = cellAt(a, 3);
    ASSERT_NE(inner, nullptr);
    ASSERT_EQ(inner->classId, mxCELL_CLASS);
    EXPECT_EQ(inner->dims, (std::vector<size_t>{1, 2}));
    ASSERT_EQ(inner->cells.size(), 2u);
    ASSERT_NE(inner->cells[1], nullptr);
    EXPECT_EQ(getElement(inner->cells[1], 0), -5.0);

    auto empty = parseOk("{[]}");
    ASSERT_NE(empty, nullptr);
    const mxArray* e = cellAt(empty, 0);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->dims, (std::vector<size_t>{0, 0}));
}

struct ErrorCase {
    const char* text;
    size_t position;
    const char* message;  // expected within the reported message
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << "'" << c.text << "'"; }

class MalformedLiteral : public testing::TestWithParam<ErrorCase> {};

TEST_P(MalformedLiteral, ReportsWhereAndWhy) {
    const ErrorCase& c = GetParam();
    LiteralError error;
    auto a = parseLiteral(c.text, &error);
    EXPECT_EQ(a, nullptr) << "parsed as " << toLiteral(a.get());
    EXPECT_EQ(error.position, c.position) << error.message;
    EXPECT_NE(error.message.find(c.message), std::string::npos) << error.message;
}

INSTANTIATE_TEST_SUITE_P(Syntax, MalformedLiteral, testing::Values(
    ErrorCase{"", 0, "expected a value"},
    ErrorCase{"  \n ", 4, "expected a value"},
    ErrorCase{"@", 0, "unexpected '@'"},
    ErrorCase{"1 2", 2, "unexpected '2' after the value"},
    ErrorCase{"[1 2]'", 5, "unexpected '''"},
    ErrorCase{"12abc", 2, "unexpected 'a' after the number"},
    ErrorCase{"1e", 1, "incomplete exponent"},
    ErrorCase{"1e+", 1, "incomplete exponent"},
    ErrorCase{"2if", 1, "unexpected 'i'"},
    ErrorCase{"1.5.3", 3, "unexpected '.'"},
    ErrorCase{"1 +", 3, "expected a value"},
    ErrorCase{"foo", 0, "unknown name 'foo'"},
    ErrorCase{"[1 foo]", 3, "unknown name 'foo'"},
    ErrorCase{"i", 0, "unknown name 'i'"},
    ErrorCase{"Infinity", 0, "unknown name 'Infinity'"},
    ErrorCase{"True", 0, "unknown name 'True'"},
    ErrorCase{"(1)", 0, "unexpected '('"},
    ErrorCase{"true(2)", 4, "unexpected '('"},
    ErrorCase{"'abc", 4, "expected a closing ' for the text opened at position 0"},
    ErrorCase{"{'ab\ncd'}", 4, "text opened at position 1"},
    ErrorCase{"\"abc'", 5, "expected a closing \""}));

INSTANTIATE_TEST_SUITE_P(Brackets, MalformedLiteral, testing::Values(
    ErrorCase{"[1 2", 4, "expected ']' to close the matrix opened at position 0"},
    ErrorCase{"  [1 2 }", 7, "expected ']' to close the matrix opened at position 2"},
    ErrorCase{"[1 [2 3]", 8, "expected ']' to close the matrix opened at position 0"},
    ErrorCase{"{1, 2", 5, "expected '}' to close the cell array opened at position 0"},
    ErrorCase{"{1 2]", 4, "expected '}'"},
    ErrorCase{"]", 0, "unexpected ']'"},
    ErrorCase{"[1 2] ]", 6, "unexpected ']' after the value"},
    ErrorCase{"[1, , 2]", 4, "unexpected ','"},
    ErrorCase{"[,1]", 1, "unexpected ','"},
    ErrorCase{"[1(2)]", 2, "separate elements"},
    ErrorCase{"[1'a']", 2, "separate elements"},
    ErrorCase{"[1 2; 3]", 6, "row 2 has 1 column but row 1 has 2"},
    ErrorCase{"[1; 2 3]", 4, "row 2 has 2 columns but row 1 has 1"},
    ErrorCase{"[[1;2] 3]", 7, "this element has 1 row but the ones before it have 2"},
    ErrorCase{"{1, 2; 3}", 7, "row 2 of the cell array has 1 element but row 1 has 2"},
    ErrorCase{"[1 'a']", 3, "cannot mix text and numbers"},
    ErrorCase{"['a' [] 1]", 8, "cannot mix text and numbers"},
    ErrorCase{"[1; 'a']", 4, "cannot mix text and numbers"},
    ErrorCase{"['ab'; 'cd']", 7, "more than one row"},
    ErrorCase{"[{1} 2]", 1, "cell array cannot be an element of a matrix"}));

INSTANTIATE_TEST_SUITE_P(Operators, MalformedLiteral, testing::Values(
    ErrorCase{"[1 2] + 1", 6, "'+' needs a scalar number"},
    ErrorCase{"[1 2]^2", 5, "'^' needs a scalar number"},
    ErrorCase{"'a' - 1", 4, "'-' needs a scalar number"},
    ErrorCase{"-'a'", 0, "'-' needs a number"},
    ErrorCase{"{1} + 1", 4, "'+' needs a scalar number"},
    ErrorCase{"int8(1) + int16(1)", 8, "cannot combine"}));

INSTANTIATE_TEST_SUITE_P(Casts, MalformedLiteral, testing::Values(
    ErrorCase{"int8", 4, "expected '(' after 'int8'"},
    ErrorCase{"[int8 (1)]", 5, "expected '(' after 'int8'"},
    ErrorCase{"int8()", 5, "expected a value inside int8(...)"},
    ErrorCase{"int8(1", 6, "expected ')' to close int8( opened at position 4"},
    ErrorCase{"int8(1, 2)", 6, "expected ')'"},
    ErrorCase{"logical(NaN)", 8, "cannot convert NaN"},
    ErrorCase{"logical([1 NaN])", 8, "cannot convert NaN"},
    ErrorCase{"logical(1i)", 8, "complex"},
    ErrorCase{"logical('a')", 8, "characters"},
    ErrorCase{"int8({1})", 5, "cannot convert a cell array"},
    ErrorCase{"char(65)", 0, "unknown name 'char'"}));

TEST(Literal, DeepNestingIsBoundedNotACrash) {
    std::string shallow = std::string(50, '[') + "1" + std::string(50, ']');
    auto a = parseOk(shallow);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(getElement(a.get(), 0), 1.0);

    std::string deep = std::string(100000, '{');
    LiteralError error;
    EXPECT_EQ(parseLiteral(deep, &error), nullptr);
    EXPECT_NE(error.message.find("nested too deeply"), std::string::npos) << error.message;
}

TEST(Literal, ErrorOutputIsOptional) {
    EXPECT_EQ(parseLiteral("[1 2", nullptr), nullptr);
}

}  // namespace
