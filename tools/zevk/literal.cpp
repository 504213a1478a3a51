#include "tools/zevk/literal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <numbers>
#include <optional>
#include <utility>
#include <vector>

namespace zevk::cli {
namespace {

using host::ArrayPtr;

struct Failure {
    size_t position;
    std::string message;
};

[[noreturn]] void fail(size_t position, std::string message) {
    throw Failure{position, std::move(message)};
}

std::string at(size_t position) { return "position " + std::to_string(position); }

std::string count(size_t n, const char* noun) {
    return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

// Matrices are concatenated, cast and combined in this form; only the
// finished value goes to the host, so intermediate results never depend on
// how the host stores a class.
struct Value {
    enum class Kind { Numeric, Char, Cell };
    Kind kind = Kind::Numeric;
    mxClassID cls = mxDOUBLE_CLASS;
    size_t rows = 0;
    size_t cols = 0;
    bool complex = false;
    std::vector<double> re;  // column-major
    std::vector<double> im;  // complex only, same length as re
    std::string text;        // Char: one row, or 0x0 when empty
    ArrayPtr cell;           // Cell: built as soon as it is parsed

    bool isEmpty() const { return rows == 0 && cols == 0; }
    bool isScalarNumber() const { return kind == Kind::Numeric && rows == 1 && cols == 1; }
    double imagAt(size_t i) const { return complex ? im[i] : 0.0; }
};

Value number(double re, mxClassID cls = mxDOUBLE_CLASS) {
    Value v;
    v.cls = cls;
    v.rows = v.cols = 1;
    v.re = {re};
    return v;
}

Value complexNumber(std::complex<double> z) {
    Value v = number(z.real());
    v.complex = true;
    v.im = {z.imag()};
    return v;
}

bool isIntegerClass(mxClassID id) { return id >= mxINT8_CLASS && id <= mxUINT64_CLASS; }

// The 64-bit limits round to +-2^63 and 2^64 here; the host saturates
// exactly when it stores the element.
std::pair<double, double> integerRange(mxClassID id) {
    switch (id) {
        case mxINT8_CLASS: return {-128.0, 127.0};
        case mxUINT8_CLASS: return {0.0, 255.0};
        case mxINT16_CLASS: return {-32768.0, 32767.0};
        case mxUINT16_CLASS: return {0.0, 65535.0};
        case mxINT32_CLASS: return {-2147483648.0, 2147483647.0};
        case mxUINT32_CLASS: return {0.0, 4294967295.0};
        case mxINT64_CLASS: return {-std::ldexp(1.0, 63), std::ldexp(1.0, 63)};
        default: return {0.0, std::ldexp(1.0, 64)};
    }
}

double toSingle(double v) {
    // Converting an out-of-range double to float is undefined; past half an
    // ulp above the largest float, rounding to nearest would give Inf.
    constexpr double kLargest = std::numeric_limits<float>::max();
    if (std::fabs(v) > kLargest) {
        bool overflows = std::fabs(v) >= std::ldexp(1.0, 128) - std::ldexp(1.0, 103);
        return std::copysign(overflows ? std::numeric_limits<double>::infinity() : kLargest, v);
    }
    return static_cast<double>(static_cast<float>(v));
}

double toClass(double v, mxClassID cls) {
    if (cls == mxSINGLE_CLASS) return toSingle(v);
    if (!isIntegerClass(cls)) return v;
    if (std::isnan(v)) return 0.0;
    auto [lo, hi] = integerRange(cls);
    return std::clamp(std::round(v), lo, hi);
}

// Applied after every operation so that, e.g., int8(100) + 100 saturates
// before it takes part in anything else.
void convert(Value& v, mxClassID cls) {
    v.cls = cls;
    for (double& x : v.re) x = toClass(x, cls);
    for (double& x : v.im) x = toClass(x, cls);
}

// MATLAB's concatenation rule: the leftmost integer class wins, then
// single, and logical survives only when every part is logical.
mxClassID concatClass(const std::vector<const Value*>& parts) {
    bool anySingle = false;
    bool allLogical = !parts.empty();
    for (const Value* p : parts) {
        if (isIntegerClass(p->cls)) return p->cls;
        anySingle = anySingle || p->cls == mxSINGLE_CLASS;
        allLogical = allLogical && p->cls == mxLOGICAL_CLASS;
    }
    if (anySingle) return mxSINGLE_CLASS;
    return allLogical ? mxLOGICAL_CLASS : mxDOUBLE_CLASS;
}

mxClassID arithmeticClass(const Value& a, const Value& b, size_t opPos) {
    if (isIntegerClass(a.cls) && isIntegerClass(b.cls) && a.cls != b.cls)
        fail(opPos, std::string("cannot combine ") + host::className(a.cls) + " and " +
                        host::className(b.cls) + " values");
    if (isIntegerClass(a.cls)) return a.cls;
    if (isIntegerClass(b.cls)) return b.cls;
    if (a.cls == mxSINGLE_CLASS || b.cls == mxSINGLE_CLASS) return mxSINGLE_CLASS;
    return mxDOUBLE_CLASS;
}

void requireScalarNumbers(const Value& a, const Value& b, char op, size_t opPos) {
    if (!a.isScalarNumber() || !b.isScalarNumber())
        fail(opPos, std::string("'") + op + "' needs a scalar number on each side");
}

Value applySign(Value v, bool negate, size_t opPos) {
    if (v.kind != Value::Kind::Numeric)
        fail(opPos, std::string("'") + (negate ? '-' : '+') + "' needs a number");
    if (v.cls == mxLOGICAL_CLASS) v.cls = mxDOUBLE_CLASS;
    if (negate) {
        for (double& x : v.re) x = -x;
        for (double& x : v.im) x = -x;
        convert(v, v.cls);
    }
    return v;
}

Value addOrSubtract(const Value& a, const Value& b, char op, size_t opPos) {
    requireScalarNumbers(a, b, op, opPos);
    mxClassID cls = arithmeticClass(a, b, opPos);
    double sign = op == '-' ? -1.0 : 1.0;
    Value r = number(a.re[0] + sign * b.re[0]);
    if (a.complex || b.complex) {
        r.complex = true;
        r.im = {a.imagAt(0) + sign * b.imagAt(0)};
    }
    convert(r, cls);
    return r;
}

Value power(const Value& base, const Value& exponent, size_t opPos) {
    requireScalarNumbers(base, exponent, '^', opPos);
    mxClassID cls = arithmeticClass(base, exponent, opPos);
    std::complex<double> b{base.re[0], base.imagAt(0)};
    std::complex<double> e{exponent.re[0], exponent.imagAt(0)};
    Value r;
    bool realExponent = !exponent.complex;
    bool integerExponent =
        realExponent && std::isfinite(e.real()) && e.real() == std::floor(e.real());
    if (!base.complex && realExponent &&
        (!(b.real() < 0) || !std::isfinite(e.real()) || integerExponent)) {
        r = number(std::pow(b.real(), e.real()));
    } else if (integerExponent && std::fabs(e.real()) <= 64) {
        // Repeated squaring keeps (1+2i)^2 exact where exp(log) would not.
        std::complex<double> result{1.0, 0.0};
        std::complex<double> factor = b;
        for (auto n = static_cast<long>(std::fabs(e.real())); n > 0; n >>= 1) {
            if (n & 1) result *= factor;
            factor *= factor;
        }
        r = complexNumber(e.real() < 0 ? 1.0 / result : result);
    } else {
        r = complexNumber(std::pow(b, e));
    }
    convert(r, cls);
    return r;
}

Value cast(Value v, mxClassID cls, const std::string& name, size_t argPos) {
    if (v.kind == Value::Kind::Cell) fail(argPos, name + "(...) cannot convert a cell array");
    if (v.kind == Value::Kind::Char) {
        if (cls == mxLOGICAL_CLASS) fail(argPos, "logical(...) cannot convert characters");
        Value codes;
        codes.rows = v.rows;
        codes.cols = v.cols;
        for (unsigned char c : v.text) codes.re.push_back(c);
        v = std::move(codes);
    }
    if (cls == mxLOGICAL_CLASS) {
        if (v.complex) fail(argPos, "logical(...) cannot convert complex values");
        for (double& x : v.re) {
            if (std::isnan(x)) fail(argPos, "logical(...) cannot convert NaN");
            x = x != 0.0 ? 1.0 : 0.0;
        }
        v.cls = mxLOGICAL_CLASS;
        return v;
    }
    convert(v, cls);
    return v;
}

std::optional<mxClassID> castClass(std::string_view name) {
    static constexpr std::pair<std::string_view, mxClassID> kCasts[] = {
        {"double", mxDOUBLE_CLASS}, {"single", mxSINGLE_CLASS},   {"int8", mxINT8_CLASS},
        {"uint8", mxUINT8_CLASS},   {"int16", mxINT16_CLASS},     {"uint16", mxUINT16_CLASS},
        {"int32", mxINT32_CLASS},   {"uint32", mxUINT32_CLASS},   {"int64", mxINT64_CLASS},
        {"uint64", mxUINT64_CLASS}, {"logical", mxLOGICAL_CLASS},
    };
    for (const auto& [n, id] : kCasts)
        if (n == name) return id;
    return std::nullopt;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isNameChar(char c) { return isAlpha(c) || isDigit(c) || c == '_'; }
bool isInlineSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return (x | 0x20) == (y | 0x20);
           });
}

double toDouble(std::string_view token) {
    double value = 0.0;
    auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Overflow is Inf and underflow is zero, as MATLAB reads them.
        return std::strtod(std::string(token).c_str(), nullptr);
    }
    return value;
}

ArrayPtr toArray(Value v) {
    switch (v.kind) {
        case Value::Kind::Cell: return std::move(v.cell);
        case Value::Kind::Char:
            if (v.text.empty()) return host::makeArray(mxCHAR_CLASS, {0, 0});
            return host::makeChar(v.text);
        case Value::Kind::Numeric: break;
    }
    ArrayPtr a = host::makeArray(v.cls, {v.rows, v.cols}, v.complex);
    for (size_t i = 0; i < v.re.size(); ++i) host::setElement(a.get(), i, v.re[i], v.imagAt(i));
    return a;
}

struct Item {
    Value value;
    size_t position;
};
using Rows = std::vector<std::vector<Item>>;

class Parser {
public:
    explicit Parser(std::string_view text) : s_(text) {}

    Value parseAll() {
        skipSpace(true);
        if (atEnd()) fail(pos_, "expected a value");
        Value v = parseExpr(false);
        skipSpace(true);
        if (!atEnd()) fail(pos_, "unexpected " + describe(pos_) + " after the value");
        return v;
    }

private:
    static constexpr int kMaxDepth = 200;

    std::string_view s_;
    size_t pos_ = 0;
    int depth_ = 0;

    bool atEnd() const { return pos_ >= s_.size(); }
    char peek(size_t ahead = 0) const { return pos_ + ahead < s_.size() ? s_[pos_ + ahead] : '\0'; }

    // Inside brackets a line break separates rows, so only the caller that
    // is outside them may skip it.
    bool skipSpace(bool lineBreaks) {
        size_t start = pos_;
        while (!atEnd() && (isInlineSpace(s_[pos_]) || (lineBreaks && s_[pos_] == '\n'))) ++pos_;
        return pos_ != start;
    }

    std::string describe(size_t p) const {
        if (p >= s_.size()) return "end of input";
        char c = s_[p];
        if (c == '\n') return "line break";
        if (c > ' ' && c < 0x7f) return std::string("'") + c + "'";
        char buf[24];
        std::snprintf(buf, sizeof buf, "character 0x%02X", static_cast<unsigned char>(c));
        return buf;
    }

    Value parseExpr(bool inBrackets) {
        if (++depth_ > kMaxDepth) fail(pos_, "literal is nested too deeply");
        Value v = parseUnary(inBrackets);
        for (;;) {
            size_t save = pos_;
            bool spaced = skipSpace(!inBrackets);
            char op = peek();
            if (atEnd() || (op != '+' && op != '-')) {
                pos_ = save;
                break;
            }
            // "[1 -2]" holds two elements; "[1 - 2]" and "[1-2]" hold one.
            char next = peek(1);
            if (inBrackets && spaced && pos_ + 1 < s_.size() && !isInlineSpace(next) &&
                next != '\n') {
                pos_ = save;
                break;
            }
            size_t opPos = pos_++;
            skipSpace(!inBrackets);
            Value rhs = parseUnary(inBrackets);
            v = addOrSubtract(v, rhs, op, opPos);
        }
        --depth_;
        return v;
    }

    using Signs = std::vector<std::pair<bool, size_t>>;  // (is '-', position)

    Signs readSigns(bool inBrackets) {
        Signs signs;
        while (!atEnd() && (peek() == '+' || peek() == '-')) {
            signs.emplace_back(peek() == '-', pos_);
            ++pos_;
            skipSpace(!inBrackets);
        }
        return signs;
    }

    static Value applySigns(Value v, const Signs& signs) {
        for (auto it = signs.rbegin(); it != signs.rend(); ++it)
            v = applySign(std::move(v), it->first, it->second);
        return v;
    }

    // Unary signs bind looser than '^', so -2^2 is -4.
    Value parseUnary(bool inBrackets) {
        Signs signs = readSigns(inBrackets);
        return applySigns(parsePower(inBrackets), signs);
    }

    Value parsePower(bool inBrackets) {
        Value base = parsePrimary(inBrackets);
        for (;;) {
            size_t save = pos_;
            skipSpace(!inBrackets);
            if (atEnd() || peek() != '^') {
                pos_ = save;
                break;
            }
            size_t opPos = pos_++;
            skipSpace(!inBrackets);
            Signs signs = readSigns(inBrackets);
            Value exponent = applySigns(parsePrimary(inBrackets), signs);
            base = power(base, exponent, opPos);
        }
        return base;
    }

    Value parsePrimary(bool inBrackets) {
        if (atEnd()) fail(pos_, "expected a value at the end of the input");
        char c = s_[pos_];
        if (isDigit(c) || (c == '.' && isDigit(peek(1)))) return parseNumber();
        if (c == '[') return parseMatrix();
        if (c == '{') return parseCell();
        if (c == '\'' || c == '"') return parseText();
        if (isAlpha(c)) return parseName(inBrackets);
        fail(pos_, "unexpected " + describe(pos_));
    }

    Value parseNumber() {
        size_t start = pos_;
        while (isDigit(peek())) ++pos_;
        // A '.' that starts an element-wise operator or a transpose is not
        // part of the number; those are reported as unexpected later.
        if (peek() == '.' && std::string_view("^*/\\'").find(peek(1)) == std::string_view::npos) {
            ++pos_;
            while (isDigit(peek())) ++pos_;
        }
        if ((peek() == 'e' || peek() == 'E') &&
            (isDigit(peek(1)) || ((peek(1) == '+' || peek(1) == '-') && isDigit(peek(2))))) {
            pos_ += 2;
            while (isDigit(peek())) ++pos_;
        }
        double value = toDouble(s_.substr(start, pos_ - start));
        bool imaginary = false;
        if ((peek() == 'i' || peek() == 'j') && !isNameChar(peek(1))) {
            ++pos_;
            imaginary = true;
        }
        if (!atEnd() && isNameChar(peek())) {
            if (peek() == 'e' || peek() == 'E')
                fail(pos_, "incomplete exponent in the number at " + at(start));
            fail(pos_, "unexpected " + describe(pos_) + " after the number at " + at(start));
        }
        return imaginary ? complexNumber({0.0, value}) : number(value);
    }

    Value parseText() {
        size_t open = pos_;
        char quote = s_[pos_++];
        std::string text;
        for (;;) {
            if (atEnd() || peek() == '\n')
                fail(pos_, std::string("expected a closing ") + quote + " for the text opened at " +
                               at(open));
            char c = s_[pos_++];
            if (c == quote) {
                if (peek() != quote || atEnd()) break;
                ++pos_;  // a doubled quote stands for one
            }
            text += c;
        }
        Value v;
        v.kind = Value::Kind::Char;
        v.cls = mxCHAR_CLASS;
        v.rows = text.empty() ? 0 : 1;
        v.cols = text.size();
        v.text = std::move(text);
        return v;
    }

    Value parseName(bool inBrackets) {
        size_t start = pos_;
        while (!atEnd() && isNameChar(peek())) ++pos_;
        std::string name(s_.substr(start, pos_ - start));
        if (equalsIgnoreCase(name, "nan")) return number(std::numeric_limits<double>::quiet_NaN());
        if (equalsIgnoreCase(name, "inf")) return number(std::numeric_limits<double>::infinity());
        if (name == "pi") return number(std::numbers::pi);
        if (name == "true") return number(1.0, mxLOGICAL_CLASS);
        if (name == "false") return number(0.0, mxLOGICAL_CLASS);
        std::optional<mxClassID> cls = castClass(name);
        if (!cls) fail(start, "unknown name '" + name + "'");

        // Inside brackets "int8 (1)" would be two elements, so no space there.
        if (!inBrackets) skipSpace(true);
        if (atEnd() || peek() != '(') fail(pos_, "expected '(' after '" + name + "'");
        size_t open = pos_++;
        skipSpace(true);
        if (!atEnd() && peek() == ')') fail(pos_, "expected a value inside " + name + "(...)");
        size_t argPos = pos_;
        Value arg = parseExpr(false);
        skipSpace(true);
        if (atEnd() || peek() != ')')
            fail(pos_, "expected ')' to close " + name + "( opened at " + at(open));
        ++pos_;
        return cast(std::move(arg), *cls, name, argPos);
    }

    // Elements of "[...]" or "{...}", one vector per non-empty row.
    Rows parseRows(char close, const std::string& what) {
        size_t open = pos_++;
        std::string unclosed =
            std::string("expected '") + close + "' to close the " + what + " opened at " + at(open);
        Rows rows(1);
        bool needSeparator = false;  // an element just ended
        bool commaPending = false;   // a ',' still waits for its element
        for (;;) {
            if (skipSpace(false)) needSeparator = false;
            if (atEnd()) fail(pos_, unclosed);
            char c = s_[pos_];
            if (c == close) {
                ++pos_;
                break;
            }
            if (c == ';' || c == '\n') {
                ++pos_;
                if (!rows.back().empty()) rows.emplace_back();
                needSeparator = commaPending = false;
                continue;
            }
            if (c == ',') {
                if (rows.back().empty() || commaPending) fail(pos_, "unexpected ','");
                ++pos_;
                commaPending = true;
                needSeparator = false;
                continue;
            }
            if (c == ']' || c == '}' || c == ')') fail(pos_, unclosed);
            if (needSeparator)
                fail(pos_,
                     "unexpected " + describe(pos_) + "; separate elements with ',' or a space");
            size_t elementPos = pos_;
            rows.back().push_back({parseExpr(true), elementPos});
            needSeparator = true;
            commaPending = false;
        }
        if (rows.back().empty()) rows.pop_back();
        return rows;
    }

    Value parseMatrix() {
        Rows rows = parseRows(']', "matrix");
        std::vector<Item> joined;
        for (auto& row : rows) {
            size_t rowPos = row.front().position;
            joined.push_back({horzcat(row), rowPos});
        }
        return vertcat(joined);
    }

    Value parseCell() {
        Rows rows = parseRows('}', "cell array");
        size_t cols = rows.empty() ? 0 : rows.front().size();
        for (size_t r = 1; r < rows.size(); ++r) {
            if (rows[r].size() != cols)
                fail(rows[r].front().position, "row " + std::to_string(r + 1) +
                                                   " of the cell array has " +
                                                   count(rows[r].size(), "element") +
                                                   " but row 1 has " + std::to_string(cols));
        }
        Value v;
        v.kind = Value::Kind::Cell;
        v.cls = mxCELL_CLASS;
        v.rows = rows.size();
        v.cols = cols;
        v.cell = host::makeCell(v.rows, v.cols);
        for (size_t r = 0; r < v.rows; ++r)
            for (size_t c = 0; c < cols; ++c)
                host::setCell(v.cell.get(), r + c * v.rows, toArray(std::move(rows[r][c].value)));
        return v;
    }

    // Text joins only with text; empty parts, '' or [], may sit beside either.
    static std::optional<Value> joinText(const std::vector<Item>& parts, bool vertical) {
        bool anyText = std::any_of(parts.begin(), parts.end(),
                                   [](const Item& p) { return p.value.kind == Value::Kind::Char; });
        if (!anyText) return std::nullopt;
        // Blame the first element whose kind differs from the first one.
        const Value::Kind* leading = nullptr;
        for (const Item& p : parts) {
            if (p.value.isEmpty()) continue;
            if (!leading) leading = &p.value.kind;
            if (p.value.kind != *leading)
                fail(p.position, "cannot mix text and numbers in a matrix");
        }
        if (leading && *leading != Value::Kind::Char) return std::nullopt;
        Value v;
        v.kind = Value::Kind::Char;
        v.cls = mxCHAR_CLASS;
        bool haveRow = false;
        for (const Item& p : parts) {
            if (p.value.isEmpty()) continue;
            if (vertical && haveRow)
                fail(p.position, "character arrays with more than one row are not supported");
            haveRow = true;
            v.text += p.value.text;
        }
        v.rows = v.text.empty() ? 0 : 1;
        v.cols = v.text.size();
        return v;
    }

    static void rejectCells(const std::vector<Item>& parts) {
        for (const Item& p : parts)
            if (p.value.kind == Value::Kind::Cell)
                fail(p.position, "a cell array cannot be an element of a matrix; use '{...}'");
    }

    static mxClassID partsClass(const std::vector<Item>& parts) {
        std::vector<const Value*> values;
        for (const Item& p : parts) values.push_back(&p.value);
        return concatClass(values);
    }

    static Value horzcat(std::vector<Item>& parts) {
        rejectCells(parts);
        if (parts.size() == 1) return std::move(parts.front().value);
        if (auto text = joinText(parts, false)) return std::move(*text);
        Value v;
        v.complex =
            std::any_of(parts.begin(), parts.end(), [](const Item& p) { return p.value.complex; });
        bool shaped = false;
        for (const Item& p : parts) {
            const Value& x = p.value;
            if (x.isEmpty()) continue;
            if (shaped && x.rows != v.rows)
                fail(p.position, "this element has " + count(x.rows, "row") +
                                     " but the ones before it have " + std::to_string(v.rows));
            v.rows = x.rows;
            shaped = true;
            v.cols += x.cols;
            // Column-major: placing blocks side by side appends their storage.
            v.re.insert(v.re.end(), x.re.begin(), x.re.end());
            if (v.complex) {
                if (x.complex)
                    v.im.insert(v.im.end(), x.im.begin(), x.im.end());
                else
                    v.im.resize(v.re.size(), 0.0);
            }
        }
        convert(v, partsClass(parts));
        return v;
    }

    static Value vertcat(std::vector<Item>& rows) {
        if (rows.empty()) return Value{};
        if (rows.size() == 1) return std::move(rows.front().value);
        if (auto text = joinText(rows, true)) return std::move(*text);
        Value v;
        v.complex =
            std::any_of(rows.begin(), rows.end(), [](const Item& p) { return p.value.complex; });
        size_t firstRow = 0;
        std::vector<const Value*> blocks;
        for (size_t i = 0; i < rows.size(); ++i) {
            const Value& x = rows[i].value;
            if (x.isEmpty()) continue;
            if (blocks.empty()) {
                firstRow = i;
                v.cols = x.cols;
            } else if (x.cols != v.cols) {
                fail(rows[i].position, "row " + std::to_string(i + 1) + " has " +
                                           count(x.cols, "column") + " but row " +
                                           std::to_string(firstRow + 1) + " has " +
                                           std::to_string(v.cols));
            }
            v.rows += x.rows;
            blocks.push_back(&x);
        }
        v.re.reserve(v.rows * v.cols);
        for (size_t c = 0; c < v.cols; ++c) {
            for (const Value* b : blocks) {
                for (size_t r = 0; r < b->rows; ++r) {
                    v.re.push_back(b->re[r + c * b->rows]);
                    if (v.complex) v.im.push_back(b->imagAt(r + c * b->rows));
                }
            }
        }
        convert(v, partsClass(rows));
        return v;
    }
};

}  // namespace

ArrayPtr parseLiteral(std::string_view text, LiteralError* error) {
    try {
        Parser parser(text);
        return toArray(parser.parseAll());
    } catch (const Failure& f) {
        if (error) *error = {f.position, f.message};
        return nullptr;
    }
}

}  // namespace zevk::cli
