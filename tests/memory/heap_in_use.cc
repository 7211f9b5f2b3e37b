// bytes = heap_in_use ()
// The bytes of this process's heap held by live allocations, for the test
// that a module gives back what it takes. A test fixture, not a module.
#include "mex.h"

#include <malloc.h>

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray*[])
{
    if (nrhs != 0 || nlhs > 1)
        mexErrMsgTxt("Usage: bytes = heap_in_use ()");
    plhs[0] = mxCreateDoubleScalar(static_cast<double>(mallinfo2().uordblks));
}
