// The lagsum module for Octave and MATLAB.
#include "lagsum_gateway.h"
#include "mex_call.h"

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    velk::mex_call(velk::lagsum_gateway, nlhs, plhs, nrhs, prhs);
}
