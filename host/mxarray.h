// MATLAB arrays as the host of our own keeps them. The deliverables reach
// them only through the MEX functions (glue/mex.h); the host, the tool and
// the tests build and inspect them with the helpers below.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "glue/mex.h"

struct mxArray_tag {
    mxClassID classId = mxDOUBLE_CLASS;
    std::vector<size_t> dims{0, 0};  // at least two
    bool complex = false;
    bool sparse = false;
    size_t elementSize = sizeof(double);
    std::vector<unsigned char> re;  // numel * elementSize bytes
    std::vector<unsigned char> im;  // same, complex arrays only
    std::vector<mxArray_tag*> cells;  // cell arrays; nullptr = never assigned
    ~mxArray_tag();
};

namespace zevk::host {

struct ArrayDeleter {
    void operator()(mxArray* a) const { delete a; }
};
using ArrayPtr = std::unique_ptr<mxArray, ArrayDeleter>;

size_t classElementSize(mxClassID id);
const char* className(mxClassID id);
bool isNumericClass(mxClassID id);

// A zeroed array of the given class and shape.
ArrayPtr makeArray(mxClassID id, std::vector<size_t> dims, bool complex = false);
ArrayPtr makeDouble(std::vector<double> values, size_t rows = 1);  // rows x (n/rows)
ArrayPtr makeScalar(double v);
ArrayPtr makeEmpty();
ArrayPtr makeChar(std::string_view text);  // 1 x n
ArrayPtr makeCell(size_t rows, size_t cols);
ArrayPtr makeStruct();  // a 1x1 struct with no fields
void setCell(mxArray* cell, size_t index, ArrayPtr element);
ArrayPtr clone(const mxArray* a);

size_t numel(const mxArray* a);
// Stores v (and im) into element i, converted as MATLAB's cast does:
// rounded to nearest, saturated, NaN to 0 for the integer classes.
void setElement(mxArray* a, size_t i, double re, double im = 0.0);
double getElement(const mxArray* a, size_t i, bool imag = false);

// The array written back as a MATLAB literal, for messages and reports.
std::string toLiteral(const mxArray* a);

}  // namespace zevk::host
