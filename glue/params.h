// Reading dialog parameters by value, whatever numeric class the caller
// passed, and never past the end of the array.
#pragma once

#include <stddef.h>

#include "glue/mex.h"
#include "glue/numeric.h"
#include "glue/simstruct.h"

struct ParamView {
    const mxArray* array = nullptr;
    size_t count = 0;  // readable elements; 0 for arrays without numeric data

    // Element k as a real, or `missing` when the array has no element k.
    double at(size_t k, double missing = 0.0) const;
    double first(double missing = 0.0) const { return at(0, missing); }
    int32_t intAt(size_t k, int32_t missing = 0) const;
    bool empty() const { return count == 0; }
};

// The array's elements as numbers. Character, logical and every numeric
// class are read by value; cell, struct, sparse and other arrays have no
// readable elements.
ParamView viewArray(const mxArray* a);
ParamView viewParam(SimStruct* S, int index);
