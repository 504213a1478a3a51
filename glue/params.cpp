#include "glue/params.h"

#include "glue/ssops.h"

namespace {

template <typename T>
double load(const void* data, size_t k) {
    return static_cast<double>(static_cast<const T*>(data)[k]);
}

}  // namespace

double ParamView::at(size_t k, double missing) const {
    if (k >= count || !array) return missing;
    const mxClassID id = mxGetClassID(array);
    if (id == mxDOUBLE_CLASS) {
        const double* pr = mxGetPr(array);
        return pr ? pr[k] : missing;
    }
    const void* data = mxGetData(array);
    if (!data) return missing;
    switch (id) {
        case mxSINGLE_CLASS: return load<float>(data, k);
        case mxLOGICAL_CLASS: return load<unsigned char>(data, k);
        // Two bytes a character in MATLAB, one in GNU Octave.
        case mxCHAR_CLASS:
            return mxGetElementSize(array) == 1 ? load<unsigned char>(data, k) : load<unsigned short>(data, k);
        case mxINT8_CLASS: return load<signed char>(data, k);
        case mxUINT8_CLASS: return load<unsigned char>(data, k);
        case mxINT16_CLASS: return load<short>(data, k);
        case mxUINT16_CLASS: return load<unsigned short>(data, k);
        case mxINT32_CLASS: return load<int32_t>(data, k);
        case mxUINT32_CLASS: return load<uint32_t>(data, k);
        case mxINT64_CLASS: return load<int64_t>(data, k);
        case mxUINT64_CLASS: return load<uint64_t>(data, k);
        default: return missing;
    }
}

int32_t ParamView::intAt(size_t k, int32_t missing) const {
    if (k >= count) return missing;
    return truncToInt32(at(k));
}

ParamView viewArray(const mxArray* a) {
    ParamView v;
    if (!a || mxIsSparse(a)) return v;
    switch (mxGetClassID(a)) {
        case mxDOUBLE_CLASS:
        case mxSINGLE_CLASS:
        case mxLOGICAL_CLASS:
        case mxCHAR_CLASS:
        case mxINT8_CLASS:
        case mxUINT8_CLASS:
        case mxINT16_CLASS:
        case mxUINT16_CLASS:
        case mxINT32_CLASS:
        case mxUINT32_CLASS:
        case mxINT64_CLASS:
        case mxUINT64_CLASS: break;
        default: return v;
    }
    v.array = a;
    v.count = mxGetNumberOfElements(a);
    return v;
}

ParamView viewParam(SimStruct* S, int index) { return viewArray(ssGetSFcnParam(S, index)); }
