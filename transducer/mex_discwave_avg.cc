// The discwave_avg module for Octave and MATLAB.
#include "discwave_avg_gateway.h"
#include "mex_call.h"

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    velk::mex_call(velk::discwave_avg_gateway, nlhs, plhs, nrhs, prhs);
}
