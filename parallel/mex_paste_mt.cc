// The paste_mt module for Octave and MATLAB.
#include "paste_mt_gateway.h"
#include "mex_call.h"

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    velk::mex_call(velk::paste_mt_gateway, nlhs, plhs, nrhs, prhs);
}
