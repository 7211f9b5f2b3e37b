// paste_mt(Y, [r1 r2], [c1 c2], S, n): S written into rows r1..r2 and columns
// c1..c2 of Y, in Y's own storage.
#include "gateway.h"
#include "guarded_call.h"
#include "paste.h"
#include "to_int.h"

#include <algorithm>
#include <cstdint>

using namespace velk;

extern "C" void mexFunction(int nlhs, mxArray*[], int nrhs, const mxArray* prhs[])
{
    if (nrhs != 5)
        mexErrMsgTxt("paste_mt requires 5 input arguments!");
    if (nlhs > 0)
        mexErrMsgTxt("Too many output arguments for paste_mt, none required!");

    require_real_double(prhs[0], 1);
    if (!fits_int(dims(prhs[0])))
        mexErrMsgTxt("Argument 1 must have at most 2147483647 rows and columns!");
    const int M1 = static_cast<int>(mxGetM(prhs[0]));
    const int N1 = static_cast<int>(mxGetN(prhs[0]));
    require_real_double(prhs[3], 4);
    if (!fits_int(dims(prhs[3])))
        mexErrMsgTxt("Argument 4 must have at most 2147483647 rows and columns!");
    const int M4 = static_cast<int>(mxGetM(prhs[3]));
    const int N4 = static_cast<int>(mxGetN(prhs[3]));

    if (dims(prhs[1]).count() != 2)
        mexErrMsgTxt("Argument 2 must be a 2 element vector!");
    require_real_double(prhs[1], 2);
    const double r1 = mxGetPr(prhs[1])[0];
    const double r2 = mxGetPr(prhs[1])[1];
    if (trunc_to_int(r1) < 1 || trunc_to_int(r2) < 1)
        mexErrMsgTxt("Argument 2 must hold row numbers of at least 1!");
    if (trunc_to_int(r1) > M1 || trunc_to_int(r2) > M1)
        mexErrMsgTxt("One element of argument 2 exceeds row dimension of arg 1!");

    if (dims(prhs[2]).count() != 2)
        mexErrMsgTxt("Argument 3 must be a 2 element vector!");
    require_real_double(prhs[2], 3);
    const double c1 = mxGetPr(prhs[2])[0];
    const double c2 = mxGetPr(prhs[2])[1];
    if (trunc_to_int(c1) < 1 || trunc_to_int(c2) < 1)
        mexErrMsgTxt("Argument 3 must hold column numbers of at least 1!");
    if (trunc_to_int(c1) > N1 || trunc_to_int(c2) > N1)
        mexErrMsgTxt("One element of argument 3 exceeds colomn dimension of arg 1!");

    // One row count serves the checks and the copy, so the copy can never take
    // more rows than were checked. The block is also checked against Y as it
    // will be written: r2 - r1 + 1 may round up to the next whole row.
    const int row0 = trunc_to_int(r1 - 1);
    const int col0 = trunc_to_int(c1 - 1);
    const int nrows = trunc_to_int(r2 - r1 + 1);
    if (nrows < 0)
        mexErrMsgTxt("Argument 2 must not give a negative number of rows!");
    if (std::int64_t{row0} + nrows > M1)
        mexErrMsgTxt("One element of argument 2 exceeds row dimension of arg 1!");
    if (M4 < nrows)
        mexErrMsgTxt("Argument 4 has not the number of rows as given by arg 2!");
    if (trunc_to_int(c2 - c1) + 1 != N4)
        mexErrMsgTxt("Argument 4 has not the number of columns as given by arg 3!");
    if (std::int64_t{col0} + N4 > N1)
        mexErrMsgTxt("One element of argument 3 exceeds colomn dimension of arg 1!");

    if (!is_scalar(dims(prhs[4])))
        mexErrMsgTxt("Argument 5 must be a scalar!");
    require_real_double(prhs[4], 5);
    const int n = scalar_int(prhs[4]);
    if (n < 1)
        mexErrMsgTxt("Argument 5 must be larger or equal to 1 (min number of CPUs)!");
    const int T = std::min(n, N4);

    Host_console console;
    const Paste_job job{mxGetPr(prhs[0]), M1, N1, mxGetPr(prhs[3]), M4, N4, row0, col0, nrows};
    end_guarded_call(paste_mt_run(job, T, console));
}
