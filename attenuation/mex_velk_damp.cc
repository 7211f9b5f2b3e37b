// The velk_damp module for Octave and MATLAB.
#include "velk_damp_gateway.h"
#include "mex_call.h"

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    velk::mex_call(velk::velk_damp_gateway, nlhs, plhs, nrhs, prhs);
}
