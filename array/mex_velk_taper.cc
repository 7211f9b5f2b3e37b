// The velk_taper module for Octave and MATLAB.
#include "velk_taper_gateway.h"
#include "mex_call.h"

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    velk::mex_call(velk::velk_taper_gateway, nlhs, plhs, nrhs, prhs);
}
