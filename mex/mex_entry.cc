// The entry point of one module for Octave and MATLAB, compiled once per
// module of modules.def with VELK_GATEWAY defined as its gateway's name.
#include "mex_call.h"
#include "modules.h"

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    velk::mex_call(velk::VELK_GATEWAY, nlhs, plhs, nrhs, prhs);
}
