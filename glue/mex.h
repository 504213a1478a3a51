// The MEX operations a deliverable imports from whichever host loads it.
// Only declarations live here: the symbols are resolved at load time.
#pragma once

#include <stddef.h>
#include <stdint.h>

typedef struct mxArray_tag mxArray;

typedef enum {
    mxUNKNOWN_CLASS = 0,
    mxCELL_CLASS,
    mxSTRUCT_CLASS,
    mxLOGICAL_CLASS,
    mxCHAR_CLASS,
    mxVOID_CLASS,
    mxDOUBLE_CLASS,
    mxSINGLE_CLASS,
    mxINT8_CLASS,
    mxUINT8_CLASS,
    mxINT16_CLASS,
    mxUINT16_CLASS,
    mxINT32_CLASS,
    mxUINT32_CLASS,
    mxINT64_CLASS,
    mxUINT64_CLASS,
    mxFUNCTION_CLASS
} mxClassID;

typedef enum { mxREAL = 0, mxCOMPLEX = 1 } mxComplexity;

// On Windows a deliverable imports them from libmx.dll and libmex.dll; the
// host library that defines them builds with ZEVK_MEX_PROVIDER.
#if defined(_WIN32) && !defined(ZEVK_MEX_PROVIDER)
#define ZEVK_MEX_IMPORT __declspec(dllimport)
#else
#define ZEVK_MEX_IMPORT
#endif

extern "C" {
ZEVK_MEX_IMPORT double* mxGetPr(const mxArray*);
ZEVK_MEX_IMPORT void* mxGetData(const mxArray*);
ZEVK_MEX_IMPORT double mxGetScalar(const mxArray*);
ZEVK_MEX_IMPORT size_t mxGetNumberOfElements(const mxArray*);
ZEVK_MEX_IMPORT size_t mxGetM(const mxArray*);
ZEVK_MEX_IMPORT size_t mxGetN(const mxArray*);
ZEVK_MEX_IMPORT bool mxIsComplex(const mxArray*);
ZEVK_MEX_IMPORT bool mxIsNumeric(const mxArray*);
ZEVK_MEX_IMPORT bool mxIsSparse(const mxArray*);
ZEVK_MEX_IMPORT mxClassID mxGetClassID(const mxArray*);
ZEVK_MEX_IMPORT size_t mxGetElementSize(const mxArray*);
ZEVK_MEX_IMPORT mxArray* mxGetCell(const mxArray*, size_t index);
ZEVK_MEX_IMPORT int mxGetString(const mxArray*, char* buf, size_t buflen);
ZEVK_MEX_IMPORT void* mxCalloc(size_t n, size_t size);
ZEVK_MEX_IMPORT void mxFree(void* ptr);
ZEVK_MEX_IMPORT mxArray* mxCreateDoubleMatrix(size_t m, size_t n, mxComplexity flag);
ZEVK_MEX_IMPORT void mexErrMsgTxt(const char* msg);
ZEVK_MEX_IMPORT void mexErrMsgIdAndTxt(const char* id, const char* fmt, ...);
ZEVK_MEX_IMPORT int mexPrintf(const char* fmt, ...);
}
