#include "host/mxarray.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <sstream>

mxArray_tag::~mxArray_tag() {
    for (auto* c : cells) delete c;
}

namespace zevk::host {

size_t classElementSize(mxClassID id) {
    switch (id) {
        case mxLOGICAL_CLASS:
        case mxINT8_CLASS:
        case mxUINT8_CLASS: return 1;
        case mxCHAR_CLASS:
        case mxINT16_CLASS:
        case mxUINT16_CLASS: return 2;
        case mxSINGLE_CLASS:
        case mxINT32_CLASS:
        case mxUINT32_CLASS: return 4;
        case mxDOUBLE_CLASS:
        case mxINT64_CLASS:
        case mxUINT64_CLASS: return 8;
        default: return 0;
    }
}

const char* className(mxClassID id) {
    switch (id) {
        case mxCELL_CLASS: return "cell";
        case mxSTRUCT_CLASS: return "struct";
        case mxLOGICAL_CLASS: return "logical";
        case mxCHAR_CLASS: return "char";
        case mxDOUBLE_CLASS: return "double";
        case mxSINGLE_CLASS: return "single";
        case mxINT8_CLASS: return "int8";
        case mxUINT8_CLASS: return "uint8";
        case mxINT16_CLASS: return "int16";
        case mxUINT16_CLASS: return "uint16";
        case mxINT32_CLASS: return "int32";
        case mxUINT32_CLASS: return "uint32";
        case mxINT64_CLASS: return "int64";
        case mxUINT64_CLASS: return "uint64";
        case mxFUNCTION_CLASS: return "function_handle";
        default: return "unknown";
    }
}

bool isNumericClass(mxClassID id) {
    return id >= mxDOUBLE_CLASS && id <= mxUINT64_CLASS;
}

size_t numel(const mxArray* a) {
    if (!a) return 0;
    size_t n = 1;
    for (size_t d : a->dims) n *= d;
    return n;
}

ArrayPtr makeArray(mxClassID id, std::vector<size_t> dims, bool complex) {
    ArrayPtr a(new mxArray_tag);
    while (dims.size() < 2) dims.push_back(dims.empty() ? 0 : 1);
    a->classId = id;
    a->dims = std::move(dims);
    a->complex = complex && isNumericClass(id);
    a->elementSize = classElementSize(id);
    size_t n = numel(a.get());
    if (id == mxCELL_CLASS) {
        a->cells.assign(n, nullptr);
    } else {
        a->re.assign(n * a->elementSize, 0);
        if (a->complex) a->im.assign(n * a->elementSize, 0);
    }
    return a;
}

ArrayPtr makeDouble(std::vector<double> values, size_t rows) {
    if (values.empty()) return makeArray(mxDOUBLE_CLASS, {0, 0});
    if (rows == 0 || values.size() % rows != 0) rows = 1;
    auto a = makeArray(mxDOUBLE_CLASS, {rows, values.size() / rows});
    std::memcpy(a->re.data(), values.data(), values.size() * sizeof(double));
    return a;
}

ArrayPtr makeScalar(double v) { return makeDouble({v}); }

ArrayPtr makeEmpty() { return makeArray(mxDOUBLE_CLASS, {0, 0}); }

ArrayPtr makeChar(std::string_view text) {
    auto a = makeArray(mxCHAR_CLASS, {text.empty() ? 0u : 1u, text.size()});
    for (size_t i = 0; i < text.size(); ++i) {
        uint16_t c = static_cast<unsigned char>(text[i]);
        std::memcpy(a->re.data() + 2 * i, &c, 2);
    }
    return a;
}

ArrayPtr makeCell(size_t rows, size_t cols) { return makeArray(mxCELL_CLASS, {rows, cols}); }

ArrayPtr makeStruct() { return makeArray(mxSTRUCT_CLASS, {1, 1}); }

void setCell(mxArray* cell, size_t index, ArrayPtr element) {
    if (!cell || cell->classId != mxCELL_CLASS || index >= cell->cells.size()) return;
    delete cell->cells[index];
    cell->cells[index] = element.release();
}

ArrayPtr clone(const mxArray* a) {
    if (!a) return nullptr;
    ArrayPtr c(new mxArray_tag);
    c->classId = a->classId;
    c->dims = a->dims;
    c->complex = a->complex;
    c->sparse = a->sparse;
    c->elementSize = a->elementSize;
    c->re = a->re;
    c->im = a->im;
    for (auto* e : a->cells) c->cells.push_back(e ? clone(e).release() : nullptr);
    return c;
}

namespace {

template <typename T>
T castToInteger(double v) {
    if (std::isnan(v)) return 0;
    double r = std::round(v);
    if (r <= static_cast<double>(std::numeric_limits<T>::min())) return std::numeric_limits<T>::min();
    if (r >= static_cast<double>(std::numeric_limits<T>::max())) return std::numeric_limits<T>::max();
    return static_cast<T>(r);
}

template <typename T>
void store(std::vector<unsigned char>& bytes, size_t i, T v) {
    std::memcpy(bytes.data() + i * sizeof(T), &v, sizeof(T));
}

template <typename T>
T load(const std::vector<unsigned char>& bytes, size_t i) {
    T v;
    std::memcpy(&v, bytes.data() + i * sizeof(T), sizeof(T));
    return v;
}

void storeAs(mxClassID id, std::vector<unsigned char>& bytes, size_t i, double v) {
    switch (id) {
        case mxDOUBLE_CLASS: store<double>(bytes, i, v); break;
        case mxSINGLE_CLASS: store<float>(bytes, i, static_cast<float>(v)); break;
        case mxLOGICAL_CLASS: store<uint8_t>(bytes, i, v != 0 && !std::isnan(v)); break;
        case mxCHAR_CLASS: store<uint16_t>(bytes, i, castToInteger<uint16_t>(v)); break;
        case mxINT8_CLASS: store<int8_t>(bytes, i, castToInteger<int8_t>(v)); break;
        case mxUINT8_CLASS: store<uint8_t>(bytes, i, castToInteger<uint8_t>(v)); break;
        case mxINT16_CLASS: store<int16_t>(bytes, i, castToInteger<int16_t>(v)); break;
        case mxUINT16_CLASS: store<uint16_t>(bytes, i, castToInteger<uint16_t>(v)); break;
        case mxINT32_CLASS: store<int32_t>(bytes, i, castToInteger<int32_t>(v)); break;
        case mxUINT32_CLASS: store<uint32_t>(bytes, i, castToInteger<uint32_t>(v)); break;
        case mxINT64_CLASS: store<int64_t>(bytes, i, castToInteger<int64_t>(v)); break;
        case mxUINT64_CLASS: store<uint64_t>(bytes, i, castToInteger<uint64_t>(v)); break;
        default: break;
    }
}

double loadAs(mxClassID id, const std::vector<unsigned char>& bytes, size_t i) {
    switch (id) {
        case mxDOUBLE_CLASS: return load<double>(bytes, i);
        case mxSINGLE_CLASS: return load<float>(bytes, i);
        case mxLOGICAL_CLASS: return load<uint8_t>(bytes, i);
        case mxCHAR_CLASS: return load<uint16_t>(bytes, i);
        case mxINT8_CLASS: return load<int8_t>(bytes, i);
        case mxUINT8_CLASS: return load<uint8_t>(bytes, i);
        case mxINT16_CLASS: return load<int16_t>(bytes, i);
        case mxUINT16_CLASS: return load<uint16_t>(bytes, i);
        case mxINT32_CLASS: return load<int32_t>(bytes, i);
        case mxUINT32_CLASS: return load<uint32_t>(bytes, i);
        case mxINT64_CLASS: return static_cast<double>(load<int64_t>(bytes, i));
        case mxUINT64_CLASS: return static_cast<double>(load<uint64_t>(bytes, i));
        default: return 0.0;
    }
}

std::string number(double v) {
    if (std::isnan(v)) return "NaN";
    if (std::isinf(v)) return v > 0 ? "Inf" : "-Inf";
    std::ostringstream s;
    s.precision(17);
    s << v;
    return s.str();
}

}  // namespace

void setElement(mxArray* a, size_t i, double re, double im) {
    if (!a || a->elementSize == 0 || i >= numel(a)) return;
    storeAs(a->classId, a->re, i, re);
    if (a->complex) storeAs(a->classId, a->im, i, im);
}

double getElement(const mxArray* a, size_t i, bool imag) {
    if (!a || a->elementSize == 0 || i >= numel(a)) return 0.0;
    if (imag) return a->complex ? loadAs(a->classId, a->im, i) : 0.0;
    return loadAs(a->classId, a->re, i);
}

std::string toLiteral(const mxArray* a) {
    if (!a) return "<none>";
    std::ostringstream out;
    size_t n = numel(a);
    if (a->classId == mxCHAR_CLASS) {
        out << '\'';
        for (size_t i = 0; i < n; ++i) {
            char c = static_cast<char>(getElement(a, i));
            out << c;
            if (c == '\'') out << '\'';
        }
        out << '\'';
        return out.str();
    }
    if (a->classId == mxCELL_CLASS) {
        out << '{';
        for (size_t i = 0; i < n; ++i) out << (i ? ", " : "") << toLiteral(a->cells[i]);
        out << '}';
        return out.str();
    }
    if (a->classId == mxSTRUCT_CLASS) return "struct()";
    const size_t rows = a->dims[0];
    const size_t cols = rows ? n / rows : 0;
    auto element = [&](size_t i) {
        std::string s = number(getElement(a, i));
        if (a->complex) {
            double im = getElement(a, i, true);
            s += (im < 0 || (im == 0 && std::signbit(im))) ? "-" : "+";
            s += number(std::fabs(im)) + "i";
        }
        return s;
    };
    std::string body;
    if (n == 1 && a->dims.size() == 2) {
        body = element(0);
    } else {
        body = "[";
        for (size_t r = 0; r < rows; ++r) {
            if (r) body += "; ";
            for (size_t c = 0; c < cols; ++c) body += (c ? " " : "") + element(r + c * rows);
        }
        body += "]";
    }
    if (a->classId == mxDOUBLE_CLASS) return body;
    return std::string(className(a->classId)) + "(" + body + ")";
}

}  // namespace zevk::host
