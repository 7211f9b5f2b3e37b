// Y = fold_mt(A, B, n)            the convolution of every column of A
// fold_mt(A, B, n, Y)             written into Y with the current mode
// fold_mt(A, B, n, Y, mode)       after setting the mode: "=", "+=" or "-="
#include "fold.h"
#include "gateway.h"
#include "guarded_call.h"

#include <algorithm>
#include <climits>
#include <cstdint>

using namespace velk;

namespace {
// Kept from one call to the next, as the in-place forms promise.
int mode = fold_assign;
}  // namespace

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    switch (nrhs) {
    case 3:
        if (nlhs > 1)
            mexErrMsgTxt("Too many output arguments for fold_mt!");
        break;
    case 5:
        // The mode is set first, so a call that fails a later check has
        // still changed it. A fifth argument that is not text leaves it.
        switch (match_keyword(prhs[4], {"=", "+=", "-="})) {
        case 0: mode = fold_assign; break;
        case 1: mode = fold_add; break;
        case 2: mode = fold_subtract; break;
        case no_keyword: mexErrMsgTxt("Non-valid string in arg 5!");
        default: break;
        }
        [[fallthrough]];
    case 4:
        if (nlhs > 0)
            mexErrMsgTxt("No output arguments required for fold_mt in in-place operating mode!");
        if (mxIsChar(prhs[3]))
            mexErrMsgTxt("Arg 4 must be a matrix (not a string)");
        break;
    default:
        mexErrMsgTxt("fold_mt requires 3 to 5 input arguments!");
    }

    require_real_double(prhs[0], 1);
    if (!fits_int(dims(prhs[0])))
        mexErrMsgTxt("Argument 1 must have at most 2147483647 rows and columns!");
    const int M = static_cast<int>(mxGetM(prhs[0]));
    const int N = static_cast<int>(mxGetN(prhs[0]));
    require_real_double(prhs[1], 2);
    if (!fits_int(dims(prhs[1])))
        mexErrMsgTxt("Argument 2 must have at most 2147483647 rows and columns!");
    int K = static_cast<int>(mxGetM(prhs[1]));
    int L = static_cast<int>(mxGetN(prhs[1]));

    // A single row is always one filter, also when its length equals N.
    if (K == 1) {
        K = L;
        L = 1;
    } else if (L != 1 && L != N) {
        mexErrMsgTxt("Argument 2 must be a vector or have as many columns as argument 1!");
    }
    // The result's columns, M + K - 1 samples, are counted in int too; -1
    // when there are neither samples nor taps. K - 1 first: M + K may not fit.
    if (std::int64_t{M} + K - 1 > INT_MAX)
        mexErrMsgTxt("Argument 2 makes the result's columns longer than 2147483647 samples!");
    const int column_length = M + (K - 1);

    if (!is_scalar(dims(prhs[2])))
        mexErrMsgTxt("Argument 3 must be a scalar!");
    require_real_double(prhs[2], 3);
    const int n = scalar_int(prhs[2]);
    if (n < 1)
        mexErrMsgTxt("Argument 3 must be larger or equal to 1 (min number of CPUs)!");
    const int T = std::min(n, N);

    const bool in_place = nrhs > 3;
    double* Y;
    if (!in_place) {
        // With no samples and no filter taps the result has no rows rather than -1.
        Y = create_result(plhs[0], std::max(column_length, 0), N);
    } else {
        require_real_double(prhs[3], 4);
        if (column_length < 0 || mxGetM(prhs[3]) != static_cast<std::size_t>(column_length))
            mexErrMsgTxt("Wrong number of rows in argument 4!");
        if (mxGetN(prhs[3]) != static_cast<std::size_t>(N))
            mexErrMsgTxt("Wrong number of columns in argument 4!");
        Y = mxGetPr(prhs[3]);
    }

    Host_console console;
    const Fold_job job{mxGetPr(prhs[0]), M, N, mxGetPr(prhs[1]), K, L, Y, in_place, mode};
    end_guarded_call(fold_mt_run(job, T, console));
}
